#pragma once

#include <QImage>
#include <QScrollArea>

class QLabel;
#include <memory>
#include <optional>

#include "platform/raster_surface.h"
#include "ui/app_context.h"
#include "view/renderer.h"

namespace qf {

// The page at the zoom: an image the renderer draws on with reversible raster operations,
// shown as it is. It keeps no other picture of the design.
class DesignCanvas final : public QWidget {
  Q_OBJECT

 public:
  DesignCanvas(AppContext& ctx, QWidget* parent = nullptr);

  // Sizes the page for the zoom (ApplyPageLayout) and starts a new image.
  void applyPageLayout();
  // Shows a page drawn elsewhere for the current view (the first page, drawn while the
  // windows were being built).
  void adoptPage(QImage image);
  // Takes the size of a page that is still being made, without drawing anything yet.
  void reservePage(QSize size);
  // What the editor draws on.
  Surface* surface() { return surface_.get(); }
  // Shows again the part of the page that changed (all of it when none is given).
  void showArea(const std::optional<PageRect>& area);
  const QImage& image() const { return image_; }
  // The label that follows the pointer while a new text is dragged.
  void prepareTextFeedback(const ObjectRecord& text);

 signals:
  // A double-click picked an object: its Properties are wanted.
  void propertiesAsked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPointF pagePoint(const QMouseEvent* event) const;

  AppContext& ctx_;
  QLabel* textLabel_;
  QImage image_;
  std::unique_ptr<RasterSurface> surface_;
};

// The design window: the canvas inside scroll bars for pages larger than the window.
class DesignWindow final : public QScrollArea {
  Q_OBJECT

 public:
  DesignWindow(AppContext& ctx, QWidget* parent = nullptr);
  DesignCanvas& canvas() { return *canvas_; }

 signals:
  // Ctrl+wheel: a zoom step in or out around a point of the viewport.
  void zoomStep(bool in, QPoint around);

 protected:
  // The wheel scrolls, Shift+wheel sideways, Ctrl+wheel zooms.
  void wheelEvent(QWheelEvent* event) override;

 private:
  DesignCanvas* canvas_;
};

}  // namespace qf
