#pragma once

#include <QPrinter>
#include <QTemporaryFile>
#include <memory>
#include <string>

namespace qf {

// Hands a finished PDF file to the CUPS queue `printer` names, with the choices made for it in
// the print dialog (copies, collating, both sides, the paper and the queue's own options), as
// Qt's own CUPS printing would. False, with CUPS's reason, when the queue does not take it.
bool SubmitToCups(const QPrinter& printer, const std::string& pdfPath, std::string* error);

// One document for a CUPS queue: written as a PDF file of its own, laid out as the queue lays
// out its paper, then handed to CUPS.
class CupsJob {
 public:
  explicit CupsJob(const QPrinter& queue) : queue_(queue) {}

  // The PDF the pages are drawn on; nullptr when no temporary file can be made.
  QPrinter* device();
  // Hands the finished file to the queue; the file goes either way.
  bool submit(std::string* error);

 private:
  const QPrinter& queue_;
  std::unique_ptr<QTemporaryFile> file_;
  std::unique_ptr<QPrinter> spool_;
};

}  // namespace qf
