#include "cups_job.h"

#include <cups/cups.h>

#include <QPageLayout>
#include <QPrintEngine>
#include <QStringList>

namespace qf {

namespace {

// Where Qt's print dialog leaves the queue's own options (name, value, name, value ...) on the
// print engine.
constexpr auto kCupsOptions = static_cast<QPrintEngine::PrintEnginePropertyKey>(0xfe00);

// Frees a CUPS option list when it goes.
class Options {
 public:
  Options() = default;
  Options(const Options&) = delete;
  Options& operator=(const Options&) = delete;
  ~Options() { cupsFreeOptions(count_, options_); }
  void add(const QString& name, const QString& value) {
    count_ = cupsAddOption(name.toLocal8Bit().constData(), value.toLocal8Bit().constData(), count_,
                           &options_);
  }
  int count() const { return count_; }
  cups_option_t* options() const { return options_; }

 private:
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
  Options options;
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
  const int job = cupsPrintFile(queue.constData(), pdfPath.c_str(), title.constData(),
                                options.count(), options.options());
  if (job <= 0) {
    if (error) {
      *error = "プリンター「" + printer.printerName().toStdString() + "」に送れません：" +
               cupsLastErrorString();
    }
    return false;
  }
  return true;
}

}  // namespace qf
