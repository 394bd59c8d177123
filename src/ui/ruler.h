#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "view/page_view.h"

namespace qf {

// A ruler along the top or the left of the design window, in the page's own units: marks
// where the page lies under it now (scrolled and zoomed), and the pointer's place.
class Ruler final : public QWidget {
 public:
  static constexpr int kThickness = 22;

  Ruler(Qt::Orientation orientation, const ViewState& view, QWidget* parent = nullptr);

  // The marker is painted at most this often: faster than the display refreshes is wasted.
  static constexpr int kMarkerMs = 16;

  // Where the page's first pixel stands on the ruler (negative when scrolled past it).
  void setPageOrigin(int origin);
  int pageOrigin() const { return origin_; }
  // The pointer's place in page pixels, or none when it left the page.
  void setPointer(std::optional<int> pixel);
  std::optional<int> pointer() const { return pointer_; }
  // The page's zoom or units changed: the marks are drawn again.
  void refresh();
  // Paints the marker where the pointer is now (what the timer does).
  void showPointer();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The strip of the ruler a marker at a page pixel takes.
  QRect markerStrip(int pixel) const;
  // The marks and numbers, drawn once for each origin, size and view: a pointer's move only
  // copies two strips of them.
  void drawScale();

  Qt::Orientation orientation_;
  const ViewState& view_;
  int origin_ = 0;
  std::optional<int> pointer_;
  std::optional<int> shown_;  // where the marker was last painted
  QTimer markerTimer_;
  QPixmap scale_;
  bool scaleDrawn_ = false;
};

}  // namespace qf
