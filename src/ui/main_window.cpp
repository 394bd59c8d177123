#include "main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <iterator>

#include "platform/lock_keys.h"
#include "shell/app_paths.h"
#include "shell/settings_file.h"
#include "shell/ui_text.h"
#include "ui/child_window.h"
#include "ui/code_window.h"
#include "ui/design_window.h"
#include "ui/icons.h"
#include "ui/layer_window.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/source_window.h"
#include "ui/window_places.h"

namespace qf {

MainWindow::MainWindow(AppContext& ctx, Prompter& prompter, std::unique_ptr<StartupLoader> startup)
    : ctx_(ctx), prompter_(prompter), startup_(std::move(startup)) {
  setObjectName(QStringLiteral("frmQFMain"));
  setWindowTitle(Q(kAppTitle));  // the caption does not follow the open file
  mdi_ = new QMdiArea;
  mdi_->setObjectName(QStringLiteral("mdiArea"));
  // A child moved past the edge can always be scrolled back into reach.
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  buildMenus();
  buildToolbar();
  buildStatusBar();
  RestoreFormPosition(*this, ctx_.state, kWinMain);
  if (ctx_.state.firstStart) {
    // Without settings the main window would be 1000 twips square; a first start fills most of
    // the screen instead.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect avail = screen->availableGeometry();
      resize(avail.size() * 0.85);
      move(avail.center() - rect().center());
    }
  }
  buildChildren();
  UpdateRecentFiles(false);
  SetLayerStatus(QString::number(ctx_.editor.currentLayer()));
  ctx_.editor.attach(this);
  showHistory();
}

MainWindow::~MainWindow() {
  ctx_.editor.attach(nullptr);
}

