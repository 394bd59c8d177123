// quillform --run-source: a program in the printing language, run onto an export.
#include <iostream>

#include "app/cli_commands.h"
#include "basic/dates.h"
#include "platform/picture_store.h"
#include "platform/program_export.h"

namespace qf {

namespace {

// A source file's text, decoded; false after saying why it cannot be read.
bool ReadSource(const std::string& name, SourceEncoding encoding, std::string* text, int* rc) {
  std::string bytes;
  const FileStatus read = ReadWholeFile(name, bytes, size_t{64} << 20);
  if (!read.ok()) {
    *rc = Fail(Quoted(name) + "を読み込めません：", read);
    return false;
  }
  std::string why;
  if (!DecodeProgram(bytes, text, &why, encoding)) {
    *rc = Fail(Quoted(name) + "を読み込めません：" + why);
    return false;
  }
  return true;
}

}  // namespace

int RunSourceCommand(const std::vector<std::string>& args) {
  ProgramRun run;
  std::vector<std::string> files;
  std::string out;
  int dpi = 300;
  SourceEncoding encoding = SourceEncoding::Detect;
  DataChoice data;
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool value = i + 1 < args.size();
    if (a == "-o" && value) {
      out = args[++i];
    } else if (a == "--entry" && value) {
      run.entry = args[++i];
    } else if (DataOption(args, i, data)) {
      continue;
    } else if (a == "--now" && value) {
      // The clock the program reads, fixed: runs of the same program can be compared.
      run.now = basic::ParseDateText(args[++i]);
      if (!run.now) return Usage("--now には「2024-05-17 10:30」のように日時を書きます");
    } else if (a == "--encoding" && value) {
      const std::optional<SourceEncoding> named = SourceEncodingNamed(args[++i]);
      if (!named) {
        return Usage("--encoding に指定できるのは utf-8、cp932、windows-1252、auto です");
      }
      encoding = *named;
    } else if (a == "--dpi" && value) {
      if (int rc = DpiOption(args[++i], dpi)) return rc;
    } else if (a.rfind("-", 0) == 0) {
      return Usage(
          "--run-source にはプログラムのファイル（.bas、.cls、.frm）と -o "
          "OUT.pdf|OUT.png|OUT.svg、--entry NAME、--data SOURCE、--query SQL、--encoding "
          "utf-8|cp932|windows-1252、--now 日時、--dpi N を指定できます");
    } else {
      files.push_back(a);
    }
  }
  if (files.empty() || out.empty()) {
    return Usage("--run-source にはプログラムと -o OUT を指定します");
  }
  const std::optional<ExportFormat> format = ExportFormatOf(out);
  if (!format) return Usage("--run-source で書けるのは .pdf、.png、.svg です");
  if (int rc = ResolveData(data, &run.records)) return rc;
  if (!run.records) run.data = data.data;
  int rc = kExitOk;
  run.name = files.front();
  if (!ReadSource(run.name, encoding, &run.source, &rc)) return rc;
  for (size_t i = 1; i < files.size(); ++i) {
    basic::SourceFile other{files[i], {}};
    if (!ReadSource(files[i], encoding, &other.text, &rc)) return rc;
    run.others.push_back(std::move(other));
  }
  QtPictureStore pictures;
  std::vector<std::string> messages;
  int written = 0;
  const FileStatus st = ExportProgram(run, pictures, out, *format, dpi, &messages, &written);
  // What the program would have shown on a screen, for the one who runs it.
  for (const std::string& m : messages) std::cerr << m << '\n';
  if (!st.ok()) return Fail(Quoted(out) + "に出力できません：", st);
  if (*format != ExportFormat::Pdf && written > 1) {
    std::cout << written << " ページを" << Quoted(PagePath(out, 1).string()) << "から"
              << Quoted(PagePath(out, written).string()) << "まで書き出しました\n";
  }
  return kExitOk;
}

}  // namespace qf
