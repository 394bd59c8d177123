// The runner's variables: declarations, arrays (ReDim, Erase, bounds), assignments and the
// groups For Each walks.
#include "basic/array_value.h"
#include "basic/machine.h"
#include "basic/user_types.h"

namespace qf::basic {

namespace {

constexpr size_t kMostElements = 1'000'000;

}  // namespace

// What a variable holds before anything is assigned to it: its type's empty value, a new
// record of its Type, a blank text of its fixed length.
Value Machine::fresh(const Variable& v) const {
  if (!v.userType.empty()) {
    return Value::Obj(std::make_shared<UserValue>(program_, program_.types.at(v.userType)));
  }
  if (v.length > 0) return Value::Str(std::string(v.length, ' '));
  // An object variable starts as Nothing.
  return v.type == Type::Object ? Value::Obj(nullptr) : Coerce(Value{}, v.type);
}

VarPtr Machine::declare(Frame& f, const Instr& in) {
  const DimForm& form = in.dim();
  if (form.keep) {
    // Static: the variable made at the first call lives on.
    const auto key = std::make_pair(f.proc, in.name);
    if (auto it = statics_.find(key); it != statics_.end()) return it->second;
  }
  auto v = std::make_shared<Variable>();
  v->type = in.type;
  v->isPrivate = form.isPrivate;
  v->userType = form.userType;
  if (form.length) {
    const long n = ToLong(eval(f, *form.length));
    if (n < 1 || n > 65526) throw RunFailure{"String * の長さは 1 から 65526 までです"};
    v->length = static_cast<size_t>(n);
  }
  // As New: the object is made where the variable is first used (and again after Set x =
  // Nothing), not here.
  v->autoNew = form.newClass;
  v->value = fresh(*v);
  if (form.array) {
    v->isArray = true;
    v->dynamic = in.args.empty();
    if (!v->dynamic) size(f, in, *v);
  }
  if (form.keep) statics_[std::make_pair(f.proc, in.name)] = v;
  return v;
}

void Machine::bind(Frame& f, const std::string& name, VarPtr v) {
  if (f.proc) {
    if (const auto it = f.proc->slotOf.find(name); it != f.proc->slotOf.end()) {
      f.variables[static_cast<size_t>(it->second)] = std::move(v);
      return;
    }
  }
  f.locals[name] = std::move(v);
}

// An array's bounds from the instruction's, its elements fresh.
void Machine::size(Frame& f, const Instr& in, Variable& v) {
  std::vector<std::pair<long, long>> bounds;
  size_t count = 1;
  for (size_t i = 0; i + 1 < in.args.size(); i += 2) {
    const long low = in.args[i] ? ToLong(eval(f, *in.args[i])) : 0;
    const long high = ToLong(eval(f, *in.args[i + 1]));
    if (high < low || high - low >= 10'000'000) throw RunFailure{"配列の大きさが正しくありません"};
    bounds.emplace_back(low, high);
    count *= static_cast<size_t>(high - low + 1);
    if (count > kMostElements) throw RunFailure{"配列が大きすぎます（100 万要素まで）"};
  }
  v.bounds = std::move(bounds);
  v.elements.clear();
  v.elements.reserve(count);
  for (size_t i = 0; i < count; ++i) v.elements.push_back(fresh(v));
}

// ReDim [Preserve]: new bounds; with Preserve the elements whose place is still inside keep
// their values.
void Machine::redim(Frame& f, const Instr& in) {
  if (in.a) {
    // ReDim of a record's array member.
    auto* record = dynamic_cast<UserValue*>(eval(f, *in.a).object().get());
    if (!record) throw RunFailure{"ReDim の「.」の前は Type の変数です"};
    if (in.args.size() != 2) throw RunFailure{"Type の配列のメンバーは一次元です"};
    const long low = in.args[0] ? ToLong(eval(f, *in.args[0])) : 0;
    record->redim(in.name, low, ToLong(eval(f, *in.args[1])), in.dim().preserve);
    return;
  }
  VarPtr v = find(f, in.name);
  if (!v) {
    v = std::make_shared<Variable>();
    v->type = in.type;
    v->userType = in.dim().userType;
    v->isArray = true;
    v->dynamic = true;
    bind(f, in.name, v);
  }
  if (!v->isArray) throw RunFailure{"「" + shown(in.name) + "」は配列ではありません"};
  if (!v->dynamic) throw RunFailure{"大きさを決めて宣言した配列は ReDim できません"};
  const std::vector<std::pair<long, long>> oldBounds = v->bounds;
  std::vector<Value> oldElements = std::move(v->elements);
  size(f, in, *v);
  if (!in.dim().preserve || oldBounds.size() != v->bounds.size()) return;
  // Each old element to its place in the new array, when it has one.
  for (size_t at = 0; at < oldElements.size(); ++at) {
    // Its index in each dimension, the last varying fastest.
    size_t rest = at;
    size_t to = 0;
    bool inside = true;
    std::vector<long> index(oldBounds.size());
    for (size_t d = oldBounds.size(); d-- > 0;) {
      const auto [low, high] = oldBounds[d];
      const auto extent = static_cast<size_t>(high - low + 1);
      index[d] = low + static_cast<long>(rest % extent);
      rest /= extent;
    }
    for (size_t d = 0; d < index.size(); ++d) {
      const auto [low, high] = v->bounds[d];
      if (index[d] < low || index[d] > high) inside = false;
      to = to * static_cast<size_t>(high - low + 1) + static_cast<size_t>(index[d] - low);
    }
    if (inside) v->elements[to] = std::move(oldElements[at]);
  }
}

// Erase: a fixed array's elements empty again, a dynamic array's given back.
void Machine::erase(Frame& f, const Instr& in) {
  for (const auto& e : in.args) {
    VarPtr v = lookup(f, *e);
    if (!v || !v->isArray) throw RunFailure{"「" + shown(e->name) + "」は配列ではありません"};
    if (v->dynamic) {
      v->bounds.clear();
      v->elements.clear();
    } else {
      for (Value& x : v->elements) x = fresh(*v);
    }
  }
}

VarPtr Machine::constant(Frame& f, const Instr& in) {
  auto v = std::make_shared<Variable>();
  v->value = Coerce(eval(f, *in.b), in.type);
  v->constant = true;
  return v;
}

VarPtr Machine::lookup(Frame& f, const Expr& e) {
  VarPtr v = located(f, e);
  if (v && !v->autoNew.empty() && !v->isArray && !v->value.object()) {
    v->value = newObject(v->autoNew);
  }
  return v;
}

VarPtr Machine::located(Frame& f, const Expr& e) {
  const auto at = static_cast<size_t>(e.slot);
  if (e.scope == Scope::Local && f.proc && at < f.variables.size() && f.variables[at])
    return f.variables[at];
  // No implicit variable of a procedure shares a module variable's name: a name the module
  // declares is found before one is made.
  if (e.scope == Scope::Module && at < moduleSlots_.size() && moduleSlots_[at]) {
    return moduleSlots_[at];
  }
  return find(f, e.name);
}

VarPtr Machine::find(Frame& f, std::string_view name) {
  if (f.proc) {
    if (const auto it = f.proc->slotOf.find(name); it != f.proc->slotOf.end()) {
      if (const VarPtr& v = f.variables[static_cast<size_t>(it->second)]) return v;
    }
  }
  if (auto it = f.locals.find(name); it != f.locals.end()) return it->second;
  if (f.me) {
    Names& members = f.me->members();
    if (auto it = members.find(name); it != members.end()) return it->second;
  }
  if (auto it = module_.find(name); it != module_.end()) return it->second;
  return nullptr;
}

Value& Machine::element(Variable& v, const std::vector<Value>& index) {
  if (v.bounds.empty()) {
    throw RunFailure{"大きさの決まっていない配列です（ReDim で大きさを決めてください）",
                     kErrSubscript};
  }
  if (index.size() != v.bounds.size()) throw RunFailure{"配列の添字の数が違います"};
  size_t at = 0;
  for (size_t i = 0; i < index.size(); ++i) {
    const long k = ToLong(index[i]);
    const auto [low, high] = v.bounds[i];
    if (k < low || k > high) {
      throw RunFailure{"添字 " + std::to_string(k) + " が配列の範囲（" + std::to_string(low) +
                           " To " + std::to_string(high) + "）の外です",
                       kErrSubscript};
    }
    at = at * static_cast<size_t>(high - low + 1) + static_cast<size_t>(k - low);
  }
  return v.elements[at];
}

// The value a variable keeps of an assignment: of its type, a record copied, a fixed-length
// text cut or filled out.
Value Machine::stored(const Variable& v, const Value& value, bool set) const {
  Value out = Assigned(Coerce(set || v.type == Type::Object ? value : Plain(value), v.type));
  if (v.length > 0) out = Value::Str(FixedText(ToText(out), v.length));
  return out;
}

void Machine::assign(Frame& f, const Expr& target, const Value& value, bool set) {
  if (set && value.type() != Type::Object && value.type() != Type::Empty) {
    throw RunFailure{"Set の右辺はオブジェクトです"};
  }
  // Without Set, an object stands for its default property (s = Printer.Font is the name).
  const Value given = set ? value : Plain(value);
  switch (target.kind) {
    case Expr::Kind::Name: {
      VarPtr v = located(f, target);  // an assignment makes no As New object
      if (!v) {
        // An undeclared name becomes a variable, as the language allows without Option
        // Explicit.
        v = std::make_shared<Variable>();
        bind(f, target.name, v);
      }
      if (v->constant) throw RunFailure{"定数「" + shown(target.name) + "」には代入できません"};
      if (v->isArray) return assignArray(*v, target.name, given);
      v->value = stored(*v, given, set);
      return;
    }
    case Expr::Kind::Call:
      if (target.a->kind == Expr::Kind::Name) {
        VarPtr v = lookup(f, *target.a);
        if (v && v->isArray) {
          element(*v, values(f, target.args)) = stored(*v, given, set);
          return;
        }
        if (ArrayValue* held = v ? ArrayOf(v->value) : nullptr) {
          held->at(values(f, target.args)) = Assigned(set ? value : Plain(value));
          return;
        }
      } else if (target.a->kind == Expr::Kind::Member || target.a->kind == Expr::Kind::WithDot) {
        // An element of a record's array member: r.Cells(2) = 5.
        const Expr& member = *target.a;
        const Value owner = member.kind == Expr::Kind::WithDot ? withObject(f) : eval(f, *member.a);
        const Value array = objectOf(owner, member.name).get(member.name);
        if (ArrayValue* held = ArrayOf(array)) {
          held->put(values(f, target.args), set ? value : Plain(value));
          return;
        }
      }
      break;
    case Expr::Kind::Member:
    case Expr::Kind::WithDot: {
      const Value owner = target.kind == Expr::Kind::WithDot ? withObject(f) : eval(f, *target.a);
      objectOf(owner, target.name).set(target.name, value);
      return;
    }
    default:
      break;
  }
  throw RunFailure{"代入できない式です"};
}

// A dynamic array given a whole array (names = Split(s, ",")): its bounds and elements, each
// of the array's type.
void Machine::assignArray(Variable& v, const std::string& name, const Value& value) {
  const ArrayValue* array = ArrayOf(value);
  if (!array || !v.dynamic) throw RunFailure{"配列「" + shown(name) + "」全体には代入できません"};
  std::vector<Value> elements;
  for (const Value& e : array->elements()) elements.push_back(stored(v, e, false));
  v.elements = std::move(elements);
  v.bounds = {{array->lower(), array->upper()}};
  if (v.elements.empty()) v.bounds.clear();
}

// Mid$(v, start[, n]) = text: as many characters of v as text has (n at most) replaced, from
// start; v keeps its length.
void Machine::midAssign(Frame& f, const Instr& in) {
  const std::u32string s = Chars(ToText(eval(f, *in.a)));
  const long start = ToLong(eval(f, *in.args[0]));
  if (start < 1 || static_cast<size_t>(start) > s.size()) {
    throw RunFailure{"Mid の開始位置が文字列の外です", kErrInvalidCall};
  }
  std::u32string with = Chars(ToText(eval(f, *in.b)));
  if (in.args[1]) {
    const long n = ToLong(eval(f, *in.args[1]));
    if (n < 0) throw RunFailure{"Mid の長さが負です", kErrInvalidCall};
    if (with.size() > static_cast<size_t>(n)) with.resize(static_cast<size_t>(n));
  }
  std::u32string out = s;
  const auto from = static_cast<size_t>(start - 1);
  out.replace(from, std::min(with.size(), s.size() - from), with.substr(0, s.size() - from));
  assign(f, *in.a, Value::Str(Utf8(out)), false);
}

// For Each: the group's elements, taken now, the first into the variable; false when empty.
bool Machine::forEachStart(Frame& f, const Instr& in) {
  LoopState& loop = f.loops[static_cast<size_t>(in.slot)];
  loop.items.clear();
  loop.next = 0;
  VarPtr array = in.b->kind == Expr::Kind::Name ? lookup(f, *in.b) : nullptr;
  if (array && array->isArray) {
    loop.items = array->elements;
  } else {
    const Value group = eval(f, *in.b);
    if (group.type() != Type::Object || !group.object()) {
      throw RunFailure{"For Each で回せるのは配列かコレクションです", kErrTypeMismatch};
    }
    loop.items = group.object()->items();
  }
  return forEachNext(f, in);
}

bool Machine::forEachNext(Frame& f, const Instr& in) {
  LoopState& loop = f.loops[static_cast<size_t>(in.slot)];
  const Instr& start =
      in.kind == Instr::Kind::ForEachStart ? in : f.proc->code[static_cast<size_t>(in.target - 1)];
  if (loop.next >= loop.items.size()) {
    loop.items.clear();
    return false;
  }
  const Value item = loop.items[loop.next++];
  assign(f, *start.a, item, item.type() == Type::Object);
  return true;
}

// LBound(a[, d]) and UBound(a[, d]): a bound of an array's dimension d (the first unless given).
Value Machine::bound(const std::vector<Arg>& args, bool upper) {
  const char* name = upper ? "UBound" : "LBound";
  if (!args.empty() && args.size() <= 2 && (!args[0].ref || !args[0].ref->isArray)) {
    // An array held as a value: Split's, a Variant's.
    if (const ArrayValue* held = ArrayOf(args[0].value)) {
      if (args.size() == 2 && ToLong(args[1].value) != 1) {
        throw RunFailure{std::string(name) + " の次元が配列の外です", kErrSubscript};
      }
      return Value::Lng(static_cast<double>(upper ? held->upper() : held->lower()));
    }
  }
  if (args.empty() || args.size() > 2 || !args[0].ref || !args[0].ref->isArray) {
    throw RunFailure{std::string(name) + " には配列の名前が必要です", kErrTypeMismatch};
  }
  const Variable& v = *args[0].ref;
  const long d = args.size() == 2 ? ToLong(args[1].value) : 1;
  if (d < 1 || static_cast<size_t>(d) > v.bounds.size()) {
    throw RunFailure{std::string(name) + " の次元が配列の外です", kErrSubscript};
  }
  const auto [low, high] = v.bounds[static_cast<size_t>(d - 1)];
  return Value::Lng(static_cast<double>(upper ? high : low));
}

}  // namespace qf::basic
