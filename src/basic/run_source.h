#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "basic/program.h"
#include "basic/value.h"
#include "view/page_view.h"
#include "view/surface.h"

namespace qf::basic {

// What a run is handed besides its program: the record set it knows as rs, the records it
// reads as NAME(i) without declaring NAME (PageRecords), where its messages go (MsgBox,
// Debug.Print: the first kMostMessages of them), and a clock fixed so runs can be compared.
struct RunWith {
  std::shared_ptr<Object> records;
  std::shared_ptr<Object> page;
  std::vector<std::string>* messages = nullptr;
  std::optional<double> now;  // a date; the machine's own clock when none
};

// Runs a program's procedure (F_DataPrint unless named) onto a printer: what it prints goes to the
// port's pages, its pictures come from the store. The document is ended as the language ends it
// when the program does not. Returns the error that stopped it (a parse error too), with its
// line; run without records, a stop at a name the program reads as records says which names
// need a data file.
std::optional<BasicError> RunOnPrinter(const std::vector<SourceFile>& files, std::string_view entry,
                                       PrinterPort& port, PictureStore& pictures,
                                       const RunWith& with = {});
// The same of a program of one module.
std::optional<BasicError> RunOnPrinter(std::string_view source, std::string_view entry,
                                       PrinterPort& port, PictureStore& pictures,
                                       const RunWith& with = {});

// The most messages a run keeps: a loop that writes to Debug without end fills no memory.
inline constexpr size_t kMostMessages = 1000;

}  // namespace qf::basic
