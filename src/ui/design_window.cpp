#include "design_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace qf {

QPointF SnapToGrid(const AppContext& ctx, QPointF p) {
  if (!ctx.state.snapOn) return p;
  const double gw = ctx.design.grid.width;
  const double gh = ctx.design.grid.height;
  const double left = ctx.design.page.marginLeft;
  const double top = ctx.design.page.marginTop;
  // A pitch of zero or less does not snap.
  const double x = gw > 0 ? std::floor((p.x() - left) / gw) * gw + left : p.x();
  const double y = gh > 0 ? std::floor((p.y() - top) / gh) * gh + top : p.y();
  return {x, y};
}

DesignCanvas::DesignCanvas(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("picCanvas"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleName(QStringLiteral("ﾃﾞｻﾞｲﾝｳｨﾝﾄﾞｳ"));
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
  surface_ = std::make_unique<RasterSurface>(image_, ctx_.view.page.scaleWidth,
                                             ctx_.view.page.scaleHeight);
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

void DesignCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPointF px = event->position();
  const double x = px.x() * ctx_.view.page.scaleWidth / std::max(1, image_.width());
  const double y = px.y() * ctx_.view.page.scaleHeight / std::max(1, image_.height());
  const QPointF snapped = SnapToGrid(ctx_, {x, y});
  emit pointerMoved(snapped.x(), snapped.y());
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

}  // namespace qf
