// Declared variables found by their place instead of their name: each procedure's variables
// (parameters, its result, what it declares) and the module's get a slot, once, after every
// file of the program is read, and each name in the code that means one of them is told its
// slot. A name that is none of them (an implicit variable, a procedure, a function of the
// language, a class's member, a name the host gives) is looked up by name as it runs.
#include "basic/name_walk.h"
#include "basic/program.h"

namespace qf::basic {

namespace {

using Slots = std::map<std::string, int, std::less<>>;

int Place(Slots& slots, const std::string& name) {
  return slots.emplace(name, static_cast<int>(slots.size())).first->second;
}

class Resolver {
 public:
  // `members`: the names of the class whose procedures these are; none for a module's.
  Resolver(const Slots& module, const std::set<std::string>* members)
      : module_(module), members_(members) {}

  void procedure(Procedure& proc) {
    Slots& slots = proc.slotOf;
    slots.clear();
    for (const Param& p : proc.params) Place(slots, p.name);
    if (proc.function) Place(slots, proc.name);
    for (Instr& in : proc.code) {
      if (DeclaresVariable(in)) in.local = Place(slots, in.name);
    }
    for (Instr& in : proc.code) ForEachNameIn(in, [&](Expr& e) { name(e, slots); });
  }

 private:
  // A procedure's own names first, then its class's members (looked up on the object), then
  // the module's.
  void name(Expr& e, const Slots& slots) const {
    if (const auto it = slots.find(e.name); it != slots.end()) {
      e.scope = Scope::Local;
      e.slot = it->second;
    } else if (members_ && members_->count(e.name)) {
      return;
    } else if (const auto m = module_.find(e.name); m != module_.end()) {
      e.scope = Scope::Module;
      e.slot = m->second;
    }
  }

  const Slots& module_;
  const std::set<std::string>* members_;
};

}  // namespace

void ResolveSlots(Program& program) {
  Slots module;
  for (Instr& in : program.module) {
    if (DeclaresVariable(in)) in.local = Place(module, in.name);
  }
  program.moduleSlots = static_cast<int>(module.size());
  for (auto& [key, proc] : program.procedures) Resolver(module, nullptr).procedure(proc);
  for (auto& [name, cls] : program.classes) {
    std::set<std::string> members;
    for (const Instr& in : cls.members) {
      if (DeclaresVariable(in)) members.insert(in.name);
    }
    for (auto& [key, proc] : cls.procedures) Resolver(module, &members).procedure(proc);
  }
}

}  // namespace qf::basic
