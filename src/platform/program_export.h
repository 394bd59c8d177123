#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "basic/program.h"
#include "document/file_io.h"
#include "merge/csv_reader.h"
#include "platform/page_export.h"

namespace qf {

// A program in the printing language and what it runs with.
struct ProgramRun {
  std::string source;                 // UTF-8
  std::string name;                   // the program's file, for messages
  std::string entry = "F_DataPrint";  // the procedure run
  // The program's other files (modules, classes, forms), UTF-8, besides `source`.
  std::vector<basic::SourceFile> others;
  std::filesystem::path data;  // records the program knows as rs; none when empty
  CsvOptions csv;              // how the records are read
  std::shared_ptr<const RecordSource> records =
      nullptr;  // a database's query, in place of the file
  // How many records the first page holds (the design's merge decides); none: every record.
  // The program reads them as NAME(i).Column without declaring NAME, as the merge fills them.
  std::optional<long> pageRecords;
  // The clock the program reads (Now, Date, Time), fixed so runs can be compared; the
  // machine's own when none. A date as the language keeps it.
  std::optional<double> now;
};

// How a program's source file is written.
enum class SourceEncoding { Detect, Utf8, Cp932, Windows1252 };

// Decodes a program's bytes in the encoding given, or the one they are in: UTF-8 when they
// are; CP932 when they read as Japanese text (with kana or Japanese punctuation); Windows-1252
// when they read as that and not as Japanese bytes misread; CP932 otherwise. False with the reason,
// naming the line of the first byte that cannot be read, when none reads them.
bool DecodeProgram(std::string_view bytes, std::string* text, std::string* error,
                   SourceEncoding encoding = SourceEncoding::Detect);

// The encoding an --encoding option names (utf-8, cp932, windows-1252, auto); none for others.
std::optional<SourceEncoding> SourceEncodingNamed(std::string_view name);

// What an export says of a program that printed nothing.
inline constexpr const char* kNoPagesPrinted = "印刷されたページがありません";

// Runs the program and writes what it prints: every page in a PDF; a PNG or SVG a page, the
// file itself for one page and OUT-1.png, OUT-2.png … (PagePath) for more. The pages written
// go to `written`, the run's messages to `messages`. A program that stops names its line and
// why: 「prog.bas」の 12 行目：…; one that prints nothing says kNoPagesPrinted.
FileStatus ExportProgram(const ProgramRun& run, PictureStore& pictures,
                         const std::filesystem::path& path, ExportFormat format, int dpi = 300,
                         std::vector<std::string>* messages = nullptr, int* written = nullptr);

// The file of page `page` of a program's images: OUT-2.png.
std::filesystem::path PagePath(const std::filesystem::path& path, int page);

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
