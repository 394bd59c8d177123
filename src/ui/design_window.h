#pragma once

#include <QImage>
#include <QPoint>
#include <QScrollArea>
#include <QTimer>
#include <memory>
#include <optional>

class QLabel;

#include "edit/editor.h"
#include "platform/raster_surface.h"
#include "shell/app_state.h"
#include "view/page_view.h"
#include "view/renderer.h"

namespace qf {

// The page at the zoom: an image the renderer draws on with reversible raster operations,
// shown as it is. It keeps no other picture of the design.
class DesignCanvas final : public QWidget {
  Q_OBJECT

 public:
  // The design is read through the editor and changed only by its commands.
  DesignCanvas(Editor& editor, ViewState& view, QWidget* parent = nullptr);

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
  // The pixels of the page a part of it covers.
  QRect pixelsOf(const PageRect& area) const { return surface_->pixelsOf(area); }
  const QImage& image() const { return image_; }
  // The label that follows the pointer while a new text is dragged.
  void prepareTextFeedback(const ObjectRecord& text);
  // The snap guides laid over the page (none: taken off), in one colour over any ink.
  void showGuides(const std::optional<GuideLine>& down, const std::optional<GuideLine>& across);
  // A pixel of the canvas in page units.
  QPointF pagePoint(QPointF pixel) const;

 signals:
  // A double-click picked an object: its Properties are wanted.
  void propertiesAsked();
  // A page was sized or drawn for a new view (zoom, page, units).
  void pageAdopted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Tab and Shift+Tab step through the objects instead of moving the focus.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  QPointF pagePoint(const QMouseEvent* event) const;
  // The pixels the guides cover, a line of them each.
  QList<QRect> guidePixels() const;

  Editor& editor_;
  ViewState& view_;
  QLabel* textLabel_;
  QImage image_;
  std::unique_ptr<RasterSurface> surface_;
  std::optional<GuideLine> guideDown_;
  std::optional<GuideLine> guideAcross_;
};

class Ruler;

// The design window: the canvas inside scroll bars for pages larger than the window, with
// rulers along the top and the left. A drag taken past the window's edge scrolls it.
class DesignWindow final : public QScrollArea {
  Q_OBJECT

 public:
  DesignWindow(Editor& editor, ViewState& view, const AppState& state, QWidget* parent = nullptr);
  DesignCanvas& canvas() { return *canvas_; }
  // Scrolls, when it must, so that a part of the page (an object picked from a list) shows with
  // a little room around it; the part's middle when all of it does not fit.
  void showPageArea(const PageRect& area);
  // The rulers shown or hidden as the settings' ruler flag says.
  void showRulers();

 signals:
  // Ctrl+wheel: a zoom step in or out around a point of the viewport.
  void zoomStep(bool in, QPoint around);

 protected:
  // The wheel scrolls, Shift+wheel sideways, Ctrl+wheel zooms.
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // The canvas's moves (scrolling), sizes and pointer, for the rulers and the drag's scrolling.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void placeRulers();
  // The rulers follow the page's place in the window.
  void followScrolling();
  // ... and a new page: its zoom and units too.
  void followPage();
  // One step of scrolling toward the pointer held past the edge, the drag following it.
  void scrollTowardPointer();

  Editor& editor_;
  ViewState& view_;
  const AppState& state_;
  DesignCanvas* canvas_;
  Ruler* top_;
  Ruler* left_;
  QLabel* unit_;  // the corner between the rulers: the page's unit
  QTimer autoScroll_;
  QPoint held_;  // the pointer past the edge, in viewport pixels
};

}  // namespace qf