QAction* MainWindow::addItem(QMenu* menu, const char* name, const char* caption,
                             const char* shortcut) {
  QAction* a = menu->addAction(QString::fromUtf8(caption));
  a->setObjectName(QString::fromLatin1(name));
  if (*shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
  actions_[a->objectName()] = a;
  return a;
}

QAction* MainWindow::action(const char* name) const {
  auto it = actions_.find(QString::fromLatin1(name));
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::buildMenus() {
  auto menu = [this](const char* name, const char* caption) {
    QMenu* m = menuBar()->addMenu(QString::fromUtf8(caption));
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
  };
  auto separator = [this](QMenu* m, const char* name) {
    QAction* s = m->addSeparator();
    s->setObjectName(QString::fromLatin1(name));
    actions_[s->objectName()] = s;
    return s;
  };

  QMenu* file = menu("QFM100", "ﾌｧｲﾙ(&F)");
  connect(addItem(file, "QFM101", "新規作成(&N)", "Ctrl+N"), &QAction::triggered, this,
          &MainWindow::fileNew);
  connect(addItem(file, "QFM102", "ﾌｧｲﾙを開く(&O)", "Ctrl+O"), &QAction::triggered, this,
          &MainWindow::fileOpen);
  separator(file, "QFM103");
  connect(addItem(file, "QFM104", "上書き保存(&S)", "Ctrl+S"), &QAction::triggered, this,
          &MainWindow::fileSave);
  connect(addItem(file, "QFM105", "名前をつけて保存(&A)"), &QAction::triggered, this,
          &MainWindow::fileSaveAs);
  separator(file, "QFM106");
  connect(addItem(file, "QFM107", "印刷"), &QAction::triggered, this, &MainWindow::filePrint);
  connect(addItem(file, "QFM113", "印刷プレビュー(&V)", "Ctrl+Shift+P"), &QAction::triggered, this,
          &MainWindow::printPreview);
  connect(addItem(file, "QFM114", "PDF出力..."), &QAction::triggered, this,
          [this] { exportPage(ExportFormat::Pdf); });
  connect(addItem(file, "QFM115", "画像出力..."), &QAction::triggered, this,
          [this] { exportPage(ExportFormat::Png); });
  connect(addItem(file, "QFM116", "SVG出力..."), &QAction::triggered, this,
          [this] { exportPage(ExportFormat::Svg); });
  mergeAction_ = addItem(file, "QFM117", "差し込みデータ...");
  mergeAction_->setCheckable(true);
  connect(mergeAction_, &QAction::triggered, this, [this] {
    mergeData();
    showMergeState();  // the check follows the choice, not the click
  });
  recentSeparator_ = separator(file, "QFM108");
  for (int i = 0; i < 5; ++i) {
    QAction* a = file->addAction(QString());
    a->setObjectName(QStringLiteral("QFM109_%1").arg(i));
    connect(a, &QAction::triggered, this, [this, i] { fileOpenRecent(i); });
    recent_[static_cast<size_t>(i)] = a;
  }
  separator(file, "QFM110");
  connect(addItem(file, "QFM199", "終了(&Q)"), &QAction::triggered, this, &MainWindow::fileExit);

  QMenu* view = menu("QFM200", "表示(&V)");
  QAction* showDesign = addItem(view, "QFM201", "ﾃﾞｻﾞｲﾝｳｨﾝﾄﾞｳ");
  QAction* showCode = addItem(view, "QFM202", "ｺｰﾄﾞｳｨﾝﾄﾞｳ");
  QAction* showSource = addItem(view, "QFM203", "ｿｰｽｳｨﾝﾄﾞｳ");
  QAction* showLayer = addItem(view, "QFM205", "ﾚｲﾔｰｳｨﾝﾄﾞｳ");
  auto bringForward = [this](ChildWindow* const* frame) {
    return [this, frame] {
      (*frame)->show();
      mdi_->setActiveSubWindow(*frame);
    };
  };
  connect(showDesign, &QAction::triggered, this, bringForward(&designFrame_));
  connect(showCode, &QAction::triggered, this, bringForward(&codeFrame_));
  connect(showSource, &QAction::triggered, this, bringForward(&sourceFrame_));
  connect(showLayer, &QAction::triggered, this, bringForward(&layerFrame_));
  separator(view, "QFM206");
  QAction* grid = addItem(view, "QFM204", "ｸﾞﾘｯﾄﾞ表示");
  grid->setCheckable(true);
  grid->setChecked(ctx_.design.grid.shown != 0);
  connect(grid, &QAction::triggered, this, &MainWindow::toggleGrid);
  connect(addItem(view, "QFM208", "ﾍﾟｰｼﾞ全体"), &QAction::triggered, this,
          [this] { zoomToFit(false); });
  connect(addItem(view, "QFM209", "ﾍﾟｰｼﾞ幅"), &QAction::triggered, this,
          [this] { zoomToFit(true); });
  QAction* rulers = addItem(view, "QFM210", "ﾙｰﾗｰ");
  rulers->setCheckable(true);
  rulers->setChecked(ctx_.state.rulers);
  connect(rulers, &QAction::toggled, this, [this](bool on) {
    ctx_.state.rulers = on;
    if (design_) design_->setRulersShown(on);
  });

  QMenu* edit = menu("QFM300", "編集(&E)");
  connect(addItem(edit, "QFM311", "元に戻す(&U)", "Ctrl+Z"), &QAction::triggered, this,
          &MainWindow::undo);
  connect(addItem(edit, "QFM312", "やり直し(&R)", "Ctrl+Y"), &QAction::triggered, this,
          &MainWindow::redo);
  separator(edit, "QFM313");
  connect(addItem(edit, "QFM301", "切り取り(&X)", "Ctrl+X"), &QAction::triggered, this,
          &MainWindow::cutObjects);
  connect(addItem(edit, "QFM302", "ｺﾋﾟｰ(&C)", "Ctrl+C"), &QAction::triggered, this,
          &MainWindow::copyObjects);
  connect(addItem(edit, "QFM303", "貼付け(&V)", "Ctrl+V"), &QAction::triggered, this,
          &MainWindow::pasteObjects);

  buildLayoutMenu(view);

  QMenu* settings = menu("QFM400", "設定(&S)");
  connect(addItem(settings, "QFM401", "用紙設定"), &QAction::triggered, this,
          &MainWindow::pageSetup);
  connect(addItem(settings, "QFM402", "ｸﾞﾘｯﾄﾞ設定"), &QAction::triggered, this,
          &MainWindow::gridSettings);
  connect(addItem(settings, "QFM406", "網掛け色設定"), &QAction::triggered, this,
          &MainWindow::hatchingColours);
  separator(settings, "QFM407");
  auto flagItem = [&](const char* name, const char* caption, bool& flag) {
    QAction* a = addItem(settings, name, caption);
    a->setCheckable(true);
    a->setChecked(flag);
    connect(a, &QAction::toggled, this, [&flag](bool on) { flag = on; });
  };
  flagItem("QFM403", "ｸﾞﾘｯﾄﾞ配置", ctx_.state.snapOn);
  flagItem("QFM404", "自動再描画", ctx_.state.autoRedraw);
  flagItem("QFM405", "ｻﾌﾞﾙｰﾁﾝ化", ctx_.state.subMake);
  separator(settings, "QFM408");
  QAction* relation = addItem(settings, "QFM410", "ﾌｧｲﾙの関連付け");
  relation->setCheckable(true);
  relation->setChecked(ctx_.state.relation);
  connect(relation, &QAction::triggered, this, &MainWindow::fileAssociation);
  // The package associated design files already; one registered here before can still go.
  if (!ctx_.state.relation && PackageAssociatesFiles(ctx_.state.appFolder)) {
    relation->setEnabled(false);
    relation->setStatusTip(QStringLiteral("インストールしたパッケージが関連付けています"));
    relation->setToolTip(relation->statusTip());
  }

  QMenu* help = menu("QFM500", "ﾍﾙﾌﾟ(&H)");
  connect(addItem(help, "QFM501", "ﾍﾙﾌﾟ(&H)", "F1"), &QAction::triggered, this,
          &MainWindow::showHelp);
  separator(help, "QFM502");
  connect(addItem(help, "QFM503", "ﾊﾞｰｼﾞｮﾝ情報(&A)"), &QAction::triggered, this,
          &MainWindow::showAbout);
}

void MainWindow::buildToolbar() {
  QToolBar* bar = new QToolBar(QStringLiteral("tblMenu"), this);
  // First, with the layout toolbar on a row of its own below: its captions are words.
  auto* layoutBar = findChild<QToolBar*>(QStringLiteral("tblLayout"));
  insertToolBar(layoutBar, bar);
  insertToolBarBreak(layoutBar);
  bar->setObjectName(QStringLiteral("tblMenu"));
  bar->setMovable(false);
  static const char* kTips[17] = {nullptr,    "新規作成", "ﾌｧｲﾙを開く", "上書き保存", nullptr,
                                  "印刷",     nullptr,    "ﾃｷｽﾄ描画",   "ﾗｲﾝ描画",    "ﾎﾞｯｸｽ描画",
                                  "ﾘﾝｸﾞ描画", "画像描画", "ｺﾏﾝﾄﾞ",      nullptr,      "ｿｰｽ生成",
                                  "用紙設定", "再描画"};
  for (int i = 1; i <= 16; ++i) {
    if (!kTips[i]) {
      QAction* separator = bar->addSeparator();
      separator->setObjectName(QStringLiteral("tblMenu%1").arg(i));
      actions_[separator->objectName()] = separator;
      continue;
    }
    QAction* a = bar->addAction(ToolbarIcon(i), QString::fromUtf8(kTips[i]));
    a->setObjectName(QStringLiteral("tblMenu%1").arg(i));
    a->setToolTip(QString::fromUtf8(kTips[i]));
    actions_[a->objectName()] = a;
  }
  connect(action("tblMenu1"), &QAction::triggered, this, &MainWindow::fileNew);
  connect(action("tblMenu2"), &QAction::triggered, this, &MainWindow::fileOpen);
  connect(action("tblMenu3"), &QAction::triggered, this, &MainWindow::fileSave);
  connect(action("tblMenu5"), &QAction::triggered, this, &MainWindow::filePrint);
  // Print preview, beside Print.
  QAction* preview = new QAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                 QStringLiteral("印刷プレビュー"), bar);
  preview->setObjectName(QStringLiteral("tblPreview"));
  preview->setToolTip(preview->text());
  bar->insertAction(action("tblMenu6"), preview);
  actions_[preview->objectName()] = preview;
  connect(preview, &QAction::triggered, this, &MainWindow::printPreview);
  connect(action("tblMenu14"), &QAction::triggered, this, &MainWindow::generateSource);
  const std::pair<const char*, ObjectKind> adds[] = {
      {"tblMenu7", ObjectKind::Text},     {"tblMenu8", ObjectKind::Line},
      {"tblMenu9", ObjectKind::Box},      {"tblMenu10", ObjectKind::Ring},
      {"tblMenu11", ObjectKind::Picture}, {"tblMenu12", ObjectKind::Command}};
  for (const auto& [name, kind] : adds) {
    connect(action(name), &QAction::triggered, this, [this, kind = kind] { addObject(kind); });
  }
  connect(action("tblMenu15"), &QAction::triggered, this, &MainWindow::pageSetup);
  connect(action("tblMenu16"), &QAction::triggered, this, &MainWindow::redraw);

  bar->addSeparator();
  auto* caption = new QLabel(QStringLiteral(" 倍率 "));
  caption->setObjectName(QStringLiteral("lblCapt"));
  bar->addWidget(caption);
  zoom_ = new QComboBox;
  zoom_->setObjectName(QStringLiteral("cmbPer"));
  zoom_->setAccessibleName(QStringLiteral("倍率"));
  zoom_->setEditable(true);
  zoom_->setInsertPolicy(QComboBox::NoInsert);
  for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
    zoom_->addItem(QStringLiteral("%1%").arg(*it));
  }
  // The list starts at the page's zoom, so the arrow keys move on from it.
  zoom_->setCurrentIndex(zoom_->findText(QStringLiteral("100%")));
  connect(zoom_, &QComboBox::activated, this, &MainWindow::zoomChosen);
  // The arrow keys move through the list without an activation: the zoom follows them too.
  connect(zoom_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0 && ZoomFromText(zoom_->itemText(index).toStdString()) != ctx_.view.zoom) {
      zoomChosen(index);
    }
  });
  connect(zoom_->lineEdit(), &QLineEdit::returnPressed, this, &MainWindow::zoomEntered);
  zoom_->lineEdit()->setAccessibleName(zoom_->accessibleName());
  bar->addWidget(zoom_);
  bar->addSeparator();
  position_ = new QLabel(QStringLiteral("0.000, 0.000"));
  position_->setObjectName(QStringLiteral("lblPos"));
  position_->setAccessibleName(QStringLiteral("位置"));
  position_->setMinimumWidth(
      position_->fontMetrics().horizontalAdvance(QStringLiteral("9999.999, 9999.999  ")));
  size_ = new QLabel(QStringLiteral("0.000 x 0.000"));
  size_->setObjectName(QStringLiteral("lblSize"));
  size_->setAccessibleName(QStringLiteral("サイズ"));
  size_->setMinimumWidth(
      size_->fontMetrics().horizontalAdvance(QStringLiteral("9999.999 x 9999.999  ")));
  // picFra: each read-out behind its picture.
  auto* frame = new QFrame;
  frame->setObjectName(QStringLiteral("picFra"));
  auto* row = new QHBoxLayout(frame);
  row->setContentsMargins(4, 0, 4, 0);
  for (int i = 0; i < 2; ++i) {
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("picIcon%1").arg(i));
    icon->setPixmap(ReadoutIcon(i));
    row->addWidget(icon);
    row->addWidget(i == 0 ? position_ : size_);
  }
  bar->addWidget(frame);
  // The button that shows the buttons a narrow window has no room for.
  for (auto* more : bar->findChildren<QAbstractButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
    more->setAccessibleName(QStringLiteral("その他のボタン"));
  }
}

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("stbGuide"));
  // The window's edges resize it; a grip would cost a second layout and paint at first show.
  bar->setSizeGripEnabled(false);
  for (int i = 0; i < 4; ++i) {
    auto* panel = new QLabel;
    panel->setObjectName(QStringLiteral("stbGuide%1").arg(i + 1));
    panels_[static_cast<size_t>(i)] = panel;
  }
  // The guide panel is often empty: its name says what it is for.
  panels_[0]->setAccessibleName(QStringLiteral("ガイド"));
  panels_[2]->setText(QStringLiteral("CAPS"));
  panels_[3]->setText(QStringLiteral("NUM"));
  showLockKeys();
  // Lock keys change with key presses anywhere in the program.
  qApp->installEventFilter(this);
  bar->addWidget(panels_[0], 1);
  for (int i = 1; i < 4; ++i) bar->addPermanentWidget(panels_[static_cast<size_t>(i)]);
}

