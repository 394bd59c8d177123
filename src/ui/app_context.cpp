#include "app_context.h"

namespace qf {

AppContext::AppContext(std::filesystem::path settings, Printer choice)
    : settingsPath(std::move(settings)) {
  if (choice == Printer::Later) return;
  printer = QtPrinterPort::ForDefault();
  view.page = printer->page();
}

void AppContext::applyAndReadPrinter() {
  ApplyPrinterSetup(*printer, design.page);
  ReadPrinterPage(*printer, design.page, view);
}

}  // namespace qf
