#include "cups_job.h"

#include <cups/cups.h>
#include <dlfcn.h>

#include <QDir>
#include <QPageLayout>
#include <QPrintEngine>
#include <QStringList>

namespace qf {

namespace {

// Where Qt's print dialog leaves the queue's own options (name, value, name, value ...) on the
// print engine.
constexpr auto kCupsOptions = static_cast<QPrintEngine::PrintEnginePropertyKey>(0xfe00);

// The CUPS client library, opened when a job is handed over: linked into the program, it and
// the dozen libraries it needs would be loaded and relocated before every start.
class CupsLibrary {
 public:
  CupsLibrary() : handle_(dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL)) {
    if (!handle_) return;
    addOption = reinterpret_cast<decltype(addOption)>(dlsym(handle_, "cupsAddOption"));
    freeOptions = reinterpret_cast<decltype(freeOptions)>(dlsym(handle_, "cupsFreeOptions"));
    printFile = reinterpret_cast<decltype(printFile)>(dlsym(handle_, "cupsPrintFile"));
    lastErrorString =
        reinterpret_cast<decltype(lastErrorString)>(dlsym(handle_, "cupsLastErrorString"));
  }
  CupsLibrary(const CupsLibrary&) = delete;
  CupsLibrary& operator=(const CupsLibrary&) = delete;
  ~CupsLibrary() {
    if (handle_) dlclose(handle_);
  }
  bool usable() const { return addOption && freeOptions && printFile && lastErrorString; }

  decltype(&cupsAddOption) addOption = nullptr;
  decltype(&cupsFreeOptions) freeOptions = nullptr;
  decltype(&cupsPrintFile) printFile = nullptr;
  decltype(&cupsLastErrorString) lastErrorString = nullptr;

 private:
  void* handle_;
};

// Frees a CUPS option list when it goes.
class Options {
 public:
  explicit Options(const CupsLibrary& cups) : cups_(cups) {}
  Options(const Options&) = delete;
  Options& operator=(const Options&) = delete;
  ~Options() { cups_.freeOptions(count_, options_); }
  void add(const QString& name, const QString& value) {
    count_ = cups_.addOption(name.toLocal8Bit().constData(), value.toLocal8Bit().constData(),
                             count_, &options_);
  }
  int count() const { return count_; }
  cups_option_t* options() const { return options_; }

 private:
  const CupsLibrary& cups_;
  int count_ = 0;
  cups_option_t* options_ = nullptr;
};

QString Sides(const QPrinter& printer) {
  switch (printer.duplex()) {
    case QPrinter::DuplexAuto:
      return printer.pageLayout().orientation() == QPageLayout::Portrait
                 ? QStringLiteral("two-sided-long-edge")
                 : QStringLiteral("two-sided-short-edge");
    case QPrinter::DuplexLongSide:
      return QStringLiteral("two-sided-long-edge");
    case QPrinter::DuplexShortSide:
      return QStringLiteral("two-sided-short-edge");
    case QPrinter::DuplexNone:
    default:
      return QStringLiteral("one-sided");
  }
}

}  // namespace

bool SubmitToCups(const QPrinter& printer, const std::string& pdfPath, std::string* error) {
  const CupsLibrary cups;
  if (!cups.usable()) {
    if (error) {
      *error = "プリンター「" + printer.printerName().toStdString() +
               "」に送れません：CUPS のライブラリ（libcups.so.2）が見つかりません";
    }
    return false;
  }
  Options options(cups);
  options.add(QStringLiteral("media"), printer.pageLayout().pageSize().key());
  options.add(QStringLiteral("sides"), Sides(printer));
  const int copies = printer.copyCount();
  if (copies > 1) {
    options.add(QStringLiteral("copies"), QString::number(copies));
    if (printer.collateCopies()) options.add(QStringLiteral("Collate"), QStringLiteral("True"));
  }
  if (const QPrintEngine* engine = printer.printEngine()) {
    const QStringList queueOptions = engine->property(kCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < queueOptions.size(); i += 2) {
      options.add(queueOptions[i], queueOptions[i + 1]);
    }
  }
  const QByteArray queue = printer.printerName().toLocal8Bit();
  const QByteArray title =
      (printer.docName().isEmpty() ? QStringLiteral("Quillform") : printer.docName()).toUtf8();
  const int job = cups.printFile(queue.constData(), pdfPath.c_str(), title.constData(),
                                 options.count(), options.options());
  if (job <= 0) {
    if (error) {
      *error = "プリンター「" + printer.printerName().toStdString() + "」に送れません：" +
               cups.lastErrorString();
    }
    return false;
  }
  return true;
}

}  // namespace qf

namespace qf {

QPrinter* CupsJob::device() {
  if (spool_) return spool_.get();
  file_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/qf-XXXXXX.pdf"));
  if (!file_->open()) return nullptr;
  file_->close();
  spool_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  spool_->setOutputFormat(QPrinter::PdfFormat);
  spool_->setOutputFileName(file_->fileName());
  spool_->setDocName(queue_.docName());
  // The queue's paper and margins: the page is laid out as the queue would lay it out.
  spool_->setFullPage(queue_.fullPage());
  spool_->setPageLayout(queue_.pageLayout());
  return spool_.get();
}

bool CupsJob::submit(std::string* error) {
  const bool sent = SubmitToCups(queue_, file_->fileName().toStdString(), error);
  spool_.reset();
  file_.reset();
  return sent;
}

}  // namespace qf
