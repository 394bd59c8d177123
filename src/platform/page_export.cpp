#include "page_export.h"

#include <QBuffer>
#include <QImage>
#include <QSvgGenerator>
#include <cctype>
#include <cerrno>
#include <random>

#include "platform/qt_printer.h"
#include "platform/vector_surface.h"
#include "view/printing.h"

namespace qf {

namespace {

// Why a file could not be written, as a user reads it.
std::string Reason(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return "フォルダがありません";
    case EACCES:
    case EPERM:
      return "書き込む権限がありません";
    case ENOSPC:
      return "ディスクがいっぱいです";
    case EROFS:
      return "読み取り専用のファイルシステムです";
    default:
      return "書き込めませんでした";
  }
}

FileStatus Failure(const std::filesystem::path& path, int err, const std::string& why = "") {
  return {err == 0 ? kErrPathFileAccess : err,
          "「" + path.string() + "」に出力できません：" + (why.empty() ? Reason(err) : why)};
}

// Prints the design, or its merged pages, on a port: what every export draws.
bool PrintInto(const Design& design, PrinterPort& port, PictureStore& pictures,
               const ExportOptions& options, bool onePage, std::string* error, bool* cancelled) {
  *cancelled = false;
  if (options.merge) {
    MergeSource source = *options.merge;
    if (onePage) source.lastPage = source.firstPage;
    return PrintMerged(design, port, pictures, source, options.progress, error, cancelled);
  }
  auto going = [&] {
    *cancelled = options.progress && !options.progress(1);
    return !*cancelled;
  };
  return going() && PrintDesign(design, port, pictures, error, going);
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
    surface_ =
        std::make_unique<VectorSurface>(painter_, points.width(), points.height(), p.scaleWidth,
                                        p.scaleHeight, geometry_->composeDpi());
    return surface_.get();
  }
  bool endDoc(std::string* error) override {
    if (!surface_) {
      if (error) *error = "nothing was drawn";
      return false;
    }
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

// Draws the page into bytes: a PNG image or an SVG document.
bool PageBytes(const Design& design, PictureStore& pictures, ExportFormat format,
               const ExportOptions& options, const std::string& title, QByteArray* bytes,
               std::string* error, bool* cancelled) {
  QBuffer buffer(bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == ExportFormat::Svg) {
    SvgPort port(&buffer);
    port.setTitle(QString::fromStdString(title));
    return PrintInto(design, port, pictures, options, true, error, cancelled);
  }
  std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForPdf("");
  QImage page;
  port->previewInto(&page, options.dpi);
  return PrintInto(design, *port, pictures, options, true, error, cancelled) && !page.isNull() &&
         page.save(&buffer, "PNG");
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

FileStatus ExportDesign(const Design& design, PictureStore& pictures,
                        const std::filesystem::path& path, ExportFormat format,
                        const ExportOptions& options) {
  const std::filesystem::path dir =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return Failure(path, ENOENT);
  std::string error;
  bool cancelled = false;
  if (format != ExportFormat::Pdf) {
    QByteArray bytes;
    if (!PageBytes(design, pictures, format, options, path.stem().string(), &bytes, &error,
                   &cancelled)) {
      return Failure(path, cancelled ? ECANCELED : 0, cancelled || options.merge ? error : "");
    }
    const FileStatus st =
        WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
    return st.ok() ? st : Failure(path, st.error);
  }
  // The printer writes a file of its own: under a temporary name, renamed when it is whole.
  std::random_device rd;
  const std::filesystem::path temp =
      dir / ("." + path.filename().string() + ".tmp" + std::to_string(rd()));
  std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForPdf(temp.string());
  port->printer().setDocName(QString::fromStdString(path.stem().string()));
  const bool printed = PrintInto(design, *port, pictures, options, false, &error, &cancelled);
  port.reset();  // the file is closed
  if (!printed || !std::filesystem::exists(temp, ec)) {
    std::filesystem::remove(temp, ec);
    return Failure(path, cancelled ? ECANCELED : EACCES, cancelled || options.merge ? error : "");
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return Failure(path, ec.value());
  }
  return {};
}

}  // namespace qf
