#pragma once

#include <memory>
#include <string_view>

#include "basic/program.h"
#include "basic/value.h"

namespace qf::basic {

class Machine;
struct Variable;
using Names = std::map<std::string, std::shared_ptr<Variable>, std::less<>>;

// An object of a class module, made by New: members of its own, its procedures run with it as
// Me. Outside the class only its Public members and procedures are seen: a Property Get or a
// Function by reading, a Property Let or Set by assigning, any procedure by calling. When the
// last reference goes, Class_Terminate runs (while the run still does).
class ClassInstance final : public Object, public std::enable_shared_from_this<ClassInstance> {
 public:
  ClassInstance(Machine& machine, const ClassDef& def, std::weak_ptr<void> run)
      : machine_(machine), def_(def), run_(std::move(run)) {}
  ~ClassInstance() override;
  ClassInstance(const ClassInstance&) = delete;
  ClassInstance& operator=(const ClassInstance&) = delete;

  std::string_view typeName() const override { return def_.shownName; }
  Value get(std::string_view member) override;
  void set(std::string_view member, const Value& value) override;
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;

  const ClassDef& def() const { return def_; }
  Names& members() { return members_; }

 private:
  Machine& machine_;
  const ClassDef& def_;
  std::weak_ptr<void> run_;  // expired once the run is over: no Terminate then
  Names members_;
};

}  // namespace qf::basic