void MainWindow::buildChildren() {
  design_ = new DesignWindow(ctx_);
  source_ = new SourceWindow;
  code_ = new CodeWindow(ctx_.editor);
  layer_ = new LayerWindow(ctx_.editor, prompter_);
  connect(code_, &CodeWindow::guideText, this, &MainWindow::SetGuideText);
  connect(layer_, &LayerWindow::guideText, this, &MainWindow::SetGuideText);
  connect(code_, &CodeWindow::commandRowPicked, this, &MainWindow::editCommandRow);
  connect(source_, &SourceWindow::trialPrintRequested, this, &MainWindow::trialPrint);
  connect(&design_->canvas(), &DesignCanvas::propertiesAsked, this, &MainWindow::properties);
  connect(design_, &DesignWindow::zoomStep, this, &MainWindow::zoomStepAround);
  designFrame_ = new ChildWindow(design_, ctx_.places, kWinDesign, false);
  sourceFrame_ = new ChildWindow(source_, ctx_.places, kWinSource, true);
  codeFrame_ = new ChildWindow(code_, ctx_.places, kWinCode, true);
  layerFrame_ = new ChildWindow(layer_, ctx_.places, kWinLayer, true);
  for (ChildWindow* frame : {designFrame_, sourceFrame_, codeFrame_, layerFrame_}) {
    mdi_->addSubWindow(frame);
  }
  // Title bar buttons stay apart however small the page is.
  designFrame_->setMinimumSize(240, 160);
  RestoreFormPosition(*sourceFrame_, ctx_.state, kWinSource);
  RestoreFormPosition(*codeFrame_, ctx_.state, kWinCode);
  RestoreFormPosition(*layerFrame_, ctx_.state, kWinLayer);
  // The design window sits at the top left, sized by the page and the zoom (the startup page's
  // when one is being made).
  if (startup_) {
    // Until the startup page comes, the window holds the place of a default page.
    ViewState provisional = ctx_.view;
    ApplyPageLayout(provisional);
    design_->canvas().reservePage(QSize(provisional.widthPx, provisional.heightPx));
    fitDesignFrame();
  } else {
    SetZoom();
  }
  designFrame_->move(4, 4);
}

