#include "design_window.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "document/typed_object.h"
#include "platform/qt_fonts.h"
#include "source/page_tables.h"
#include "ui/qt_text.h"
#include "ui/ruler.h"
#include "view/renderer.h"

namespace qf {

namespace {

// The page surface of the design window: the text that follows the pointer while a new text is
// dragged is a label over the page, not drawn into it.
class CanvasSurface final : public RasterSurface {
 public:
  CanvasSurface(QImage& image, double scaleWidth, double scaleHeight, QLabel& label)
      : RasterSurface(image, scaleWidth, scaleHeight), label_(label) {}
  void showTextFeedback(double x, double y) override {
    label_.move(toPixels(x, y).toPoint());
    label_.show();
  }
  void hideTextFeedback() override { label_.hide(); }

 private:
  QLabel& label_;
};

}  // namespace

DesignCanvas::DesignCanvas(Editor& editor, ViewState& view, QWidget* parent)
    : QWidget(parent), editor_(editor), view_(view), textLabel_(new QLabel(this)) {
  setObjectName(QStringLiteral("picCanvas"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);  // Delete and Escape act on the page's selection
  setAccessibleName(QStringLiteral("ﾃﾞｻﾞｲﾝｳｨﾝﾄﾞｳ"));
  textLabel_->setObjectName(QStringLiteral("lblText"));
  textLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
  textLabel_->hide();
  // Not the contrast of the window's dark ground (white), but the text's own colour.
  textLabel_->setForegroundRole(QPalette::WindowText);
  // The page gets its size from the first applyPageLayout or adoptPage.
  adoptPage(ScreenImage(1, 1));
}

void DesignCanvas::applyPageLayout() {
  ApplyPageLayout(view_);
  adoptPage(PageImage(view_));
}

void DesignCanvas::adoptPage(QImage image) {
  surface_.reset();
  image_ = std::move(image);
  surface_ = std::make_unique<CanvasSurface>(image_, view_.page.scaleWidth, view_.page.scaleHeight,
                                             *textLabel_);
  setFixedSize(image_.size());
  update();
  emit pageAdopted();
}

void DesignCanvas::showArea(const std::optional<PageRect>& area) {
  if (!area) {
    update();
    return;
  }
  // A pixel more on each side: the area's edges may fall inside a pixel.
  update(surface_->pixelsOf(*area).adjusted(-1, -1, 1, 1));
}

void DesignCanvas::reservePage(QSize size) {
  setFixedSize(size);
  update();
}

void DesignCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  // A reserved page still being made shows blank until it comes.
  if (image_.size() != size()) p.fillRect(event->rect(), Qt::white);
  p.drawImage(event->rect().topLeft(), image_, event->rect());
  // The snap guides over whatever the page shows there: feedback, never part of the page.
  p.setPen(Qt::NoPen);
  for (const QRect& g : guidePixels()) p.fillRect(g, QColor(255, 0, 255));
  // The page's printable edge: the page shows the printable area, so its border. Painted over
  // the image, never into it, so it is not printed or exported.
  const QRect edge = rect().adjusted(0, 0, -1, -1);
  if (!edge.adjusted(1, 1, -1, -1).contains(event->rect())) {  // it reaches the edge
    p.setPen(QPen(QColor(70, 130, 210), 0, Qt::DashLine));
    p.drawRect(edge);
  }
}

QList<QRect> DesignCanvas::guidePixels() const {
  QList<QRect> lines;
  if (const auto& g = guideDown_) {
    const QRect r = surface_->pixelsOf(NormalisedRect(g->at, g->from, g->at, g->to));
    lines << QRect(r.left(), r.top(), 1, r.height());
  }
  if (const auto& g = guideAcross_) {
    const QRect r = surface_->pixelsOf(NormalisedRect(g->from, g->at, g->to, g->at));
    lines << QRect(r.left(), r.top(), r.width(), 1);
  }
  return lines;
}

void DesignCanvas::showGuides(const std::optional<GuideLine>& down,
                              const std::optional<GuideLine>& across) {
  if (down == guideDown_ && across == guideAcross_) return;
  for (const QRect& g : guidePixels()) update(g);
  guideDown_ = down;
  guideAcross_ = across;
  for (const QRect& g : guidePixels()) update(g);
}

QPointF DesignCanvas::pagePoint(const QMouseEvent* event) const {
  return pagePoint(event->position());
}

QPointF DesignCanvas::pagePoint(QPointF px) const {
  return {px.x() * view_.page.scaleWidth / std::max(1, image_.width()),
          px.y() * view_.page.scaleHeight / std::max(1, image_.height())};
}

void DesignCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPointF p = pagePoint(event);
  editor_.pointerPressed(p.x(), p.y(), event->modifiers() & Qt::ShiftModifier);
}

void DesignCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = pagePoint(event);
  editor_.pointerMoved(p.x(), p.y());
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent* event) {
  const QPointF p = pagePoint(event);
  if (event->button() == Qt::LeftButton) {
    editor_.pointerReleased(p.x(), p.y(), event->modifiers() & Qt::ShiftModifier);
  }
  if (event->button() == Qt::RightButton) editor_.rightReleased();
}

void DesignCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // The first click went as a click; the object under the second opens its Properties.
  const QPointF p = pagePoint(event);
  if (editor_.pickObjectAt(p.x(), p.y())) emit propertiesAsked();
}

void DesignCanvas::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Delete:
      editor_.deleteSelection();
      return;
    case Qt::Key_Escape:
      editor_.escape();
      return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      editor_.stepSelection(event->key() == Qt::Key_Tab &&
                            !(event->modifiers() & Qt::ShiftModifier));
      return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
      // One grid step, a tenth of one with Shift.
      const double part = event->modifiers() & Qt::ShiftModifier ? 0.1 : 1.0;
      const double gx = editor_.design().grid.width * part;
      const double gy = editor_.design().grid.height * part;
      const int key = event->key();
      editor_.moveSelection(key == Qt::Key_Left    ? -gx
                            : key == Qt::Key_Right ? gx
                                                   : 0,
                            key == Qt::Key_Up     ? -gy
                            : key == Qt::Key_Down ? gy
                                                  : 0);
      return;
    }
    default:
      QWidget::keyPressEvent(event);
  }
}

void DesignCanvas::prepareTextFeedback(const ObjectRecord& record) {
  // The text in its font at the zoom, in its colour.
  const TextObject text = TextOf(record);
  textLabel_->setText(QString::fromStdString(text.text));
  textLabel_->setFont(MakeDesignFont(text.font, static_cast<double>(text.size) * view_.zoom / 100.0,
                                     text.bold, text.italic, text.strikethrough, text.underline));
  QPalette p = textLabel_->palette();
  p.setColor(QPalette::WindowText, ToQColor(text.color));
  textLabel_->setPalette(p);
  textLabel_->adjustSize();
}

DesignWindow::DesignWindow(Editor& editor, ViewState& view, const AppState& state, QWidget* parent)
    : QScrollArea(parent),
      editor_(editor),
      view_(view),
      state_(state),
      canvas_(new DesignCanvas(editor, view)),
      top_(new Ruler(Qt::Horizontal, view, this)),
      left_(new Ruler(Qt::Vertical, view, this)),
      unit_(new QLabel(this)) {
  setObjectName(QStringLiteral("frmPrev"));
  setWindowTitle(QStringLiteral("ﾃﾞｻﾞｲﾝｳｨﾝﾄﾞｳ"));
  setWidget(canvas_);
  setWidgetResizable(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setBackgroundRole(QPalette::Dark);
  setAccessibleName(windowTitle());
  // Small enough for any zoom, large enough that the frame's title bar keeps its buttons apart.
  setMinimumSize(160, 100);
  unit_->setObjectName(QStringLiteral("lblUnit"));
  unit_->setAlignment(Qt::AlignCenter);
  unit_->setAutoFillBackground(true);
  unit_->setBackgroundRole(QPalette::Button);
  QFont small = unit_->font();
  small.setPixelSize(9);
  unit_->setFont(small);
  canvas_->installEventFilter(this);
  connect(canvas_, &DesignCanvas::pageAdopted, this, &DesignWindow::followPage);
  autoScroll_.setInterval(30);
  connect(&autoScroll_, &QTimer::timeout, this, &DesignWindow::scrollTowardPointer);
  showRulers();
}

void DesignWindow::showPageArea(const PageRect& area) {
  const QRect px = canvas_->pixelsOf(area);
  constexpr int kRoom = 16;
  ensureVisible(px.center().x(), px.center().y(), px.width() / 2 + kRoom, px.height() / 2 + kRoom);
}

void DesignWindow::showRulers() {
  const bool shown = state_.rulers;
  const int m = shown ? Ruler::kThickness : 0;
  setViewportMargins(m, m, 0, 0);
  top_->setVisible(shown);
  left_->setVisible(shown);
  unit_->setVisible(shown);
  placeRulers();
}

void DesignWindow::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  placeRulers();
}

