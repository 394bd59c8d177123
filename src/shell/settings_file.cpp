#include "settings_file.h"

#include <unistd.h>

#include <cstdlib>

#include "document/ascii_case.h"
#include "document/cp932.h"
#include "document/number_text.h"
#include "shell/app_paths.h"

namespace qf {

namespace {

// Windows the window table of the file has no place for, each in a section of its own.
constexpr std::pair<size_t, const char*> kOwnSections[] = {{kWinPreview, "PREVIEW"},
                                                           {kWinBarcode, "BARCODE"}};

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

IniFile IniFile::Read(const std::filesystem::path& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, size_t{16} << 20).ok()) return {};
  return Parse(bytes);
}

// A query keeps its lines in a value of one line: a line break as \n, a backslash as \\.
std::string EscapeLines(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\') {
      out += "\\\\";
    } else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      continue;  // CR LF is one break
    } else if (text[i] == '\n' || text[i] == '\r') {
      out += "\\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string UnescapeLines(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
      out += text[++i] == 'n' ? '\n' : '\\';
    } else {
      out += text[i];
    }
  }
  return out;
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
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
      current = &ini.section(TrimBlanks(line.substr(1, line.size() - 2)));
      continue;
    }
    const size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    current->put(TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1)));
  }
  return ini;
}

void IniFile::Section::put(std::string_view key, std::string_view value) {
  const auto [it, added] = index.try_emplace(AsciiLower(key), entries.size());
  if (added) {
    entries.push_back({std::string(key), std::string(value)});
  } else {
    entries[it->second].value = value;
  }
}

const IniFile::Entry* IniFile::Section::get(std::string_view key) const {
  const auto it = index.find(AsciiLower(key));
  return it == index.end() ? nullptr : &entries[it->second];
}

const IniFile::Section* IniFile::find(std::string_view name) const {
  const auto it = sectionIndex_.find(AsciiLower(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section& IniFile::section(std::string_view name) {
  const auto [it, added] = sectionIndex_.try_emplace(AsciiLower(name), sections_.size());
  if (added) sections_.push_back({std::string(name), {}, {}});
  return sections_[it->second];
}

std::string IniFile::value(std::string_view section, std::string_view key,
                           std::string_view fallback) const {
  if (const Section* s = find(section)) {
    if (const Entry* e = s->get(key)) return e->value;
  }
  return std::string(TrimBlanks(fallback));
}

void IniFile::set(std::string_view sectionName, std::string_view key, std::string_view value) {
  section(sectionName).put(key, TrimBlanks(value));
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
  // "C#" (either case) chooses C#; anything else, an old file's missing key included, Visual
  // Basic.
  const std::string lang = ini.value("Setting", "SourceLang", "VB6");
  state.sourceLanguage =
      lang == "C#" || lang == "c#" ? SourceLanguage::CSharp : SourceLanguage::Vb6;
  state.relation = flag("Relation", "0");
  state.rulers = flag("Rulers", "-1");
  state.objectSnap = flag("ObjectSnap", "-1");
  for (int i = 0; i < kWindowsStored; ++i) {
    const std::string n = std::to_string(i);
    WindowRect& w = state.windows[static_cast<size_t>(i)];
    w.left = NumericPrefix(ini.value("WINDOW", "X" + n, "0"));
    w.top = NumericPrefix(ini.value("WINDOW", "Y" + n, "0"));
    w.width = NumericPrefix(ini.value("WINDOW", "W" + n, "1000"));
    w.height = NumericPrefix(ini.value("WINDOW", "H" + n, "1000"));
  }
  for (const auto& [index, section] : kOwnSections) {
    WindowRect& w = state.windows[index];
    w.left = NumericPrefix(ini.value(section, "X", "0"));
    w.top = NumericPrefix(ini.value(section, "Y", "0"));
    w.width = NumericPrefix(ini.value(section, "W", "1000"));
    w.height = NumericPrefix(ini.value(section, "H", "1000"));
  }
  for (size_t i = 0; i < state.recentFiles.size(); ++i) {
    state.recentFiles[i] = ini.value("FILES", std::to_string(i), "");
  }
  state.merges.clear();
  for (size_t i = 0; i < kMergesKept; ++i) {
    const std::string n = std::to_string(i);
    MergeChoice m{ini.value("MERGE", "Design" + n, ""), ini.value("MERGE", "Data" + n, ""), 0,
                  ini.value("MERGE", "Group" + n, "")};
    m.query = UnescapeLines(ini.value("MERGE", "Query" + n, ""));
    m.table = ini.value("MERGE", "Table" + n, "");
    const std::string delimiter = ini.value("MERGE", "Delimiter" + n, "");
    // Written as its code, so a tab survives the file.
    const auto code = RoundToInt<int>(NumericPrefix(delimiter));
    if (code && (*code == ',' || *code == '\t' || *code == ';'))
      m.delimiter = static_cast<char>(*code);
    if (!m.design.empty() && !m.data.empty() && !FindMerge(state, m.design)) {
      state.merges.push_back(std::move(m));
    }
  }
}

FileStatus SaveSettings(const std::filesystem::path& path, const AppState& state) {
  IniFile ini;
  ini.set("Setting", "AutoRedraw", state.autoRedraw ? "-1" : "0");
  ini.set("Setting", "SubMake", state.subMake ? "-1" : "0");
  ini.set("Setting", "Relation", state.relation ? "-1" : "0");
  ini.set("Setting", "Rulers", state.rulers ? "-1" : "0");
  ini.set("Setting", "ObjectSnap", state.objectSnap ? "-1" : "0");
  ini.set("Setting", "SourceLang", state.sourceLanguage == SourceLanguage::CSharp ? "C#" : "VB6");
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
  for (size_t i = 0; i < state.merges.size() && i < kMergesKept; ++i) {
    const std::string n = std::to_string(i);
    const MergeChoice& m = state.merges[i];
    ini.set("MERGE", "Design" + n, m.design);
    ini.set("MERGE", "Data" + n, m.data);
    ini.set("MERGE", "Delimiter" + n, std::to_string(static_cast<int>(m.delimiter)));
    ini.set("MERGE", "Group" + n, m.group);
    if (!m.query.empty()) ini.set("MERGE", "Query" + n, EscapeLines(m.query));
    if (!m.table.empty()) ini.set("MERGE", "Table" + n, m.table);
  }
  for (const auto& [index, section] : kOwnSections) {
    const WindowRect& w = state.windows[index];
    ini.set(section, "X", FormatDouble(w.left));
    ini.set(section, "Y", FormatDouble(w.top));
    ini.set(section, "W", FormatDouble(w.width));
    ini.set(section, "H", FormatDouble(w.height));
  }
  return ini.write(path);
}

std::filesystem::path SettingsPath(const std::filesystem::path& appFolder) {
  // Beside the program in a folder of its own; an installed program's folder is the system's
  // (even where it can be written, as by root).
  if (!appFolder.empty() && !RunsInstalled(appFolder) && ::access(appFolder.c_str(), W_OK) == 0) {
    return appFolder / "QF2.INI";
  }
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
