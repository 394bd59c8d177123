#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qf {

// Window-position indices of the settings file.
enum WindowIndex : int {
  kWinMain = 0,
  kWinDesign = 1,
  kWinCode = 2,
  kWinSource = 3,
  kWinPageSetup = 4,
  kWinGrid = 5,
  kWinText = 6,
  kWinLine = 7,
  kWinBox = 8,
  kWinPicture = 9,
  kWinCommand = 10,
  kWinLayer = 11,
  kWinPalette = 12,
  kWinRing = 13,
  kWinPreview = 14,  // kept in a section of its own: the window table of the file ends at 13
  kWinBarcode = 15,  // ... as is this
  kWindowSlots = 16,
  kWindowsStored = 14,  // indices 0 to 13 are read and written
};

// Left, top, width and height of a window, in twips.
struct WindowRect {
  double left = 0;
  double top = 0;
  double width = 1000;
  double height = 1000;

  bool operator==(const WindowRect&) const = default;
};

// Windows whose size is restored too; the others keep their own size.
constexpr bool RestoresSize(int index) {
  return index == kWinMain || index == kWinCode || index == kWinSource || index == kWinLayer ||
         index == kWinPreview;
}

using RecentFiles = std::array<std::string, 5>;

// The records a design was last merged with: kept per design in the settings, never in the
// design file.
struct MergeChoice {
  std::string design;  // the design file's path
  // The CSV file's path, or a database (sqlite:PATH, postgresql://USER@HOST[:PORT]/DBNAME,
  // odbc:DSN: never a password)
  std::string data;
  char delimiter = 0;   // 0: from the header line
  std::string group;    // the column that starts a new page; empty: none
  std::string query{};  // a database's: the query, or else
  std::string table{};  // every row of this table

  bool operator==(const MergeChoice&) const = default;
};
inline constexpr size_t kMergesKept = 20;

// The language the source window writes.
enum class SourceLanguage { Vb6, CSharp };

// Application-wide state of one run: file name, the settings and the window table.
struct AppState {
  std::string appFolder;    // the executable's folder
  std::string fileName;     // the design file last opened or saved; empty when never saved
  bool starting = false;    // while Main runs: window positions are not recorded
  bool closing = false;     // the user asked to quit: child windows may close
  bool firstStart = false;  // there was no settings file: windows get a first arrangement

  bool snapOn = true;      // not saved; starts on at every start
  bool objectSnap = true;  // a drag lines up with other objects' edges and centres
  bool autoRedraw = false;
  bool subMake = true;
  SourceLanguage sourceLanguage = SourceLanguage::Vb6;
  bool relation = false;
  bool rulers = true;  // the design window's rulers shown
  RecentFiles recentFiles;
  std::array<WindowRect, kWindowSlots> windows{};
  std::vector<MergeChoice> merges;  // most recently chosen first, at most kMergesKept
};

// The merge chosen for a design; nullptr when none.
const MergeChoice* FindMerge(const AppState& state, std::string_view design);
// Keeps a design's merge first (replacing its earlier one); the oldest falls out. An empty
// data path forgets the design's merge.
void RememberMerge(AppState& state, const MergeChoice& choice);

// Moves the current file name to the top of the recent files (removing an earlier place of it);
// the oldest falls out.
void UpdateRecentFiles(RecentFiles& recent, const std::string& current);

}  // namespace qf
