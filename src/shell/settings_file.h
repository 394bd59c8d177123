#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app_state.h"
#include "document/file_io.h"

namespace qf {

// A text of several lines as one value's line and back: a line break as \n, a backslash as \\.
std::string EscapeLines(std::string_view text);
std::string UnescapeLines(std::string_view text);

// A private-profile (INI) file: sections of key=value lines, read and written in order.
// Section and key names match without regard to case, as the platform's profile calls do.
class IniFile {
 public:
  // Reads CP932 text (or UTF-8 with a byte-order mark). A missing file gives an empty profile.
  static IniFile Read(const std::filesystem::path& path);
  static IniFile Parse(std::string_view bytes);
  // The value, trimmed of blanks; the default when the section or key is missing. Values keep
  // their whole length.
  std::string value(std::string_view section, std::string_view key,
                    std::string_view fallback) const;
  // Sets a value (trimmed); a new section or key goes after the existing ones.
  void set(std::string_view section, std::string_view key, std::string_view value);
  // The file text: CP932 when every character fits, else UTF-8 with a byte-order mark so that
  // nothing is lost.
  std::string bytes() const;
  // Writes atomically (temporary file and rename).
  FileStatus write(const std::filesystem::path& path) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  // Entries in file order, found through an index, so a large or hostile file reads in
  // linear time.
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, size_t> index;  // ASCII-lowered key -> entry
    void put(std::string_view key, std::string_view value);
    const Entry* get(std::string_view key) const;
  };
  const Section* find(std::string_view name) const;
  Section& section(std::string_view name);  // found or added at the end
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // ASCII-lowered name -> section
};

// Reads the flags, the window table (indices 0 to 13) and the recent files.
void LoadSettings(const std::filesystem::path& path, AppState& state);
// Writes them in the order "Setting", "WINDOW", "FILES".
FileStatus SaveSettings(const std::filesystem::path& path, const AppState& state);

// Where QF2.INI lives: in the program's folder when it can be written there, else in
// $XDG_CONFIG_HOME/quillform (or ~/.config/quillform).
std::filesystem::path SettingsPath(const std::filesystem::path& appFolder);

}  // namespace qf
