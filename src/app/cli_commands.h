#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/design.h"
#include "document/file_io.h"
#include "merge/record_reader.h"

namespace qf {

// The exit statuses of the subcommands, as --help and the manual page list them.
enum ExitStatus : int {
  kExitOk = 0,
  kExitFailed = 1,
  kExitUsage = 2,
  kExitCutOff = 3,  // the design file ends before its last object
};

// What a subcommand does with a design file that is cut off.
enum class CutOffDesign {
  Show,    // writes what was read to standard output, and exits kExitCutOff
  Refuse,  // writes and prints nothing
};

// Shared by the subcommands: each prints one line in Japanese on failure (the file and the
// reason) and returns the exit status. `lead` names the file when the detail does not.
int Fail(const std::string& lead, const FileStatus& st);
int Fail(const std::string& message);
// 0, kExitFailed, or kExitCutOff once it has said how much of a cut-off file was read (with
// Show, the design then holds that much).
int Load(const std::string& path, Design& design, CutOffDesign cutOff = CutOffDesign::Refuse);
int Usage(std::string_view problem);
// Reads --dpi's value into `dpi`: 0 when taken, else the usage error's exit status.
int DpiOption(const std::string& value, int& dpi);
// --data SOURCE (a CSV file, sqlite:PATH, postgresql://USER@HOST[:PORT]/DBNAME, odbc:DSN) and,
// for a database, --query "SELECT …" or --table NAME.
struct DataChoice {
  std::string data;
  std::string query;
  std::string table;
};
// Reads one of those options at args[i]; false for any other argument.
bool DataOption(const std::vector<std::string>& args, size_t& i, DataChoice& choice);
// The database the choice names (nothing for a CSV file): 0, or the usage error's exit status
// after saying why (a database without --query or --table is told its tables).
int ResolveData(const DataChoice& choice, std::shared_ptr<const RecordSource>* records);
// The file name as the messages quote it: 「name」.
std::string Quoted(const std::string& path);

// quillform --source FILE [--public] [--flat] [--encoding utf-8|cp932] [--lang vb6|csharp]
//                         [--class NAME]
int Source(const std::vector<std::string>& args);
// quillform --render FILE -o PAGE.png [--zoom N] [--no-grid]
int Render(const std::vector<std::string>& args);
// quillform --print FILE [-o OUT.pdf] [-P PRINTER]
int Print(const std::vector<std::string>& args);
// quillform --export FILE -o OUT.pdf|OUT.png [--dpi N]
int Export(const std::vector<std::string>& args);
// quillform --run-source PROGRAM.bas [--entry NAME] [--data RECORDS.csv] -o OUT [--dpi N]
int RunSourceCommand(const std::vector<std::string>& args);

}  // namespace qf
