// Feeds arbitrary programs to the printing language: parsing and running never crash or hang
// (the run has a step limit); a program either runs or stops with a line and a reason. The
// input is a module, and after a zero byte a class module, run with a printer that draws
// nowhere, so the Printer's scales, pages and fonts are run too.
#include <cstdint>
#include <string>

#include "basic/interpreter.h"
#include "basic/printer_object.h"

namespace {

class NowhereSurface final : public qf::Surface {
 public:
  void setDrawMode(qf::DrawMode) override {}
  void setDrawStyle(int) override {}
  void setDrawWidth(int) override {}
  void setFillStyle(qf::FillStyle) override {}
  void setFillColor(int32_t c) override { fill_ = c; }
  int32_t fillColor() const override { return fill_; }
  void setForeColor(int32_t) override {}
  void setFont(const qf::FontSpec&) override {}
  void setCurrentXY(double, double) override {}
  void line(double, double, double, double, int32_t) override {}
  void box(double, double, double, double, int32_t, bool) override {}
  void circle(double, double, double, int32_t, double, std::optional<double>,
              std::optional<double>) override {}
  void paintPicture(const qf::Picture&, double, double, double, double, qf::RasterOp) override {}
  void print(std::string_view) override {}
  void clear() override {}
  double textWidth(std::string_view text) override { return static_cast<double>(text.size()); }

 private:
  int32_t fill_ = 0;
};

// A printer of A4 pages that keeps none of them (a few hundred at most).
class NowherePort final : public qf::PrinterPort {
 public:
  void setPaperSize(int16_t) override {}
  void setOrientation(int16_t) override {}
  void setScaleMode(int16_t mode) override { page_.scaleMode = mode; }
  qf::PrinterPage page() const override { return page_; }
  qf::Surface* beginPage() override { return ++pages_ > 500 ? nullptr : &surface_; }
  bool endDoc(std::string*) override { return true; }

 private:
  qf::PrinterPage page_;
  NowhereSurface surface_;
  int pages_ = 0;
};

class NoPictures final : public qf::PictureStore {
 public:
  const qf::Picture* picture(std::string_view) override { return nullptr; }
};

class World final : public qf::basic::Host {
 public:
  std::shared_ptr<qf::basic::Object> printer() override { return printer_; }
  std::shared_ptr<qf::basic::Object> loadPicture(const std::string&) override { return nullptr; }
  double now() override { return 45429.4375; }  // the same clock every run

 private:
  NowherePort port_;
  NoPictures pictures_;
  std::shared_ptr<qf::basic::PrinterObject> printer_ =
      std::make_shared<qf::basic::PrinterObject>(port_, pictures_);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  std::vector<qf::basic::SourceFile> files = {{"main.bas", input.substr(0, split)}};
  if (split != std::string::npos) files.push_back({"fuzz.cls", input.substr(split + 1)});
  try {
    const qf::basic::Program program = qf::basic::ParseFiles(files);
    for (const auto& [name, procedure] : program.procedures) {
      if (!procedure.params.empty()) continue;
      World world;
      const auto error = qf::basic::Run(program, name, world, qf::basic::RunLimits{20000, 64});
      if (error && error->message.empty()) __builtin_trap();  // a stop always says why
    }
  } catch (const qf::basic::BasicError& e) {
    if (e.message.empty()) __builtin_trap();
  }
  World world;
  qf::basic::BasicError why;
  (void)qf::basic::Evaluate(files.front().text.substr(0, 200), world, &why);
  return 0;
}
