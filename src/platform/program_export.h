#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/file_io.h"
#include "merge/csv_reader.h"
#include "platform/page_export.h"

namespace qf {

// A program in the printing language and what it runs with.
struct ProgramRun {
  std::string source;                 // UTF-8
  std::string name;                   // the program's file, for messages
  std::string entry = "F_DataPrint";  // the procedure run
  std::filesystem::path data;         // records the program knows as rs; none when empty
  CsvOptions csv;                     // how the records are read
  // How many records the first page holds (the design's merge decides); none: every record.
  // The program reads them as NAME(i).Column without declaring NAME, as the merge fills them.
  std::optional<long> pageRecords;
};

// Decodes a program's bytes: UTF-8 when they are, CP932 otherwise (as the CSV reader tells the
// two apart). False with the reason when they are neither.
bool DecodeProgram(std::string_view bytes, std::string* text, std::string* error);

// Runs the program and writes what it prints: every page in a PDF, the first page in a PNG or
// SVG. A program that stops names its line and why: 「prog.bas」の 12 行目：….
FileStatus ExportProgram(const ProgramRun& run, PictureStore& pictures,
                         const std::filesystem::path& path, ExportFormat format, int dpi = 300,
                         std::vector<std::string>* messages = nullptr);

// Runs the program on a printer port (Print, the preview); false with the reason, and the
// program's line it stopped at (0 when none) in `stoppedLine`.
// The run's messages (MsgBox, Debug.Print) go to `messages` when given.
bool PrintProgram(const ProgramRun& run, PrinterPort& port, PictureStore& pictures,
                  std::string* error, int* stoppedLine = nullptr,
                  std::vector<std::string>* messages = nullptr);

// Runs the program printing only its page `page` (from 1) on the port, and counts its pages.
bool PrintProgramPage(const ProgramRun& run, PrinterPort& port, PictureStore& pictures, int page,
                      int* pages, std::string* error, int* stoppedLine = nullptr,
                      std::vector<std::string>* messages = nullptr);

}  // namespace qf
