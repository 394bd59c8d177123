// Option Explicit: every name a procedure uses must be declared before the program runs, as
// the language's compiler refuses a program that uses one it never declared.
#include <set>

#include "basic/builtin_tables.h"
#include "basic/name_walk.h"
#include "basic/program.h"

namespace qf::basic {

namespace {

using NameSet = std::set<std::string, std::less<>>;

class Checker {
 public:
  Checker(const Program& program, const NameSet& outer) : program_(program), known_(outer) {}

  void procedure(const Procedure& proc) {
    NameSet names = known_;
    names.insert(proc.name);  // a function's result
    for (const Param& p : proc.params) names.insert(p.name);
    for (const Instr& in : proc.code) {
      if (DeclaresVariable(in)) names.insert(in.name);
    }
    try {
      for (const Instr& in : proc.code) {
        ForEachNameIn(in, [&](const Expr& e) { name(e, names); });
      }
    } catch (BasicError& e) {
      e.file = proc.file;
      throw;
    }
  }

 private:
  void name(const Expr& e, const NameSet& names) const {
    const std::string& n = e.name;
    if (n.empty() || n[0] == ' ' || names.count(n) || program_.recordNames.count(n)) return;
    if (Builtins().count(n) || BuiltinConstant(n) || IsLanguageName(n)) return;
    throw BasicError{e.line, "変数が定義されていません（「" + program_.spelled(n) + "」）"};
  }

  const Program& program_;
  const NameSet& known_;
};

void AddDeclared(const std::vector<Instr>& declarations, NameSet& names) {
  for (const Instr& in : declarations) {
    if (in.kind == Instr::Kind::Dim || in.kind == Instr::Kind::Const) names.insert(in.name);
  }
}

void AddProcedures(const std::map<std::string, Procedure>& procedures, NameSet& names) {
  for (const auto& [key, proc] : procedures) names.insert(proc.name);
}

}  // namespace

void CheckDeclared(const Program& program) {
  if (!program.explicitNames) return;
  NameSet module;
  AddDeclared(program.module, module);
  AddProcedures(program.procedures, module);
  module.insert("rs");  // the record set a run is handed
  for (const auto& [key, proc] : program.procedures) Checker(program, module).procedure(proc);
  for (const auto& [name, cls] : program.classes) {
    NameSet inside = module;
    AddDeclared(cls.members, inside);
    AddProcedures(cls.procedures, inside);
    for (const auto& [key, proc] : cls.procedures) Checker(program, inside).procedure(proc);
  }
}

}  // namespace qf::basic
