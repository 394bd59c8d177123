#include "run_source.h"

#include "basic/interpreter.h"
#include "basic/printer_object.h"

namespace qf::basic {

namespace {

class PrinterHost final : public Host {
 public:
  PrinterHost(PrinterPort& port, PictureStore& pictures, const RunWith& with)
      : printer_(std::make_shared<PrinterObject>(port, pictures)),
        pictures_(pictures),
        with_(with) {}

  std::shared_ptr<Object> printer() override { return printer_; }
  std::shared_ptr<Object> loadPicture(const std::string& path) override {
    const Picture* pic = pictures_.picture(path);
    return pic ? std::make_shared<PictureObject>(pic->copy()) : nullptr;
  }
  std::shared_ptr<Object> global(std::string_view name) override {
    return name == "rs" ? with_.records : nullptr;
  }
  std::shared_ptr<Object> recordArray(std::string_view /*lowerName*/) override {
    return with_.page;
  }
  double now() override { return with_.now ? *with_.now : Host::now(); }
  void say(const std::string& message) override {
    std::vector<std::string>* messages = with_.messages;
    if (!messages || messages->size() > kMostMessages) return;
    messages->push_back(messages->size() < kMostMessages ? message
                                                         : "…（これより後のメッセージは省きます）");
  }
  PrinterObject& printerObject() { return *printer_; }

 private:
  std::shared_ptr<PrinterObject> printer_;
  PictureStore& pictures_;
  const RunWith& with_;
};

// The stop at a name the program reads as records, run without any: which names a data file
// would give it.
void SayWhichNamesNeedData(const Program& program, BasicError& error) {
  std::string names;
  bool atOne = false;
  for (const std::string& n : program.recordNames) {
    const std::string& shown = program.spelled(n);
    atOne = atOne || error.message == "「" + shown + "」が定義されていません";
    names += (names.empty() ? "" : "、") + shown;
  }
  if (!atOne) return;
  error.message += "（" + names +
                   " はデータのレコードです。差し込みデータでデータファイルを選ぶと、"
                   "ページのレコードが入ります）";
}

}  // namespace

std::optional<BasicError> RunOnPrinter(std::string_view source, std::string_view entry,
                                       PrinterPort& port, PictureStore& pictures,
                                       const RunWith& with) {
  return RunOnPrinter({SourceFile{"", std::string(source)}}, entry, port, pictures, with);
}

std::optional<BasicError> RunOnPrinter(const std::vector<SourceFile>& files, std::string_view entry,
                                       PrinterPort& port, PictureStore& pictures,
                                       const RunWith& with) {
  Program program;
  try {
    program = ParseFiles(files);
  } catch (const BasicError& e) {
    return e;
  }
  const bool withData = with.records || with.page;
  PrinterHost host(port, pictures, with);
  if (auto error = Run(program, entry, host)) {
    if (!withData) SayWhichNamesNeedData(program, *error);
    return error;
  }
  std::string why;
  if (!host.printerObject().finish(&why)) return BasicError{0, "印刷できません：" + why};
  return std::nullopt;
}

}  // namespace qf::basic
