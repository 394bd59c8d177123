// The names a procedure's code uses, for the checks and resolutions made once after a program
// is read (Option Explicit, the variables' slots).
#pragma once

#include <type_traits>
#include <variant>

#include "basic/program.h"

namespace qf::basic {

// Whether an instruction declares a variable of its procedure (a ReDim of a record's member
// declares none).
inline bool DeclaresVariable(const Instr& in) {
  return in.kind == Instr::Kind::Dim || in.kind == Instr::Kind::Const ||
         (in.kind == Instr::Kind::ReDim && !in.a);
}

// Calls `visit` with each Name expression under `e` (an Expr, const or not).
template <class E, class Visit>
void ForEachName(E* e, Visit&& visit) {
  if (!e) return;
  if (e->kind == Expr::Kind::Name) {
    visit(*e);
    return;
  }
  if (e->kind == Expr::Kind::Literal || e->kind == Expr::Kind::New) return;
  ForEachName(e->a.get(), visit);
  ForEachName(e->b.get(), visit);
  for (auto& arg : e->args) ForEachName(arg.get(), visit);
}

// Calls `visit` with each Name expression an instruction holds (its parts, its arguments, a
// String * n's length): `in` an Instr, const or not.
template <class I, class Visit>
void ForEachNameIn(I& in, Visit&& visit) {
  using E = std::conditional_t<std::is_const_v<I>, const Expr, Expr>;
  const auto walk = [&](E* e) { ForEachName(e, visit); };
  walk(in.a.get());
  walk(in.b.get());
  for (auto& arg : in.args) walk(arg.get());
  if (auto* dim = std::get_if<DimForm>(&in.form)) walk(dim->length.get());
}

}  // namespace qf::basic
