#pragma once

#include <string>

#include "document/design.h"
#include "document/object_rows.h"

namespace qf::test {

// Builds designs object by object, as the dialogs and the design window do.
class DesignBuilder {
 public:
  DesignBuilder& layer(int number, const std::string& name) {
    const int row = design.layers.insertRow(1);
    design.layers.setCell(row, kLayerNumber, std::to_string(number));
    design.layers.setCell(row, kLayerName, name);
    return *this;
  }
  DesignBuilder& on(int layerNumber) {
    layer_ = static_cast<int16_t>(layerNumber);
    return *this;
  }
  DesignBuilder& text(const std::string& text, double x, double y, int align = 0,
                      const std::string& field = "", const std::string& font = "ＭＳ 明朝",
                      float size = 10.5f, int16_t bold = 0, int32_t color = 0) {
    ObjectRecord r;
    r.Kind = ObjectKind::Text;
    r.Color = color;
    r.Label = "t";
    r.Text = text;
    r.Field = field;
    r.Style = font;
    r.Size = size;
    r.Bold = bold;
    r.Align = static_cast<int16_t>(align);
    return add(r, {x, y, x, y});
  }
  DesignBuilder& box(double x1, double y1, double x2, double y2, const std::string& hatch,
                     const std::string& radius) {
    ObjectRecord r;
    r.Kind = ObjectKind::Box;
    r.Label = "b";
    r.Text = hatch;
    r.Field = radius;
    r.Style = "0";
    r.Size = 1;
    return add(r, {x1, y1, x2, y2});
  }
  DesignBuilder& repeat(const std::string& var, bool vertical, double gap = 5, float count = 9) {
    return command("0", var, vertical, gap, count);
  }
  DesignBuilder& end(const std::string& var, bool vertical) {
    return command("1", var, vertical, 5, 9);
  }
  DesignBuilder& figure(ObjectKind kind, double x1, double y1, double x2, double y2,
                        const std::string& hatch = "0", int32_t color = 0,
                        const std::string& style = "0", float width = 1) {
    ObjectRecord r;
    r.Kind = kind;
    r.Label = "f";
    r.Text = kind == ObjectKind::Line ? "" : hatch;
    r.Style = style;
    r.Size = width;
    r.Color = color;
    return add(r, {x1, y1, x2, y2});
  }
  DesignBuilder& picture(const std::string& path, double x, double y, bool transparent) {
    ObjectRecord r;
    r.Kind = ObjectKind::Picture;
    r.Text = path;
    r.Style = transparent ? "1" : "0";
    return add(r, {x, y, x, y});
  }
  DesignBuilder& add(const ObjectRecord& r, WorkingRect rect) {
    AddObject(design.objects, r, rect, {}, layer_);
    return *this;
  }

  Design design;

 private:
  DesignBuilder& command(const std::string& mode, const std::string& var, bool vertical, double gap,
                         float count) {
    ObjectRecord r;
    r.Kind = ObjectKind::Command;
    r.Label = "明細";
    r.X1 = gap;
    r.Text = mode;
    r.Field = var;
    r.Style = vertical ? "0" : "1";
    r.Size = count;
    return add(r, {});
  }
  int16_t layer_ = 1;
};

}  // namespace qf::test
