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

// A scale of the program's own (Scale, ScaleLeft, ScaleWidth …) over the port's units: a port
// unit is (u - left) * factor. The identity while the program keeps a named ScaleMode.
struct UserScale {
  bool on = false;
  double left = 0;
  double top = 0;
  double fx = 1;
  double fy = 1;
};

// The program's Printer: its page settings go to a PrinterPort, its drawing to the port's page
// surface (begun at the first thing drawn), with the state the program set. It starts in twips,
// as the language's Printer does. Each EndDoc ends a job; the jobs' pages go to the port one
// after the other, and the port's document ends once, when the run does.
class PrinterObject final : public Canvas {
 public:
  PrinterObject(PrinterPort& port, PictureStore& pictures);

  std::string_view typeName() const override { return "Printer"; }
  Value get(std::string_view member) override;
  void set(std::string_view member, const Value& value) override;
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;

  void printText(std::string_view text) override;
  void nextZone() override;
  void newLine() override;
  void tabTo(long column) override;
  void spaces(long count) override;
  void drawLine(std::optional<double> x1, std::optional<double> y1, double x2, double y2,
                std::optional<int32_t> color, bool box, bool fill) override;
  void drawCircle(double x, double y, double radius, std::optional<int32_t> color,
                  std::optional<double> start, std::optional<double> end,
                  std::optional<double> aspect) override;
  void setPixel(double x, double y, std::optional<int32_t> color) override;

  // Ends the port's document when anything was printed; false with a reason when it could not
  // be printed.
  bool finish(std::string* error);

  PrinterState& state() { return state_; }

 private:
  Surface& page();
  // The pen, fill and colour state onto the page before a figure.
  Surface& penReady();
  Surface& textReady();
  // The page in hand is done; the next thing drawn begins the next one.
  void endPage();
  // A point or a length of the program's scale in the port's units, and back.
  double portX(double x) const { return (x - scale_.left) * scale_.fx; }
  double portY(double y) const { return (y - scale_.top) * scale_.fy; }
  double textHeight() const;  // in the program's units
  double textWidth(std::string_view text);
  Value scaleValue(std::string_view member) const;
  void setScale(std::string_view member, double value);
  void scaleMethod(const std::vector<Value>& args);
  Value paintPicture(const std::vector<Value>& args, const std::vector<bool>& missing);

  PrinterPort& port_;
  PictureStore& pictures_;
  PrinterState state_;
  UserScale scale_;
  Surface* page_ = nullptr;
  int pages_ = 0;
  int pageNumber_ = 1;  // Page: the page of the job in hand
  int jobPages_ = 0;    // the pages the job in hand began
  int copies_ = 1;
  bool finished_ = false;
  std::shared_ptr<Object> fontObject_;
};

// The Printers collection: the one printer a run prints on, as Printers(0).
std::shared_ptr<Object> MakePrinters(std::shared_ptr<Object> printer);

// A picture LoadPicture made: drawn by PaintPicture. It holds its own copy, so a picture store
// that drops or reloads the file leaves it whole.
class PictureObject final : public Object {
 public:
  explicit PictureObject(std::shared_ptr<const Picture> picture) : picture_(std::move(picture)) {}
  std::string_view typeName() const override { return "Picture"; }
  Value get(std::string_view member) override;
  const Picture& picture() const { return *picture_; }

 private:
  std::shared_ptr<const Picture> picture_;
};

}  // namespace qf::basic
