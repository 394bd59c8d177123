#include "run_source.h"

#include "basic/interpreter.h"
#include "basic/printer_object.h"

namespace qf::basic {

namespace {

class PrinterHost final : public Host {
 public:
  PrinterHost(PrinterPort& port, PictureStore& pictures, std::shared_ptr<Object> records)
      : printer_(std::make_shared<PrinterObject>(port, pictures)),
        pictures_(pictures),
        records_(std::move(records)) {}

  std::shared_ptr<Object> printer() override { return printer_; }
  std::shared_ptr<Object> loadPicture(const std::string& path) override {
    const Picture* pic = pictures_.picture(path);
    return pic ? std::make_shared<PictureObject>(*pic) : nullptr;
  }
  std::shared_ptr<Object> global(std::string_view name) override {
    return name == "rs" ? records_ : nullptr;
  }
  PrinterObject& printerObject() { return *printer_; }

 private:
  std::shared_ptr<PrinterObject> printer_;
  PictureStore& pictures_;
  std::shared_ptr<Object> records_;
};

}  // namespace

std::optional<BasicError> RunOnPrinter(std::string_view source, std::string_view entry,
                                       PrinterPort& port, PictureStore& pictures,
                                       std::shared_ptr<Object> records) {
  Program program;
  try {
    program = Parse(source);
  } catch (const BasicError& e) {
    return e;
  }
  PrinterHost host(port, pictures, std::move(records));
  if (auto error = Run(program, entry, host)) return error;
  std::string why;
  if (!host.printerObject().finish(&why)) return BasicError{0, "印刷できません：" + why};
  return std::nullopt;
}

}  // namespace qf::basic
