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
#include <array>
#include <functional>
#include <iterator>

#include "platform/lock_keys.h"
#include "shell/app_paths.h"
#include "shell/settings_file.h"
#include "shell/ui_text.h"
#include "ui/busy_cursor.h"
#include "ui/child_window.h"
#include "ui/code_window.h"
#include "ui/design_window.h"
#include "ui/icons.h"
#include "ui/layer_window.h"
#include "ui/object_dialogs.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/source_window.h"
#include "ui/window_places.h"
#include "view/renderer.h"

namespace qf {

namespace {

// Calls `then` once `widget` has been painted next, after the paint is through.
class NextPaintWatch final : public QObject {
 public:
  NextPaintWatch(QWidget& widget, std::function<void()> then)
      : QObject(&widget), then_(std::move(then)) {
    widget.installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, watched, std::move(then_));
      deleteLater();
    }
    return false;
  }

 private:
  std::function<void()> then_;
};

void AfterNextPaint(QWidget& widget, std::function<void()> then) {
  new NextPaintWatch(widget, std::move(then));  // owned by the widget, gone after the paint
}

}  // namespace

MainWindow::MainWindow(AppContext& ctx, Prompter& prompter, std::unique_ptr<StartupLoader> startup)
    : ctx_(ctx),
      prompter_(prompter),
      startup_(std::move(startup)),
      dialogs_(std::make_unique<ObjectDialogs>(ctx, prompter, this)) {
  setObjectName(QStringLiteral("frmQFMain"));
  setWindowTitle(Q(kAppTitle));  // the caption does not follow the open file
  mdi_ = new QMdiArea;
  mdi_->setObjectName(QStringLiteral("mdiArea"));
  // A child moved past the edge can always be scrolled back into reach.
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  buildCommands();
  buildStatusBar();
  RestoreFormPosition(*this, ctx_.state, kWinMain);
  if (ctx_.state.firstStart) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      resize(MainWindowStartSize(ctx_.state));
      move(screen->availableGeometry().center() - rect().center());
    }
  }
  buildChildren();
  UpdateRecentFiles(false);
  SetLayerStatus(QString::number(ctx_.editor.currentLayer()));
  ctx_.editor.attach(this);
  historyChanged();
}

MainWindow::~MainWindow() {
  ctx_.editor.attach(nullptr);
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
  design_ = new DesignWindow(ctx_.editor, ctx_.view, ctx_.state);
  source_ = new SourceWindow;
  source_->setLanguage(ctx_.state.sourceLanguage);
  connect(source_, &SourceWindow::languageChosen, this,
          [this](SourceLanguage language) { ctx_.state.sourceLanguage = language; });
  code_ = new CodeWindow(ctx_.editor);
  layer_ = new LayerWindow(ctx_.editor, prompter_);
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
  designFrame_->move(kDesignFrameAt);
}

void MainWindow::arrangeFirstStart() {
  // Without settings every window would sit at the top left at 1000 twips; a first start gets
  // a usable arrangement instead, and the places are kept from then on.
  const std::array<QRect, 3> places = FirstStartPlaces(mdi_->size());
  sourceFrame_->setGeometry(places[0]);
  codeFrame_->setGeometry(places[1]);
  layerFrame_->setGeometry(places[2]);
  fitDesignFrame();
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
  showState();
  if (code_) code_->showSelection();
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

void MainWindow::refused(std::string_view why) {
  statusBar()->showMessage(Q(why), 8000);
}

void MainWindow::offPageWarning(std::string_view text) {
  // Over the guide for a while; the guide comes back by itself.
  statusBar()->showMessage(Q(text), 8000);
}

void MainWindow::snapGuides(const std::optional<GuideLine>& down,
                            const std::optional<GuideLine>& across) {
  design_->canvas().showGuides(down, across);
}

void MainWindow::prepareTextFeedback(const ObjectRecord& text) {
  design_->canvas().prepareTextFeedback(text);
}

void MainWindow::objectPicked() {
  designFrame_->show();
  mdi_->setActiveSubWindow(designFrame_);
  // The object is shown, and the page has the keys: the guide says Delete deletes it.
  const std::vector<int>& rows = ctx_.editor.selectedRows();
  if (!rows.empty()) {
    const WorkingRect box = ctx_.editor.selectionBox(rows.front());
    design_->showPageArea(NormalisedRect(box.x1, box.y1, box.x2, box.y2));
  }
  design_->canvas().setFocus(Qt::OtherFocusReason);
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

void MainWindow::firstActivation() {
  if (activated_) return;
  activated_ = true;
  // The children are arranged once the main window has its real size (and again below, once
  // the page's size is known).
  if (ctx_.state.firstStart) arrangeFirstStart();
  if (startup_) {
    std::unique_ptr<StartupPage> page;
    {
      BusyCursor busy;
      // A large design takes a while: meanwhile the windows keep painting and the splash's
      // timer runs, but no input is taken until the page is there.
      while (!startup_->ready(std::chrono::milliseconds(100))) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      }
      page = startup_->take();
    }
    startup_.reset();
    adoptStartupPage(*page);
  } else {
    // The design as it stands is where undo starts.
    ctx_.editor.designLoaded({});
    redrawPage();
  }
  if (ctx_.state.firstStart) arrangeFirstStart();
  keepChildrenReachable();
  // What the window shows of the page is drawn now, the rest of a large page just after.
  const QSize seen = design_->viewport()->size();
  ctx_.editor.drawOwed(TopLeftPixels(ctx_.view, seen.width(), seen.height()));
  mdi_->setActiveSubWindow(designFrame_);
  design_->canvas().repaint();
  emit designShown();
  // The rest once the window has been painted: until then it would only delay the paint.
  AfterNextPaint(design_->canvas(), [this] { ctx_.editor.drawOwed(); });
  design_->canvas().update();
}

void MainWindow::adoptStartupPage(StartupPage& page) {
  ctx_.printer = std::move(page.printer);
  ctx_.textMeasurer = std::move(page.textMeasurer);
  ctx_.pictures = std::move(page.pictures);
  if (page.loaded()) {
    ctx_.design = std::move(page.design);
  } else {
    ctx_.design.page = page.design.page;
  }
  ctx_.view = page.view;
  design_->canvas().adoptPage(std::move(page.image));
  ctx_.editor.pageDrawnElsewhere(std::move(page.owed));
  fitDesignFrame();
  if (page.loaded()) {
    designLoaded(Q(page.file), page.decided);
    if (!page.decided.warning.empty()) {
      if (splash_) splash_->close();
      prompter_.showMessage(this, Q(page.decided.warning), MessageKind::Warning);
    }
    return;
  }
  ctx_.editor.designLoaded({});
  if (!page.status.ok()) {
    if (splash_) splash_->close();  // the message must not hide behind the splash
    prompter_.showMessage(this, WithDetail(kMsgReadFailed, page.status), MessageKind::Warning);
  }
}

}  // namespace qf
