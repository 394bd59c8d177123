#include "page_export.h"

#include <QBuffer>
#include <QImage>
#include <QSvgGenerator>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#include "platform/qt_fonts.h"
#include "platform/qt_printer.h"
#include "platform/vector_surface.h"
#include "view/printing.h"

namespace qf {

namespace {

FileStatus Failure(const std::filesystem::path& path, int err, const std::string& why = "") {
  return {err == 0 ? kErrPathFileAccess : err, "「" + path.string() + "」に出力できません：" +
                                                   (!why.empty() ? why
                                                    : err == 0   ? "書き込めませんでした"
                                                                 : WriteFailureReason(err))};
}

// The folder a file is written into.
std::filesystem::path FolderOf(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// The design's grid under an image's objects, when asked for, as the design window draws it.
std::function<void(Surface&)> GridUnderlay(const Design& design, const PrinterPort& port,
                                           bool grid) {
  if (!grid) return {};
  return [&design, &port](Surface& s) {
    Design lines;
    lines.page = design.page;
    lines.grid = design.grid;
    lines.grid.shown = 1;
    ViewState view;
    view.page = port.page();
    ClearAndDrawGrid(s, lines, view);
  };
}

// Prints the design, or its merged pages, on a port: what every export draws.
bool PrintInto(const Design& design, PrinterPort& port, PictureStore& pictures,
               const ExportOptions& options, std::string* error, bool* cancelled) {
  *cancelled = false;
  if (options.merge) {
    return PrintMerged(design, port, pictures, *options.merge, options.progress, error, cancelled);
  }
  auto going = [&] {
    *cancelled = options.progress && !options.progress(1);
    return !*cancelled;
  };
  return going() && PrintDesign(design, port, pictures, error, going,
                                GridUnderlay(design, port, options.grid));
}

// The page as vector graphics in an SVG document, with the paper a PDF file would have.
class SvgPort final : public PrinterPort {
 public:
  explicit SvgPort(QIODevice* out) : geometry_(QtPrinterPort::ForPdf("")), out_(out) {}

  void setPaperSize(int16_t code) override { geometry_->setPaperSize(code); }
  void setOrientation(int16_t orientation) override { geometry_->setOrientation(orientation); }
  void setScaleMode(int16_t mode) override { geometry_->setScaleMode(mode); }
  PrinterPage page() const override { return geometry_->page(); }

  Surface* beginPage() override {
    if (surface_) return nullptr;  // one page a file
    const QSizeF points = geometry_->printer().pageLayout().fullRectPoints().size();
    svg_.setOutputDevice(out_);
    svg_.setResolution(72);  // a unit of the file is a point
    svg_.setSize(QSize(static_cast<int>(std::lround(points.width())),
                       static_cast<int>(std::lround(points.height()))));
    svg_.setViewBox(QRectF(QPointF(0, 0), points));
    svg_.setTitle(title_);
    if (!painter_.begin(&svg_)) return nullptr;
    const PrinterPage p = page();
    surface_ = std::make_unique<VectorSurface>(painter_, points.width(), points.height(),
                                               p.scaleWidth, p.scaleHeight, geometry_->composeDpi(),
                                               InkBlend::MarkMultiply);
    return surface_.get();
  }
  bool endDoc(std::string* error) override {
    if (!surface_) {
      if (error) *error = "描くページがありません";
      return false;
    }
    surface_->finish();
    return painter_.end();
  }
  void setTitle(const QString& title) { title_ = title; }

 private:
  std::unique_ptr<QtPrinterPort> geometry_;
  QIODevice* out_;
  QSvgGenerator svg_;
  QPainter painter_;
  std::unique_ptr<VectorSurface> surface_;
  QString title_;
};

QString XmlUnescaped(QString text) {
  text.replace(QLatin1String("&quot;"), QLatin1String("\""));
  text.replace(QLatin1String("&apos;"), QLatin1String("'"));
  text.replace(QLatin1String("&lt;"), QLatin1String("<"));
  text.replace(QLatin1String("&gt;"), QLatin1String(">"));
  text.replace(QLatin1String("&amp;"), QLatin1String("&"));
  return text;
}

// The SVG's font families with the ones that stand in for them here, so a viewer without the
// Windows font draws the text in the same kind of face instead of a proportional Latin one.
QByteArray WithFallbackFonts(const QByteArray& svg) {
  static const QByteArray kAttribute = "font-family=\"";
  QByteArray out;
  out.reserve(svg.size() + svg.size() / 8);
  qsizetype from = 0;
  for (qsizetype at = svg.indexOf(kAttribute); at >= 0; at = svg.indexOf(kAttribute, from)) {
    const qsizetype value = at + kAttribute.size();
    const qsizetype end = svg.indexOf('"', value);
    if (end < 0) break;
    const QString family = XmlUnescaped(QString::fromUtf8(svg.mid(value, end - value)));
    out += svg.mid(from, value - from);
    out += CssFontFamily(family).toHtmlEscaped().toUtf8();
    from = end;
  }
  out += svg.mid(from);
  return out;
}

// Draws one page into bytes, a PNG image or an SVG document, through `print` on the port it is
// given.
bool PageBytes(ExportFormat format, int dpi, const std::string& title, QByteArray* bytes,
               const std::function<bool(PrinterPort&)>& print) {
  QBuffer buffer(bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == ExportFormat::Svg) {
    bool drawn = false;
    {
      SvgPort port(&buffer);
      port.setTitle(QString::fromStdString(title));
      drawn = print(port);
    }
    *bytes = WithFallbackFonts(*bytes);
    MarkSvgMultiply(*bytes);
    return drawn;
  }
  std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForPdf("");
  QImage page;
  port->previewInto(&page, dpi);
  return print(*port) && !page.isNull() && page.save(&buffer, "PNG");
}

// The file of one merged page when a range of them is written: "name-0003.png" for page 3.
std::filesystem::path NumberedPath(const std::filesystem::path& path, long page) {
  char number[32];
  std::snprintf(number, sizeof number, "-%04ld", page);
  return path.parent_path() / (path.stem().string() + number + path.extension().string());
}

// Merged pages as images, a file each (the target itself when the range is one page). A failure
// or a cancel removes the files this export wrote.
FileStatus ExportMergedImages(const Design& design, PictureStore& pictures,
                              const std::filesystem::path& path, ExportFormat format,
                              const ExportOptions& options) {
  const MergeSource& source = *options.merge;
  const bool single = source.lastPage == source.firstPage;
  std::vector<std::filesystem::path> written;
  auto fail = [&](int err, const std::string& why) {
    std::error_code ec;
    for (const auto& p : written) std::filesystem::remove(p, ec);
    return Failure(path, err, why);
  };
  // Every record's barcode is checked before the first file is written.
  if (const auto refused = RefusedMergedBarcode(design, source)) return Failure(path, 0, *refused);
  CsvError csvError;
  std::optional<OpenedMerge> opened = OpenMerge(design, source, &csvError);
  if (!opened) return Failure(path, 0, csvError.message());
  RangedPages pages(*opened, source);
  MergedPage page;
  while (pages.next(page)) {
    const long number = pages.number();
    bool cancelled = false;
    auto going = [&] {
      cancelled = options.progress && !options.progress(number);
      return !cancelled;
    };
    QByteArray bytes;
    std::string error;
    const bool drawn =
        going() &&
        PageBytes(format, options.dpi, path.stem().string(), &bytes, [&](PrinterPort& port) {
          return PrintOnePage(design, port, pictures, page, &error, going);
        });
    if (cancelled) return fail(ECANCELED, "取り消されました");
    if (!drawn) return fail(0, error);
    const std::filesystem::path target = single ? path : NumberedPath(path, number);
    const FileStatus st =
        WriteFileAtomically(target, std::string_view(bytes.constData(), bytes.size()));
    if (!st.ok()) {
      fail(st.error, "");  // removes the pages written before
      return st;           // which names the file and says why
    }
    written.push_back(target);
  }
  if (opened->reader->error()) return fail(0, opened->reader->error()->message());
  if (written.empty()) return Failure(path, 0, pages.emptyReason());
  return {};
}

}  // namespace

std::optional<ExportFormat> ExportFormatOf(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".pdf") return ExportFormat::Pdf;
  if (ext == ".png") return ExportFormat::Png;
  if (ext == ".svg") return ExportFormat::Svg;
  return std::nullopt;
}

FileStatus ExportPrinted(const std::filesystem::path& path, ExportFormat format, int dpi,
                         const PrintOnto& print) {
  const std::filesystem::path dir = FolderOf(path);
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return Failure(path, ENOENT);
  std::string error;
  bool cancelled = false;
  if (format != ExportFormat::Pdf) {
    QByteArray bytes;
    if (!PageBytes(format, dpi, path.stem().string(), &bytes,
                   [&](PrinterPort& port) { return print(port, &error, &cancelled); })) {
      return Failure(path, cancelled ? ECANCELED : 0, error);
    }
    // A failure names the file and says why.
    return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
  }
  // The printer writes a file of its own: under a temporary name, renamed when it is whole.
  std::random_device rd;
  const std::filesystem::path temp =
      dir / ("." + path.filename().string() + ".tmp" + std::to_string(rd()));
  std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForPdf(temp.string());
  port->printer().setDocName(QString::fromStdString(path.stem().string()));
  const bool printed = print(*port, &error, &cancelled);
  port.reset();  // the file is closed
  if (!printed || !std::filesystem::exists(temp, ec)) {
    std::filesystem::remove(temp, ec);
    return Failure(path, cancelled ? ECANCELED : EACCES, error);
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return Failure(path, ec.value());
  }
  return {};
}

FileStatus ExportDesign(const Design& design, PictureStore& pictures,
                        const std::filesystem::path& path, ExportFormat format,
                        const ExportOptions& options) {
  if (format != ExportFormat::Pdf && options.merge) {
    std::error_code ec;
    if (!std::filesystem::is_directory(FolderOf(path), ec)) return Failure(path, ENOENT);
    return ExportMergedImages(design, pictures, path, format, options);
  }
  // A symbol that cannot print stops the export before its file is begun, saying why.
  if (const auto refused = RefusedBarcode(design, nullptr); refused && !options.merge) {
    return Failure(path, 0, RefusalText(*refused));
  }
  ExportOptions drawn = options;
  if (format == ExportFormat::Pdf) drawn.grid = false;  // a PDF is the printed page
  return ExportPrinted(path, format, options.dpi,
                       [&](PrinterPort& port, std::string* error, bool* cancelled) {
                         const bool ok = PrintInto(design, port, pictures, drawn, error, cancelled);
                         // The printer's own reasons are not the user's: a failed export says
                         // why only for a merge (its records) or a cancel.
                         if (!ok && !*cancelled && !options.merge) error->clear();
                         return ok;
                       });
}

}  // namespace qf
