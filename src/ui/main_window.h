#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <map>
#include <memory>

#include "platform/page_export.h"
#include "platform/program_export.h"
#include "ui/app_context.h"
#include "ui/startup_page.h"

class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace qf {

class ChildWindow;
class CodeWindow;
class CommandDialog;
class FigureDialog;
class PictureDialog;
class TextDialog;
class DesignWindow;
class LayerWindow;
class Prompter;
class SourceWindow;

// frmQFMain: the menus, the toolbar with the zoom box and read-outs, the status bar, and the
// design, source, code and layer windows. The commands are in main_commands.cpp.
class MainWindow final : public QMainWindow, private EditView {
  Q_OBJECT

 public:
  // `startup` makes the first page (the printer's page, the command line's design) while the
  // widgets are built; without it the window starts on the context as it stands.
  MainWindow(AppContext& ctx, Prompter& prompter, std::unique_ptr<StartupLoader> startup = nullptr);
  ~MainWindow() override;

  // The status bar's guide panel and layer panel.
  void SetGuideText(const QString& text);
  void SetLayerStatus(const QString& text);

  // The splash window, closed before a failed command-line load is reported.
  void setSplash(QWidget* splash) { splash_ = splash; }
  DesignWindow& designWindow() { return *design_; }
  SourceWindow& sourceWindow() { return *source_; }
  CodeWindow& codeWindow() { return *code_; }
  LayerWindow& layerWindow() { return *layer_; }
  AppContext& context() { return ctx_; }

  // Commands, one per menu item or toolbar button.
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
  // The page as printing draws it, into a PDF or a PNG file (its resolution asked for).
  void exportPage(ExportFormat format);
  // File 差し込みデータ: the records the design is tried with.
  void mergeData();
  void fileExit();
  void toggleGrid();
  void pageSetup();
  void gridSettings();
  void hatchingColours();
  void fileAssociation();
  void showHelp();
  void showAbout();
  void generateSource();
  void redraw();
  // Toolbar buttons 7 to 12: the kind's dialog, then a drag places the object (a command is
  // stored at once).
  void addObject(ObjectKind kind);
  // A command row double-clicked in the code window: its dialog, then the row rewritten.
  void editCommandRow(int row);
  // Edit menu: the program's own object clipboard, only while the design window is active.
  void cutObjects();
  void copyObjects();
  void pasteObjects();
  // The pop-up menu's "ﾌﾟﾛﾊﾟﾃｨ": the selected object's dialog, then the object rewritten.
  void properties();
  void undo();
  void redo();
  void zoomChosen(int index);
  void zoomEntered();
  // 表示 ﾍﾟｰｼﾞ全体 and ﾍﾟｰｼﾞ幅: the zoom that fits the page, or its width, into the design window.
  void zoomToFit(bool widthOnly);
  // Ctrl+wheel: the zoom box's next step in or out, the page point under `around` kept there.
  void zoomStepAround(bool in, QPoint around);

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
  void buildMenus();
  // 配置: the layout tools' menu after 編集, their toolbar, shown or hidden from `viewMenu`.
  void buildLayoutMenu(QMenu* viewMenu);
  // The layout tools enabled as the selection allows.
  void showLayoutState();
  void buildToolbar();
  void buildStatusBar();
  void buildChildren();
  void arrangeFirstStart();
  // Every child window inside the visible area, the design window clear of the others.
  void keepChildrenReachable();
  QAction* addItem(QMenu* menu, const char* name, const char* caption, const char* shortcut = "");
  QAction* action(const char* name) const;

  // Shared steps of the commands.
  void commitCellEdits();
  // The records chosen for the design in the window; none without a merge.
  std::optional<MergeSource> currentMerge() const;
  void showMergeState();
  // Every merged page, or none (and a message saying why).
  std::unique_ptr<MergedDocument> loadMerged(const MergeSource& source);
  void printMerged(MergeSource source);
  // All merged pages or one of them, as the user picks for an export; none when cancelled.
  std::optional<MergeSource> chooseMergedPages(MergeSource source);
  bool askDiscard();  // false when the user keeps the changes
  bool loadFile(const QString& path);
  void designLoaded(const QString& path, const LoadDecisions& decided);
  void adoptStartupPage(StartupPage& page);
  bool saveTo(const QString& path);
  void redrawPage();
  void pageSetUpSequence();
  void SetZoom();
  void fitDesignFrame();
  // A new zoom: the page drawn again, and the design window resized to it unless the zoom was
  // chosen to fit the window as it is.
  void applyZoom(int zoom, bool keepFrame = false);
  void resetEditState();
  void UpdateRecentFiles(bool addCurrentFile);
  void firstActivation();
  void recordAllPlaces();
  void showPosition(double x, double y);
  void showLockKeys();
  void showHistory();

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
  bool designActive() const;

  // The object dialogs, made when first needed and kept, so they keep their fields.
  TextDialog& textDialog();
  FigureDialog& figureDialog(ObjectKind kind);
  PictureDialog& pictureDialog();
  CommandDialog& commandDialog();

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

  TextDialog* textDialog_ = nullptr;
  std::array<FigureDialog*, 3> figureDialogs_{};  // line, box, ring
  PictureDialog* pictureDialog_ = nullptr;
  CommandDialog* commandDialog_ = nullptr;

  std::map<QString, QAction*> actions_;
  std::array<QAction*, 5> recent_{};
  QAction* recentSeparator_ = nullptr;
  QAction* mergeAction_ = nullptr;
  QPointer<QDialog> help_;  // the guide's window while it is open  // checked while the design has
                            // records to merge
  QComboBox* zoom_ = nullptr;
  QLabel* position_ = nullptr;
  QLabel* size_ = nullptr;
  std::array<QLabel*, 4> panels_{};
};

}  // namespace qf
