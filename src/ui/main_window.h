#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <memory>
#include <span>
#include <vector>

#include "platform/page_export.h"
#include "platform/program_export.h"
#include "ui/app_context.h"
#include "ui/command_table.h"
#include "ui/startup_page.h"

class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace qf {

class ChildWindow;
class CodeWindow;
class DesignWindow;
class LayerWindow;
class MergedPages;
class ObjectDialogs;
class Prompter;
class SourceWindow;

// frmQFMain: the menus, the toolbar with the zoom box and read-outs, the status bar, and the
// design, source, code and layer windows. The commands are rows of command_table.cpp.
class MainWindow final : public QMainWindow, private EditView {
  Q_OBJECT

 public:
  // `startup` makes the first page (the printer's page, the command line's design) while the
  // widgets are built; without it the window starts on the context as it stands.
  MainWindow(AppContext& ctx, Prompter& prompter, std::unique_ptr<StartupLoader> startup = nullptr);
  ~MainWindow() override;

  // The splash window, closed before a failed command-line load is reported.
  void setSplash(QWidget* splash) { splash_ = splash; }
  DesignWindow& designWindow() { return *design_; }
  SourceWindow& sourceWindow() { return *source_; }
  CodeWindow& codeWindow() { return *code_; }
  LayerWindow& layerWindow() { return *layer_; }

  // Every menu item, toolbar button and separator of the window (command_table.cpp).
  static std::span<const CommandRow> Commands();

 signals:
  // The design window has shown the page for the first time, the design of the command line
  // loaded and drawn.
  void designShown();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class ChildKind : uint8_t { Design, Code, Source, Layer };

  // The menus and toolbars from the table (command_widgets.cpp), with the zoom box and the
  // read-outs; the enabled states and check marks as the design and the settings say.
  void buildCommands();
  void buildToolbarWidgets(QToolBar* bar);
  void showState();
  void showZoom();
  void buildStatusBar();
  void buildChildren();
  void arrangeFirstStart();
  // Every child window inside the visible area, the design window clear of the others.
  void keepChildrenReachable();
  void SetGuideText(const QString& text);
  void SetLayerStatus(const QString& text);

  // File (file_commands.cpp).
  void fileNew();
  void fileOpen();
  void fileOpenRecent(int index);
  void fileSave();
  void fileSaveAs();
  void filePrint();
  // The page as Print puts it on paper, in a window of its own.
  void printPreview();
  // 試し印刷: the source window's program run into the print preview, with the merge's records
  // as rs; its Print runs it on a printer.
  void trialPrint();
  void printProgram(const ProgramRun& run);
  // The page as printing draws it, into a PDF, PNG or SVG file (a PNG's resolution asked for).
  void exportPage(ExportFormat format);
  void fileExit();
  bool askDiscard();  // false when the user keeps the changes
  // Where an open dialog starts: the design's folder (or the last design's).
  QString dialogFolder() const;
  bool loadFile(const QString& path);
  void designLoaded(const QString& path, const LoadDecisions& decided);
  bool saveTo(const QString& path);
  void UpdateRecentFiles(bool addCurrentFile);
  void pageSetUpSequence();

  // Edit (edit_commands.cpp).
  void undo();
  void redo();
  // The program's own object clipboard, only while the design window is active.
  void cutObjects();
  void copyObjects();
  void pasteObjects();
  // Every object of the visible, unlocked layers.
  void selectAllObjects();
  // Toolbar buttons 7 to 12: the kind's dialog, then a drag places the object (a command is
  // stored at once).
  void addObject(ObjectKind kind);
  // A command row double-clicked in the code window: its dialog, then the row rewritten.
  void editCommandRow(int row);
  // The pop-up menu's "ﾌﾟﾛﾊﾟﾃｨ": the selected object's dialog, then the object rewritten.
  void properties();
  bool designActive() const;
  // A cell still being typed in is part of the design: every command keeps it first.
  void commitCellEdits();

