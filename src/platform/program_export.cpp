#include "program_export.h"

#include <algorithm>
#include <set>

#include "basic/errors.h"
#include "basic/records.h"
#include "basic/run_source.h"
#include "document/cp932.h"
#include "document/windows1252.h"
#include "merge/csv_reader.h"
#include "platform/qt_printer.h"

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

// A port that prints one of the pages (or every page, kEveryPage) and passes over the others,
// counting them all. The pages of a job the program dropped (KillDoc) are noted; told them
// before a run, it passes over them and leaves them out of the count.
constexpr int kEveryPage = -1;

class OnePage final : public PrinterPort {
 public:
  OnePage(PrinterPort& port, int page, std::set<int> dropped = {})
      : port_(port), page_(page), dropped_(std::move(dropped)) {}
  void setPaperSize(int16_t code) override { port_.setPaperSize(code); }
  void setOrientation(int16_t orientation) override { port_.setOrientation(orientation); }
  void setScaleMode(int16_t mode) override { port_.setScaleMode(mode); }
  void setCopies(int copies) override { port_.setCopies(copies); }
  std::string deviceName() const override { return port_.deviceName(); }
  PrinterPage page() const override { return port_.page(); }
  Surface* beginPage() override {
    if (dropped_.count(++begun_)) return &none_;
    if (++pages_ != page_ && page_ != kEveryPage) return &none_;
    printed_ = true;
    return port_.beginPage();
  }
  bool endDoc(std::string* error) override {
    if (!printed_) return true;  // the page asked for never came
    return port_.endDoc(error);
  }
  void dropJob(int pages) override {
    for (int k = begun_ - pages + 1; k <= begun_; ++k) {
      if (!dropped_.count(k)) found_.insert(k);
    }
  }
  int pages() const { return pages_; }
  // Pages a KillDoc dropped that this run printed: the run must be made again without them.
  const std::set<int>& found() const { return found_; }

 private:
  PrinterPort& port_;
  int page_;
  std::set<int> dropped_;
  std::set<int> found_;
  NullSurface none_;
  int begun_ = 0;
  int pages_ = 0;
  bool printed_ = false;
};

}  // namespace