void MainWindow::arrangeFirstStart() {
  // Without settings every window would sit at the top left at 1000 twips; a first start gets
  // a usable arrangement instead, and the places are kept from then on.
  const QSize area = mdi_->size().expandedTo(QSize(900, 600));
  const int right = std::max(420, area.width() * 3 / 5);
  sourceFrame_->setGeometry(right, 0, area.width() - right, area.height() / 2);
  layerFrame_->setGeometry(right, area.height() / 2, area.width() - right, area.height() / 2);
  codeFrame_->setGeometry(0, area.height() * 2 / 3, right, area.height() / 3);
  fitDesignFrame();
  designFrame_->resize(designFrame_->size().boundedTo(QSize(right, area.height() * 2 / 3)));
}

void MainWindow::showLockKeys() {
  const std::optional<LockKeys> keys = ReadLockKeys();
  // Where the state cannot be read the panels stay dim.
  panels_[2]->setEnabled(keys && keys->capsLock);
  panels_[3]->setEnabled(keys && keys->numLock);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock) showLockKeys();
  } else if (event->type() == QEvent::ApplicationActivate) {
    showLockKeys();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::SetGuideText(const QString& text) {
  panels_[0]->setText(text);
}

void MainWindow::SetLayerStatus(const QString& text) {
  panels_[1]->setText(QStringLiteral("ﾚｲﾔｰ：") + text);
}

void MainWindow::showPosition(double x, double y) {
  position_->setText(Q(PositionText(x, y)));
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!activated_) QTimer::singleShot(0, this, &MainWindow::firstActivation);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (ctx_.state.closing) SaveFormPosition(*this, ctx_.places, kWinMain);
}

