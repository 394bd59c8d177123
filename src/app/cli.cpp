#include "cli.h"

#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string_view>

#include "app/cli_commands.h"
#include "document/design_file.h"
#include "document/number_text.h"
#include "platform/qt_measure.h"
#include "shell/app_paths.h"

namespace qf {

namespace {

constexpr std::string_view kUsage =
    "usage: quillform [FILE.qfd]\n"
    "       quillform --dump FILE\n"
    "       quillform --resave IN OUT\n"
    "       quillform --source FILE [--public] [--flat] [--encoding utf-8|cp932]\n"
    "                 [--lang vb6|csharp] [--class NAME]\n"
    "       quillform --render FILE -o PAGE.png [--zoom N] [--no-grid]\n"
    "       quillform --print FILE [-o OUT.pdf] [-P PRINTER]\n"
    "                 [--data SOURCE [--query \"SELECT …\" | --table NAME] [--group COLUMN]\n"
    "                 [--pages N-M]]\n"
    "       quillform --export FILE -o OUT.pdf|OUT.png|OUT.svg [--dpi N] [--grid]\n"
    "                 [--data SOURCE [--query \"SELECT …\" | --table NAME] [--group COLUMN]\n"
    "                 [--pages N-M]]\n"
    "       quillform --run-source PROGRAM.bas [CLASS.cls FORM.frm …] -o OUT.pdf|OUT.png|OUT.svg\n"
    "                 [--entry NAME]\n"
    "                 [--data SOURCE [--query \"SELECT …\" | --table NAME]]\n"
    "                 [--encoding utf-8|cp932|windows-1252]\n"
    "                 [--now \"2024-05-17 10:30\"] [--dpi N]\n"
    "       quillform --help | --version\n"
    "SOURCE: RECORDS.csv, sqlite:PATH, postgresql://USER@HOST[:PORT]/DBNAME (the password from\n"
    "PGPASSWORD or ~/.pgpass), odbc:DSN\n"
    "exit status: 0 done, 1 failed, 2 usage error, 3 the design file is cut off (--dump and\n"
    "--source write what was read; the others write and print nothing)\n";

// One cell on one line: line breaks, tabs and backslashes are written as escapes.
std::string DumpCell(const std::string& cell) {
  std::string out;
  out.reserve(cell.size());
  for (char c : cell) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void DumpTable(std::ostream& os, const TextTable& t) {
  for (int r = 0; r < t.rowCount(); ++r) {
    for (int c = 0; c < t.columnCount(); ++c) {
      if (c > 0) os << '\t';
      os << DumpCell(t.cell(r, c));
    }
    os << '\n';
  }
}

int Dump(const std::string& path) {
  Design design;
  const int rc = Load(path, design, CutOffDesign::Show);
  if (rc != kExitOk && rc != kExitCutOff) return rc;
  std::cout << "[layers]\n";
  DumpTable(std::cout, design.layers);
  std::cout << "[objects]\n";
  DumpTable(std::cout, design.objects);
  std::cout.flush();
  return std::cout ? rc : kExitFailed;
}

int Resave(const std::string& in, const std::string& out) {
  Design design;
  if (int rc = Load(in, design)) return rc;
  const FileStatus st = SaveDesign(design, out);
  if (!st.ok()) return Fail(Quoted(out) + "に保存できません：", st);
  return kExitOk;
}

}  // namespace

std::string Quoted(const std::string& path) {
  return "「" + path + "」";
}

int Fail(const std::string& lead, const FileStatus& st) {
  // Most details name their file already; the others get the lead that does.
  const bool named = st.detail.rfind("「", 0) == 0;
  std::cerr << "quillform: " << (named ? std::string() : lead) << st.detail << '\n';
  return kExitFailed;
}

int Fail(const std::string& message) {
  std::cerr << "quillform: " << message << '\n';
  return kExitFailed;
}

int Load(const std::string& path, Design& design, CutOffDesign cutOff) {
  const QtTextMeasurer text;
  const QtPictureSizer picture;
  LoadDecisions decided;
  const FileStatus st = LoadDesign(path, design, Measurers{text, picture}, &decided);
  if (!st.ok()) return Fail(Quoted(path) + "を読み込めません：", st);
  if (!decided.cutOff) return kExitOk;
  // A script must not take part of a design for all of it.
  std::cerr << "quillform: " << Quoted(path)
            << (cutOff == CutOffDesign::Show ? "：" : "からは何も出力しません：") << decided.warning
            << '\n';
  return kExitCutOff;
}

int Usage(std::string_view problem) {
  std::cerr << "quillform: " << problem << '\n' << kUsage;
  return kExitUsage;
}

int DpiOption(const std::string& value, int& dpi) {
  const auto n = RoundToInt<int>(NumericPrefix(value));
  if (!n || *n < 10 || *n > 1200) return Usage("--dpi には 10 から 1200 までを指定します");
  dpi = *n;
  return kExitOk;
}

bool IsSubcommand(const std::vector<std::string>& args) {
  return args.size() > 1 && args[1].rfind("--", 0) == 0;
}

std::optional<int> RunCommandLine(const std::vector<std::string>& args) {
  if (!IsSubcommand(args)) return std::nullopt;
  const std::string& cmd = args[1];
  if (cmd == "--help") {
    std::cout << kUsage;
    return 0;
  }
  if (cmd == "--version") {
    // Where the help is shows where an installed program looks for what it ships.
    const std::string folder = QCoreApplication::applicationDirPath().toStdString();
    std::cout << "Quillform " << QUILLFORM_VERSION
              << "\nhelp: " << ProgramDataFile(folder, "help/qfhelp.htm").string() << '\n';
    return 0;
  }
  if (cmd == "--dump") {
    if (args.size() != 3) return Usage("--dump にはファイルを一つ指定します");
    return Dump(args[2]);
  }
  if (cmd == "--resave") {
    if (args.size() != 4) return Usage("--resave には読み込むファイルと保存先を指定します");
    return Resave(args[2], args[3]);
  }
  if (cmd == "--source") return Source(args);
  if (cmd == "--render") return Render(args);
  if (cmd == "--print") return Print(args);
  if (cmd == "--export") return Export(args);
  if (cmd == "--run-source") return RunSourceCommand(args);
  return Usage(cmd + " というオプションはありません");
}

}  // namespace qf
