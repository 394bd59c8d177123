#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "view/surface.h"

namespace qf::test {

// Records every drawing call as a line of text, with numbers rounded to 3 decimals. Colours are
// the hex of the stored value, red in the low byte: red is #0000FF, blue #FF0000.
class RecordingSurface final : public Surface {
 public:
  void setDrawMode(DrawMode m) override { add("mode " + std::to_string(static_cast<int>(m))); }
  void setDrawStyle(int s) override { add("style " + std::to_string(s)); }
  void setDrawWidth(int w) override { add("width " + std::to_string(w)); }
  void setFillStyle(FillStyle s) override {
    add("fillstyle " + std::to_string(static_cast<int>(s)));
  }
  void setFillColor(int32_t c) override {
    fill_ = c;
    add("fillcolor " + Hex(c));
  }
  int32_t fillColor() const override { return fill_; }
  void setForeColor(int32_t c) override { add("fore " + Hex(c)); }
  void setFont(const FontSpec& f) override {
    add("font " + f.name + " " + N(f.pointSize) + (f.bold ? " B" : "") + (f.italic ? " I" : "") +
        (f.strikethrough ? " S" : "") + (f.underline ? " U" : ""));
  }
  void setCurrentXY(double x, double y) override { add("at " + N(x) + "," + N(y)); }
  void line(double x1, double y1, double x2, double y2, int32_t c) override {
    add("line " + N(x1) + "," + N(y1) + "-" + N(x2) + "," + N(y2) + " " + Hex(c));
  }
  void box(double x1, double y1, double x2, double y2, int32_t c, bool filled) override {
    add(std::string(filled ? "boxfill " : "box ") + N(x1) + "," + N(y1) + "-" + N(x2) + "," +
        N(y2) + " " + Hex(c));
  }
  void circle(double cx, double cy, double r, int32_t c, double aspect, std::optional<double> s,
              std::optional<double> e) override {
    std::string text =
        "circle " + N(cx) + "," + N(cy) + " r" + N(r) + " " + Hex(c) + " a" + N(aspect);
    if (s && e) text += " arc " + N(*s) + "-" + N(*e);
    add(text);
  }
  void paintPicture(const Picture&, double x, double y, double w, double h, RasterOp op) override {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(op));
    add("picture " + N(x) + "," + N(y) + " " + N(w) + "x" + N(h) + " " + buf);
  }
  void print(std::string_view text) override { add("print " + std::string(text)); }
  void clear() override { add("clear"); }
  double textWidth(std::string_view text) override { return static_cast<double>(text.size()); }
  void showTextFeedback(double x, double y) override { add("showlabel " + N(x) + "," + N(y)); }
  void hideTextFeedback() override { add("hidelabel"); }

  // Only the calls that start with one of the prefixes.
  std::vector<std::string> only(std::initializer_list<std::string> prefixes) const {
    std::vector<std::string> out;
    for (const std::string& c : calls) {
      for (const std::string& p : prefixes) {
        if (c.rfind(p, 0) == 0) {
          out.push_back(c);
          break;
        }
      }
    }
    return out;
  }

  std::vector<std::string> calls;

 private:
  static std::string N(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
  }
  static std::string Hex(int32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(c) & 0xFFFFFFu);
    return buf;
  }
  void add(std::string s) { calls.push_back(std::move(s)); }
  int32_t fill_ = 0;
};

// A picture of a fixed size for any path named in `known`.
class FakePictures final : public PictureStore {
 public:
  class Pic final : public Picture {
   public:
    double widthPoints() const override { return 72; }  // one inch
    double heightPoints() const override { return 36; }
    std::shared_ptr<const Picture> copy() const override { return std::make_shared<Pic>(); }
  };
  const Picture* picture(std::string_view path) override {
    ++requests;
    return path == known ? &pic_ : nullptr;
  }
  std::string known = "logo.png";
  int requests = 0;

 private:
  Pic pic_;
};

}  // namespace qf::test