void MainWindow::keepChildrenReachable() {
  const QRect area = mdi_->viewport()->rect();
  if (area.width() < 50 || area.height() < 50) return;
  for (ChildWindow* frame : {sourceFrame_, codeFrame_, layerFrame_, designFrame_}) {
    if (frame->isMinimized() || frame->isMaximized()) continue;
    QRect g = frame->geometry();
    g.setSize(g.size().boundedTo(area.size()).expandedTo(frame->minimumSize()));
    g.moveLeft(std::clamp(g.left(), 0, std::max(0, area.width() - g.width())));
    g.moveTop(std::clamp(g.top(), 0, std::max(0, area.height() - g.height())));
    if (g != frame->geometry()) frame->setGeometry(g);
  }
  fitDesignFrame();
}

Surface* MainWindow::pageSurface() {
  return design_ ? design_->canvas().surface() : nullptr;
}

void MainWindow::pageChanged(const std::optional<PageRect>& area) {
  design_->canvas().showArea(area);
}

void MainWindow::guideText(std::string_view text) {
  SetGuideText(Q(text));
}

void MainWindow::layerStatus(int16_t layer) {
  SetLayerStatus(QString::number(layer));
}

void MainWindow::historyChanged() {
  showHistory();
}

void MainWindow::showHistory() {
  action("QFM311")->setEnabled(ctx_.editor.canUndo());
  action("QFM312")->setEnabled(ctx_.editor.canRedo());
  showLayoutState();
  if (source_) source_->designAt(ctx_.editor.revision());
}

