#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "basic/value.h"
#include "view/page_view.h"
#include "view/surface.h"

namespace qf::basic {

// Runs a program's procedure (F_DataPrint unless named) onto a printer: what it prints goes to the
// port's pages, its pictures come from the store, and `records` is the record set it knows as
// rs. The document is ended as the language ends it when the program does not. Returns the
// error that stopped it (a parse error too), with its line.
std::optional<BasicError> RunOnPrinter(std::string_view source, std::string_view entry,
                                       PrinterPort& port, PictureStore& pictures,
                                       std::shared_ptr<Object> records = nullptr);

}  // namespace qf::basic
