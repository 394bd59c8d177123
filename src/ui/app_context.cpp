#include "app_context.h"

namespace qf {

AppContext::AppContext(std::filesystem::path settings) : settingsPath(std::move(settings)) {
  std::string error;
  printer = QtPrinterPort::ForQueue("", &error);
  if (!printer) printer = QtPrinterPort::ForPdf("");
  view.page = printer->page();
}

void AppContext::applyAndReadPrinter() {
  ApplyPrinterSetup(*printer, design.page);
  ReadPrinterPage(*printer, design.page, view);
}

}  // namespace qf