  // View (view_commands.cpp).
  void showChild(ChildKind child);
  void toggleGrid();
  void toggleRulers();
  void redraw();
  void generateSource();
  void zoomChosen(int index);
  void zoomEntered();
  // ﾍﾟｰｼﾞ全体 and ﾍﾟｰｼﾞ幅: the zoom that fits the page, or its width, into the design window.
  void zoomToFit(bool widthOnly);
  // Ctrl+wheel: the zoom box's next step in or out, the page point under `around` kept there.
  void zoomStepAround(bool in, QPoint around);
  // A new zoom: the page drawn again, and the design window resized to it unless the zoom was
  // chosen to fit the window as it is.
  void applyZoom(int zoom, bool keepFrame = false);
  void SetZoom();
  void fitDesignFrame();
  void redrawPage();

  // Settings and help (settings_commands.cpp).
  void pageSetup();
  void gridSettings();
  void hatchingColours();
  void toggleSetting(bool AppState::*flag);
  void fileAssociation();
  void showHelp();
  void showAbout();

  // 配置 (layout_commands.cpp).
  void arrange(LayoutTool tool);
  void reorder(OrderMove move);

  // The data merge (merge_commands.cpp): the records chosen for the design in the window.
  void mergeData();
  std::optional<MergeSource> currentMerge() const;
  void showMergeState();
  // The merged pages, read as they are asked for, or none (and a message saying why); with
  // `counted` the pass through the records has ended, so every page is known.
  std::unique_ptr<MergedPages> openMerged(const MergeSource& source, bool counted);
  void printMerged(MergeSource source);
  // All merged pages or one of them, as the user picks for an export; none when cancelled.
  std::optional<MergeSource> chooseMergedPages(MergeSource source);

  // The first page (main_window.cpp).
  void firstActivation();
  void adoptStartupPage(StartupPage& page);
  void recordAllPlaces();
  void showPosition(double x, double y);
  void showLockKeys();

  // What the editor reports.
  Surface* pageSurface() override;
  void pageChanged(const std::optional<PageRect>& area) override;
  void guideText(std::string_view text) override;
  void layerStatus(int16_t layer) override;
  void historyChanged() override;
  void objectPicked() override;
  void pointerShape(PointerShape shape) override;
  void pointerAt(double x, double y) override;
  void dragSize(double dx, double dy) override;
  void prepareTextFeedback(const ObjectRecord& text) override;
  void popupMenu() override;
  void offPageWarning(std::string_view text) override;
  void snapGuides(const std::optional<GuideLine>& down,
                  const std::optional<GuideLine>& across) override;
  void refused(std::string_view why) override;

  AppContext& ctx_;
  Prompter& prompter_;
  std::unique_ptr<StartupLoader> startup_;
  QPointer<QWidget> splash_;
  bool activated_ = false;
  bool closeConfirmed_ = false;

  QMdiArea* mdi_ = nullptr;
  DesignWindow* design_ = nullptr;
  SourceWindow* source_ = nullptr;
  CodeWindow* code_ = nullptr;
  LayerWindow* layer_ = nullptr;
  ChildWindow* designFrame_ = nullptr;
  ChildWindow* sourceFrame_ = nullptr;
  ChildWindow* codeFrame_ = nullptr;
  ChildWindow* layerFrame_ = nullptr;

  std::unique_ptr<ObjectDialogs> dialogs_;

  // The table's actions, in the table's order (null for the rows that make none).
  std::vector<QAction*> actions_;
  std::array<QAction*, 5> recent_{};
  QAction* recentSeparator_ = nullptr;
  QAction* mergeAction_ = nullptr;
  QPointer<QDialog> help_;  // the guide's window while it is open
  QComboBox* zoom_ = nullptr;
  QLabel* position_ = nullptr;
  QLabel* size_ = nullptr;
  std::array<QLabel*, 4> panels_{};
};

}  // namespace qf