void DesignWindow::placeRulers() {
  if (!state_.rulers) return;
  const QRect vp = viewport()->geometry();
  const int m = Ruler::kThickness;
  top_->setGeometry(vp.left(), vp.top() - m, vp.width(), m);
  left_->setGeometry(vp.left() - m, vp.top(), m, vp.height());
  unit_->setGeometry(vp.left() - m, vp.top() - m, m, m);
  followPage();
}

void DesignWindow::followScrolling() {
  top_->setPageOrigin(canvas_->x());
  left_->setPageOrigin(canvas_->y());
}

void DesignWindow::followPage() {
  followScrolling();
  const QString unit = Q(P_UnitName(view_.page.scaleMode));
  unit_->setText(unit);
  unit_->setAccessibleName(QStringLiteral("単位 ") + unit);
  // A new zoom or unit with the same origin: the marks change all the same.
  top_->refresh();
  left_->refresh();
}

bool DesignWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == canvas_) {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
        followScrolling();
        break;
      case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        top_->setPointer(at.x());
        left_->setPointer(at.y());
        // A drag held past the window's edge scrolls it while it stays there.
        held_ = canvas_->mapTo(viewport(), at);
        const bool outside = !viewport()->rect().contains(held_);
        if (outside && editor_.gesture() != Gesture::Idle) {
          if (!autoScroll_.isActive()) autoScroll_.start();
        } else {
          autoScroll_.stop();
        }
        break;
      }
      case QEvent::MouseButtonRelease:
        autoScroll_.stop();
        break;
      case QEvent::Leave:
        top_->setPointer(std::nullopt);
        left_->setPointer(std::nullopt);
        break;
      default:
        break;
    }
  }
  return QScrollArea::eventFilter(watched, event);
}

void DesignWindow::scrollTowardPointer() {
  const QRect vp = viewport()->rect();
  if (editor_.gesture() == Gesture::Idle || vp.contains(held_)) {
    autoScroll_.stop();
    return;
  }
  // Faster the further past the edge, a step at least.
  const auto step = [](int past) {
    return past == 0 ? 0 : (past > 0 ? 1 : -1) * std::clamp(std::abs(past), 8, 80);
  };
  const int dx = held_.x() < vp.left()    ? step(held_.x() - vp.left())
                 : held_.x() > vp.right() ? step(held_.x() - vp.right())
                                          : 0;
  const int dy = held_.y() < vp.top()      ? step(held_.y() - vp.top())
                 : held_.y() > vp.bottom() ? step(held_.y() - vp.bottom())
                                           : 0;
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  const QPoint before(h->value(), v->value());
  h->setValue(h->value() + dx);
  v->setValue(v->value() + dy);
  if (QPoint(h->value(), v->value()) == before) return;  // at the end of the page
  // The pointer stays where it is on the screen; the page moved under it.
  const QPointF p = canvas_->pagePoint(QPointF(canvas_->mapFrom(viewport(), held_)));
  editor_.pointerMoved(p.x(), p.y());
}

void DesignWindow::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  if (event->modifiers() & Qt::ControlModifier) {
    if (delta.y() != 0) emit zoomStep(delta.y() > 0, event->position().toPoint());
    event->accept();
    return;
  }
  if ((event->modifiers() & Qt::ShiftModifier) && delta.x() == 0 && delta.y() != 0) {
    // Sideways, a wheel step as far as a vertical one goes.
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(bar->value() - delta.y() / 120 * bar->singleStep() * 3);
    event->accept();
    return;
  }
  QScrollArea::wheelEvent(event);
}

}  // namespace qf
