#include "design_window.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "platform/qt_fonts.h"

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

DesignCanvas::DesignCanvas(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), textLabel_(new QLabel(this)) {
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
  ApplyPageLayout(ctx_.view);
  adoptPage(PageImage(ctx_.view));
}

void DesignCanvas::adoptPage(QImage image) {
  surface_.reset();
  image_ = std::move(image);
  surface_ = std::make_unique<CanvasSurface>(image_, ctx_.view.page.scaleWidth,
                                             ctx_.view.page.scaleHeight, *textLabel_);
  setFixedSize(image_.size());
  update();
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
}

QPointF DesignCanvas::pagePoint(const QMouseEvent* event) const {
  const QPointF px = event->position();
  return {px.x() * ctx_.view.page.scaleWidth / std::max(1, image_.width()),
          px.y() * ctx_.view.page.scaleHeight / std::max(1, image_.height())};
}

void DesignCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPointF p = pagePoint(event);
  ctx_.editor.pointerPressed(p.x(), p.y());
}

void DesignCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = pagePoint(event);
  ctx_.editor.pointerMoved(p.x(), p.y());
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent* event) {
  const QPointF p = pagePoint(event);
  if (event->button() == Qt::LeftButton) ctx_.editor.pointerReleased(p.x(), p.y());
  if (event->button() == Qt::RightButton) ctx_.editor.rightReleased();
}

void DesignCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // The first click went as a click; the object under the second opens its Properties.
  const QPointF p = pagePoint(event);
  if (ctx_.editor.pickObjectAt(p.x(), p.y())) emit propertiesAsked();
}

void DesignCanvas::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Delete:
      ctx_.editor.deleteSelection();
      return;
    case Qt::Key_Escape:
      ctx_.editor.escape();
      return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
      // One grid step, a tenth of one with Shift.
      const double part = event->modifiers() & Qt::ShiftModifier ? 0.1 : 1.0;
      const double gx = ctx_.design.grid.width * part;
      const double gy = ctx_.design.grid.height * part;
      const int key = event->key();
      ctx_.editor.moveSelection(key == Qt::Key_Left    ? -gx
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

void DesignCanvas::prepareTextFeedback(const ObjectRecord& text) {
  // The text in its font at the zoom, in its colour.
  textLabel_->setText(QString::fromStdString(text.Text));
  textLabel_->setFont(MakeDesignFont(
      text.Style, static_cast<double>(text.Size) * ctx_.view.zoom / 100.0, text.Bold != 0,
      text.Italic != 0, text.Strikethrough != 0, text.Underline != 0));
  QPalette p = textLabel_->palette();
  p.setColor(QPalette::WindowText, ToQColor(text.Color));
  textLabel_->setPalette(p);
  textLabel_->adjustSize();
}

DesignWindow::DesignWindow(AppContext& ctx, QWidget* parent)
    : QScrollArea(parent), canvas_(new DesignCanvas(ctx)) {
  setObjectName(QStringLiteral("frmPrev"));
  setWindowTitle(QStringLiteral("ﾃﾞｻﾞｲﾝｳｨﾝﾄﾞｳ"));
  setWidget(canvas_);
  setWidgetResizable(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setBackgroundRole(QPalette::Dark);
  setAccessibleName(windowTitle());
  // Small enough for any zoom, large enough that the frame's title bar keeps its buttons apart.
  setMinimumSize(160, 100);
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
