// Feeds arbitrary programs to the printing language: parsing and running never crash or hang
// (the run has a step limit); a program either runs or stops with a line and a reason.
#include <cstdint>
#include <string>

#include "basic/interpreter.h"

namespace {

// No printer, no pictures: whatever a program draws stops it with a reason.
class EmptyWorld final : public qf::basic::Host {
 public:
  std::shared_ptr<qf::basic::Object> printer() override { return nullptr; }
  std::shared_ptr<qf::basic::Object> loadPicture(const std::string&) override { return nullptr; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string source(reinterpret_cast<const char*>(data), size);
  EmptyWorld world;
  try {
    const qf::basic::Program program = qf::basic::Parse(source);
    for (const auto& [name, procedure] : program.procedures) {
      if (!procedure.params.empty()) continue;
      const auto error = qf::basic::Run(program, name, world, qf::basic::RunLimits{20000, 64});
      if (error && error->message.empty()) __builtin_trap();  // a stop always says why
    }
  } catch (const qf::basic::BasicError& e) {
    if (e.message.empty()) __builtin_trap();
  }
  std::string why;
  (void)qf::basic::Evaluate(source.substr(0, 200), world, &why);
  return 0;
}