void MainWindow::pointerShape(PointerShape shape) {
  DesignCanvas& canvas = design_->canvas();
  switch (shape) {
    case PointerShape::Cross:
      canvas.setCursor(Qt::CrossCursor);
      break;
    case PointerShape::Busy:
      canvas.setCursor(Qt::WaitCursor);
      break;
    case PointerShape::Normal:
      canvas.unsetCursor();
      break;
  }
}

void MainWindow::pointerAt(double x, double y) {
  showPosition(x, y);
}

void MainWindow::dragSize(double dx, double dy) {
  size_->setText(Q(DragSizeText(dx, dy)));
}

void MainWindow::offPageWarning(std::string_view text) {
  // Over the guide for a while; the guide comes back by itself.
  statusBar()->showMessage(Q(text), 8000);
}

void MainWindow::prepareTextFeedback(const ObjectRecord& text) {
  design_->canvas().prepareTextFeedback(text);
}

void MainWindow::objectPicked() {
  designFrame_->show();
  mdi_->setActiveSubWindow(designFrame_);
}

void MainWindow::recordAllPlaces() {
  SaveFormPosition(*this, ctx_.places, kWinMain);
  SaveFormPosition(*designFrame_, ctx_.places, kWinDesign);
  SaveFormPosition(*codeFrame_, ctx_.places, kWinCode);
  SaveFormPosition(*sourceFrame_, ctx_.places, kWinSource);
  SaveFormPosition(*layerFrame_, ctx_.places, kWinLayer);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The close box asks what Exit asks, so unsaved changes are never lost without a question.
  if (!closeConfirmed_ && !askDiscard()) {
    event->ignore();
    return;
  }
  ctx_.state.closing = true;
  recordAllPlaces();
  const FileStatus st = SaveSettings(ctx_.settingsPath, ctx_.state);
  if (!st.ok()) {
    // Settings are a convenience: the program still ends, and says why they were not kept.
    qWarning("quillform: settings not saved: %s", st.detail.c_str());
  }
  event->accept();
}

}  // namespace qf
