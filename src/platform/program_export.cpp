#include "program_export.h"

#include "basic/records.h"
#include "basic/run_source.h"
#include "document/cp932.h"
#include "merge/csv_reader.h"

namespace qf {

namespace {

// Draws nothing: the pages after the first of an image.
class NullSurface final : public Surface {
 public:
  void setDrawMode(DrawMode) override {}
  void setDrawStyle(int) override {}
  void setDrawWidth(int) override {}
  void setFillStyle(FillStyle) override {}
  void setFillColor(int32_t c) override { fill_ = c; }
  int32_t fillColor() const override { return fill_; }
  void setForeColor(int32_t) override {}
  void setFont(const FontSpec&) override {}
  void setCurrentXY(double, double) override {}
  void line(double, double, double, double, int32_t) override {}
  void box(double, double, double, double, int32_t, bool) override {}
  void circle(double, double, double, int32_t, double, std::optional<double>,
              std::optional<double>) override {}
  void paintPicture(const Picture&, double, double, double, double, RasterOp) override {}
  void print(std::string_view) override {}
  void clear() override {}
  double textWidth(std::string_view) override { return 0; }

 private:
  int32_t fill_ = 0;
};

// A port that prints one of the pages and passes over the others, counting them.
class OnePage final : public PrinterPort {
 public:
  OnePage(PrinterPort& port, int page) : port_(port), page_(page) {}
  void setPaperSize(int16_t code) override { port_.setPaperSize(code); }
  void setOrientation(int16_t orientation) override { port_.setOrientation(orientation); }
  void setScaleMode(int16_t mode) override { port_.setScaleMode(mode); }
  PrinterPage page() const override { return port_.page(); }
  Surface* beginPage() override {
    if (++pages_ != page_) return &none_;
    printed_ = true;
    return port_.beginPage();
  }
  bool endDoc(std::string* error) override {
    if (!printed_) return true;  // the page asked for never came
    return port_.endDoc(error);
  }
  int pages() const { return pages_; }

 private:
  PrinterPort& port_;
  int page_;
  NullSurface none_;
  int pages_ = 0;
  bool printed_ = false;
};

}  // namespace

bool DecodeProgram(std::string_view bytes, std::string* text, std::string* error) {
  if (ValidUtf8(bytes)) {
    // A byte-order mark is no part of the program.
    *text = std::string(bytes.substr(bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0));
    return true;
  }
  text->clear();
  const CodecResult rc = Cp932ToUtf8(bytes, *text);
  if (!rc.ok && error) *error = "UTF-8 でもシフトJIS(コードページ932)でもない文字があります";
  return rc.ok;
}

bool PrintProgram(const ProgramRun& run, PrinterPort& port, PictureStore& pictures,
                  std::string* error, int* stoppedLine, std::vector<std::string>* messages) {
  if (stoppedLine) *stoppedLine = 0;
  std::shared_ptr<basic::Object> records;
  std::shared_ptr<basic::Object> page;
  if (!run.data.empty()) {
    // rs and the page's records each read the file from its start.
    CsvError csv;
    std::unique_ptr<CsvReader> reader = CsvReader::Open(run.data, run.csv, &csv);
    std::unique_ptr<CsvReader> pageReader =
        reader ? CsvReader::Open(run.data, run.csv, &csv) : nullptr;
    if (!pageReader) {
      if (error) *error = csv.message();
      return false;
    }
    records = std::make_shared<basic::RecordSet>(std::move(reader));
    page = std::make_shared<basic::PageRecords>(std::move(pageReader), run.pageRecords);
  }
  const auto stopped =
      basic::RunOnPrinter(run.source, run.entry, port, pictures, records, page, messages);
  if (!stopped) return true;
  if (stoppedLine) *stoppedLine = stopped->line;
  if (error) {
    *error = "「" + run.name + "」" +
             (stopped->line > 0 ? "の " + std::to_string(stopped->line) + " 行目" : "") + "：" +
             stopped->message;
  }
  return false;
}

FileStatus ExportProgram(const ProgramRun& run, PictureStore& pictures,
                         const std::filesystem::path& path, ExportFormat format, int dpi,
                         std::vector<std::string>* messages) {
  return ExportPrinted(path, format, dpi,
                       [&](PrinterPort& port, std::string* error, bool* /*cancelled*/) {
                         if (format == ExportFormat::Pdf) {
                           return PrintProgram(run, port, pictures, error, nullptr, messages);
                         }
                         OnePage first(port, 1);
                         return PrintProgram(run, first, pictures, error, nullptr, messages);
                       });
}

bool PrintProgramPage(const ProgramRun& run, PrinterPort& port, PictureStore& pictures, int page,
                      int* pages, std::string* error, int* stoppedLine,
                      std::vector<std::string>* messages) {
  OnePage one(port, page);
  const bool ok = PrintProgram(run, one, pictures, error, stoppedLine, messages);
  if (pages) *pages = one.pages();
  return ok;
}

}  // namespace qf
