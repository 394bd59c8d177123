#pragma once

// The main window's commands as one table: a row per menu item, toolbar button and separator.
// The menus, the toolbars, the shortcuts, the enabled states and the check marks are built
// from it; a new command is one row here and one handler in the file of its group.
#include <cstdint>
#include <span>
#include <string_view>

namespace qf {

class MainWindow;
struct AppContext;

// Where a row shows. Rows of the 配置 menu are on its toolbar too.
enum class CommandPlace : uint8_t { File, View, Edit, Layout, Settings, Help, Toolbar };

// Rows that are neither a command nor a separator (a separator's caption is "-").
enum class RowKind : uint8_t {
  Command,
  RecentList,      // the five recent-file items QFM109_0..4, built from the settings' list
  LayoutBarShown,  // the 配置 toolbar's own show/hide item
};

struct CommandRow {
  std::string_view id;  // the action's objectName
  CommandPlace place;
  std::string_view caption;  // a toolbar button's tooltip
  std::string_view shortcut = {};
  void (*run)(MainWindow&) = nullptr;
  // Null: always enabled. Evaluated after every change of the design or the view.
  bool (*enabled)(const AppContext&) = nullptr;
  // Null: no check mark. The mark shows the state; the handler changes the state.
  bool (*checked)(const AppContext&) = nullptr;
  int icon = 0;  // a toolbar button's picture (ToolbarIcon); kPreviewIcon the style's own
  RowKind kind = RowKind::Command;

  bool separator() const { return caption == "-"; }
};

inline constexpr int kPreviewIcon = -1;

struct MenuRow {
  CommandPlace place;
  std::string_view id;
  std::string_view caption;
};

// The menu bar's menus, in their order.
std::span<const MenuRow> CommandMenus();

}  // namespace qf
