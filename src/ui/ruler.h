#pragma once

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

  // Where the page's first pixel stands on the ruler (negative when scrolled past it).
  void setPageOrigin(int origin);
  int pageOrigin() const { return origin_; }
  // The pointer's place in page pixels, or none when it left the page.
  void setPointer(std::optional<int> pixel);
  std::optional<int> pointer() const { return pointer_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The strip of the ruler a marker at a page pixel takes.
  QRect markerStrip(int pixel) const;

  Qt::Orientation orientation_;
  const ViewState& view_;
  int origin_ = 0;
  std::optional<int> pointer_;
};

}  // namespace qf
