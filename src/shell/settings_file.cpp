#include "settings_file.h"

#include <unistd.h>

#include <cstdlib>

#include "document/cp932.h"
#include "document/number_text.h"

namespace qf {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

IniFile IniFile::Read(const std::filesystem::path& path) {
  IniFile ini;
  std::string bytes;
  if (!ReadWholeFile(path, bytes, size_t{16} << 20).ok()) return ini;
  std::string text;
  if (bytes.rfind(kUtf8Bom, 0) == 0) {
    text = bytes.substr(kUtf8Bom.size());
  } else if (!Cp932ToUtf8(bytes, text).ok) {
    text = bytes;  // not CP932: take it as it stands rather than lose the settings
  }
  Section* current = nullptr;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line = TrimBlanks(std::string_view(text).substr(pos, end - pos));
    if (!line.empty() && line.back() == '\r') line = TrimBlanks(line.substr(0, line.size() - 1));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      const std::string name(TrimBlanks(line.substr(1, line.size() - 2)));
      current = ini.find(name);
      if (!current) {
        ini.sections_.push_back({name, {}});
        current = &ini.sections_.back();
      }
      continue;
    }
    const size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    const std::string key(TrimBlanks(line.substr(0, eq)));
    const std::string value(TrimBlanks(line.substr(eq + 1)));
    bool replaced = false;
    for (Entry& e : current->entries) {
      if (SameName(e.key, key)) {
        e.value = value;
        replaced = true;
        break;
      }
    }
    if (!replaced) current->entries.push_back({key, value});
  }
  return ini;
}

IniFile::Section* IniFile::find(std::string_view name) {
  for (Section& s : sections_) {
    if (SameName(s.name, name)) return &s;
  }
  return nullptr;
}

const IniFile::Section* IniFile::find(std::string_view name) const {
  for (const Section& s : sections_) {
    if (SameName(s.name, name)) return &s;
  }
  return nullptr;
}

std::string IniFile::value(std::string_view section, std::string_view key,
                           std::string_view fallback) const {
  if (const Section* s = find(section)) {
    for (const Entry& e : s->entries) {
      if (SameName(e.key, key)) return e.value;
    }
  }
  return std::string(TrimBlanks(fallback));
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = find(section);
  if (!s) {
    sections_.push_back({std::string(section), {}});
    s = &sections_.back();
  }
  const std::string trimmed(TrimBlanks(value));
  for (Entry& e : s->entries) {
    if (SameName(e.key, key)) {
      e.value = trimmed;
      return;
    }
  }
  s->entries.push_back({std::string(key), trimmed});
}

std::string IniFile::bytes() const {
  std::string text;
  for (const Section& s : sections_) {
    text += "[" + s.name + "]\r\n";
    for (const Entry& e : s.entries) text += e.key + "=" + e.value + "\r\n";
  }
  std::string encoded;
  if (Utf8ToCp932(text, encoded).ok) return encoded;
  return std::string(kUtf8Bom) + text;
}

FileStatus IniFile::write(const std::filesystem::path& path) const {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  return WriteFileAtomically(path, bytes());
}

void LoadSettings(const std::filesystem::path& path, AppState& state) {
  std::error_code ec;
  state.firstStart = !std::filesystem::exists(path, ec);
  const IniFile ini = IniFile::Read(path);
  auto flag = [&](std::string_view key, std::string_view fallback) {
    return NumericPrefix(ini.value("Setting", key, fallback)) != 0;
  };
  state.autoRedraw = flag("AutoRedraw", "0");
  state.subMake = flag("SubMake", "-1");
  state.relation = flag("Relation", "0");
  for (int i = 0; i < kWindowsStored; ++i) {
    const std::string n = std::to_string(i);
    WindowRect& w = state.windows[static_cast<size_t>(i)];
    w.left = NumericPrefix(ini.value("WINDOW", "X" + n, "0"));
    w.top = NumericPrefix(ini.value("WINDOW", "Y" + n, "0"));
    w.width = NumericPrefix(ini.value("WINDOW", "W" + n, "1000"));
    w.height = NumericPrefix(ini.value("WINDOW", "H" + n, "1000"));
  }
  for (size_t i = 0; i < state.recentFiles.size(); ++i) {
    state.recentFiles[i] = ini.value("FILES", std::to_string(i), "");
  }
}

FileStatus SaveSettings(const std::filesystem::path& path, const AppState& state) {
  IniFile ini;
  ini.set("Setting", "AutoRedraw", state.autoRedraw ? "-1" : "0");
  ini.set("Setting", "SubMake", state.subMake ? "-1" : "0");
  ini.set("Setting", "Relation", state.relation ? "-1" : "0");
  for (int i = 0; i < kWindowsStored; ++i) {
    const std::string n = std::to_string(i);
    const WindowRect& w = state.windows[static_cast<size_t>(i)];
    ini.set("WINDOW", "X" + n, FormatDouble(w.left));
    ini.set("WINDOW", "Y" + n, FormatDouble(w.top));
    ini.set("WINDOW", "W" + n, FormatDouble(w.width));
    ini.set("WINDOW", "H" + n, FormatDouble(w.height));
  }
  for (size_t i = 0; i < state.recentFiles.size(); ++i) {
    ini.set("FILES", std::to_string(i), state.recentFiles[i]);
  }
  return ini.write(path);
}

std::filesystem::path SettingsPath(const std::filesystem::path& appFolder) {
  if (!appFolder.empty() && ::access(appFolder.c_str(), W_OK) == 0) return appFolder / "QF2.INI";
  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    config = std::filesystem::path(home) / ".config";
  } else {
    config = std::filesystem::temp_directory_path();
  }
  return config / "quillform" / "QF2.INI";
}

}  // namespace qf
