#include "class_object.h"

#include "basic/machine.h"

namespace qf::basic {

ClassInstance::~ClassInstance() {
  if (run_.expired()) return;
  // An error in Class_Terminate has no one to go to: the object is already gone.
  try {
    machine_.terminate(*this);
  } catch (...) {
  }
}

Value ClassInstance::get(std::string_view member) {
  return machine_.memberGet(*this, member);
}

void ClassInstance::set(std::string_view member, const Value& value) {
  machine_.memberSet(*this, member, value);
}

Value ClassInstance::call(std::string_view member, const std::vector<Value>& args,
                          const std::vector<bool>& missing) {
  return machine_.memberCall(*this, member, args, missing);
}

}  // namespace qf::basic
