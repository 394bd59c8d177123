#pragma once

#include <QPrinter>
#include <string>

namespace qf {

// Hands a finished PDF file to the CUPS queue `printer` names, with the choices made for it in
// the print dialog (copies, collating, both sides, the paper and the queue's own options), as
// Qt's own CUPS printing would. False, with CUPS's reason, when the queue does not take it.
bool SubmitToCups(const QPrinter& printer, const std::string& pdfPath, std::string* error);

}  // namespace qf
