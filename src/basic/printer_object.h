#pragma once

#include <memory>
#include <string>

#include "basic/canvas.h"
#include "view/page_view.h"
#include "view/surface.h"

namespace qf::basic {

// The state a printer keeps for the whole run: font, colours, pen, fill, the current point.
struct PrinterState {
  FontSpec font{"ＭＳ 明朝", 9, false, false, false, false};
  int32_t foreColor = 0;
  int drawMode = static_cast<int>(DrawMode::CopyPen);
  int drawStyle = 0;
  int drawWidth = 1;
  int fillStyle = static_cast<int>(FillStyle::Transparent);
  int32_t fillColor = 0;
  double currentX = 0;
  double currentY = 0;
};

// The program's Printer: its page settings go to a PrinterPort, its drawing to the port's page
// surface (begun at the first thing drawn), with the state the program set.
class PrinterObject final : public Canvas {
 public:
  PrinterObject(PrinterPort& port, PictureStore& pictures) : port_(port), pictures_(pictures) {}

  std::string_view typeName() const override { return "Printer"; }
  Value get(std::string_view member) override;
  void set(std::string_view member, const Value& value) override;
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;

  void printText(std::string_view text) override;
  void nextZone() override;
  void newLine() override;
  void drawLine(std::optional<double> x1, std::optional<double> y1, double x2, double y2,
                std::optional<int32_t> color, bool box, bool fill) override;
  void drawCircle(double x, double y, double radius, std::optional<int32_t> color,
                  std::optional<double> start, std::optional<double> end,
                  std::optional<double> aspect) override;
  void setPixel(double x, double y, std::optional<int32_t> color) override;

  // Pages begun, and whether EndDoc ended the document.
  int pages() const { return pages_; }
  bool ended() const { return ended_; }
  // Ends the document when the program did not (as the language does when a program ends);
  // false with a reason when it could not be printed.
  bool finish(std::string* error);

  PrinterState& state() { return state_; }

 private:
  Surface& page();
  // The pen, fill and colour state onto the page before a figure.
  Surface& penReady();
  Surface& textReady();
  Value font(std::string_view member) const;

  PrinterPort& port_;
  PictureStore& pictures_;
  PrinterState state_;
  Surface* page_ = nullptr;
  int pages_ = 0;
  bool ended_ = false;
  std::shared_ptr<Object> fontObject_;
};

// A picture LoadPicture made: drawn by PaintPicture.
class PictureObject final : public Object {
 public:
  explicit PictureObject(const Picture& picture) : picture_(picture) {}
  std::string_view typeName() const override { return "Picture"; }
  Value get(std::string_view member) override;
  const Picture& picture() const { return picture_; }

 private:
  const Picture& picture_;
};

}  // namespace qf::basic