namespace {

// The line (from 1) of a byte of the source.
int LineOf(std::string_view bytes, size_t offset) {
  return 1 + static_cast<int>(std::count(
                 bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// Whether text read as CP932 has what Japanese text has: kana, the Japanese punctuation, the
// full-width forms, half-width katakana two or more in a row. Western text read as CP932 comes
// out as kanji and lone half-width letters.
bool LooksJapanese(std::string_view text) {
  int halfWidthRun = 0;
  for (size_t at = 0; at < text.size();) {
    char32_t c = 0;
    at += std::max<size_t>(1, Utf8CharAt(text, at, &c).size());
    if ((c >= 0x3000 && c <= 0x30FF) || (c >= 0xFF01 && c <= 0xFF5E)) return true;
    halfWidthRun = (c >= 0xFF61 && c <= 0xFF9F) ? halfWidthRun + 1 : 0;
    if (halfWidthRun >= 2) return true;
  }
  return false;
}

// Whether text read as Windows-1252 has characters Western programs hardly write (Š, ‹, ƒ …):
// what Japanese bytes become when read as Western.
bool LooksMisread(std::string_view text) {
  static constexpr char32_t kRare[] = {0x0160, 0x0161, 0x017D, 0x017E, 0x0178,
                                       0x2039, 0x203A, 0x0192, 0x02C6, 0x2030,
                                       0x2020, 0x2021, 0x0152, 0x0153, 0x02DC};
  for (size_t at = 0; at < text.size();) {
    char32_t c = 0;
    at += std::max<size_t>(1, Utf8CharAt(text, at, &c).size());
    if (std::find(std::begin(kRare), std::end(kRare), c) != std::end(kRare)) return true;
  }
  return false;
}

bool Decoded(std::string_view bytes, const char* name, CodecResult rc, std::string* error) {
  if (rc.ok) return true;
  if (error) {
    *error = std::to_string(LineOf(bytes, rc.badOffset)) + " 行目に " + name +
             " として読めないバイトがあります";
  }
  return false;
}

}  // namespace

bool DecodeProgram(std::string_view bytes, std::string* text, std::string* error,
                   SourceEncoding encoding) {
  // A byte-order mark is no part of the program.
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.remove_prefix(3);
  text->clear();
  switch (encoding) {
    case SourceEncoding::Utf8:
      if (ValidUtf8(bytes)) {
        *text = std::string(bytes);
        return true;
      }
      // Where it breaks: the first byte a UTF-8 reading cannot take.
      for (size_t at = 0; at < bytes.size();) {
        char32_t c = 0;
        const std::string_view one = Utf8CharAt(bytes, at, &c);
        if (c == 0xFFFD && one != "\xEF\xBF\xBD")
          return Decoded(bytes, "UTF-8", {false, at}, error);
        at += std::max<size_t>(1, one.size());
      }
      return Decoded(bytes, "UTF-8", {false, 0}, error);
    case SourceEncoding::Cp932:
      return Decoded(bytes, "シフトJIS(コードページ932)", Cp932ToUtf8(bytes, *text), error);
    case SourceEncoding::Windows1252:
      return Decoded(bytes, "Windows-1252", Windows1252ToUtf8(bytes, *text), error);
    case SourceEncoding::Detect:
      break;
  }
  if (ValidUtf8(bytes)) {
    *text = std::string(bytes);
    return true;
  }
  std::string japanese;
  const bool cp932 = Cp932ToUtf8(bytes, japanese).ok;
  if (cp932 && LooksJapanese(japanese)) {
    *text = std::move(japanese);
    return true;
  }
  const CodecResult western = Windows1252ToUtf8(bytes, *text);
  if (western.ok && !(cp932 && LooksMisread(*text))) return true;
  if (cp932) {
    *text = std::move(japanese);
    return true;
  }
  text->clear();
  if (error) {
    *error =
        std::to_string(LineOf(bytes, western.badOffset)) +
        " 行目に UTF-8、シフトJIS(コードページ932)、Windows-1252 のどれでも読めないバイトがあります"
        "（--encoding で文字コードを指定できます）";
  }
  return false;
}

std::optional<SourceEncoding> SourceEncodingNamed(std::string_view name) {
  std::string n(name);
  for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (n == "utf-8" || n == "utf8") return SourceEncoding::Utf8;
  if (n == "cp932" || n == "shift_jis" || n == "shift-jis" || n == "sjis")
    return SourceEncoding::Cp932;
  if (n == "windows-1252" || n == "cp1252" || n == "1252") return SourceEncoding::Windows1252;
  if (n == "auto") return SourceEncoding::Detect;
  return std::nullopt;
}

bool PrintProgram(const ProgramRun& run, PrinterPort& port, PictureStore& pictures,
                  std::string* error, int* stoppedLine, std::vector<std::string>* messages) {
  if (stoppedLine) *stoppedLine = 0;
  basic::RunWith with;
  with.messages = messages;
  with.now = run.now;
  if (run.records || !run.data.empty()) {
    // rs and the page's records each read the records from the first.
    RecordError failed;
    const auto open = [&run, &failed]() -> std::unique_ptr<RecordReader> {
      if (run.records) return run.records->open(&failed);
      return CsvReader::Open(run.data, run.csv, &failed);
    };
    std::unique_ptr<RecordReader> reader = open();
    std::unique_ptr<RecordReader> pageReader = reader ? open() : nullptr;
    if (!pageReader) {
      if (error) *error = failed.message();
      return false;
    }
    with.records = std::make_shared<basic::RecordSet>(std::move(reader));
    with.page = std::make_shared<basic::PageRecords>(std::move(pageReader), run.pageRecords);
  }
  std::vector<basic::SourceFile> files = {{run.name, run.source}};
  files.insert(files.end(), run.others.begin(), run.others.end());
  const auto stopped = basic::RunOnPrinter(files, run.entry, port, pictures, with);
  if (!stopped) return true;
  if (stoppedLine) *stoppedLine = stopped->line;
  if (error) {
    *error = basic::Describe(*stopped, run.name);
  }
  return false;
}

FileStatus ExportProgram(const ProgramRun& run, PictureStore& pictures,
                         const std::filesystem::path& path, ExportFormat format, int dpi,
                         std::vector<std::string>* messages, int* written) {
  if (written) *written = 0;
  if (format == ExportFormat::Pdf) {
    // One run: its pages counted as they go to the file, its messages kept.
    // A run that dropped pages (KillDoc) is made again without them: a PDF cannot take back
    // a page.
    int pages = 0;
    std::set<int> dropped;
    FileStatus st;
    // A program whose drops change from run to run is taken as its third run prints it.
    bool again = true;
    for (int runs = 0; again && runs < 3; ++runs) {
      again = false;
      st = ExportPrinted(path, format, dpi,
                         [&](PrinterPort& port, std::string* why, bool* /*cancelled*/) {
                           OnePage every(port, kEveryPage, dropped);
                           const bool printed = PrintProgram(run, every, pictures, why, nullptr,
                                                             dropped.empty() ? messages : nullptr);
                           pages = every.pages();
                           again = printed && !every.found().empty();
                           dropped.insert(every.found().begin(), every.found().end());
                           if (printed && pages == 0) *why = kNoPagesPrinted;
                           return printed && pages > 0;
                         });
    }
    if (st.ok() && written) *written = pages;
    return st;
  }
  // Images: a first run counts the pages (and keeps the messages, and the pages a KillDoc
  // dropped), drawing nothing.
  int pages = 0;
  std::string error;
  std::set<int> dropped;
  {
    std::unique_ptr<QtPrinterPort> geometry = QtPrinterPort::ForPdf("");
    OnePage none(*geometry, 0);
    if (!PrintProgram(run, none, pictures, &error, nullptr, messages)) {
      return {kErrPathFileAccess, "「" + path.string() + "」に出力できません：" + error};
    }
    dropped = none.found();
    pages = none.pages() - static_cast<int>(dropped.size());
  }
  if (pages == 0) {
    return {kErrPathFileAccess, "「" + path.string() + "」に出力できません：" + kNoPagesPrinted};
  }
  if (pages == 1) {
    const FileStatus st = ExportPrinted(
        path, format, dpi, [&](PrinterPort& port, std::string* why, bool* /*cancelled*/) {
          OnePage first(port, 1, dropped);
          return PrintProgram(run, first, pictures, why);
        });
    if (st.ok() && written) *written = 1;
    return st;
  }
  // An image a page: OUT-1.png, OUT-2.png …; a failure takes back the files written before.
  std::vector<std::filesystem::path> done;
  for (int k = 1; k <= pages; ++k) {
    const std::filesystem::path target = PagePath(path, k);
    const FileStatus st = ExportPrinted(
        target, format, dpi, [&](PrinterPort& port, std::string* why, bool* /*cancelled*/) {
          OnePage one(port, k, dropped);
          return PrintProgram(run, one, pictures, why);
        });
    if (!st.ok()) {
      std::error_code ec;
      for (const auto& p : done) std::filesystem::remove(p, ec);
      return st;
    }
    done.push_back(target);
  }
  if (written) *written = pages;
  return {};
}

std::filesystem::path PagePath(const std::filesystem::path& path, int page) {
  return path.parent_path() /
         (path.stem().string() + "-" + std::to_string(page) + path.extension().string());
}

bool PrintProgramPage(const ProgramRun& run, PrinterPort& port, PictureStore& pictures, int page,
                      int* pages, std::string* error, int* stoppedLine,
                      std::vector<std::string>* messages) {
  OnePage one(port, page);
  bool ok = PrintProgram(run, one, pictures, error, stoppedLine, messages);
  if (ok && !one.found().empty()) {
    // The program dropped pages (KillDoc): the page asked for is counted without them.
    OnePage kept(port, page, one.found());
    ok = PrintProgram(run, kept, pictures, error, stoppedLine, nullptr);
    if (pages) *pages = kept.pages();
    return ok;
  }
  if (pages) *pages = one.pages();
  return ok;
}

}  // namespace qf
