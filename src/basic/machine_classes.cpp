// The runner's objects of class modules: made by New with members of their own, their
// procedures run with them as Me, seen from outside through their Public members.
#include "basic/collection.h"
#include "basic/font_object.h"
#include "basic/machine.h"

namespace qf::basic {

// New C: an object of a class of the program's or of the language's.
Value Machine::newObject(const std::string& className) {
  if (className == "stdfont") return Value::Obj(std::make_shared<StdFont>());
  if (className == "collection") return Value::Obj(std::make_shared<Collection>());
  const auto it = program_.classes.find(className);
  if (it == program_.classes.end())
    throw RunFailure{"クラス「" + shown(className) + "」はありません"};
  auto object = std::make_shared<ClassInstance>(*this, it->second, life_);
  Frame f;
  f.me = object.get();
  f.meHold = object;
  for (const Instr& in : it->second.members) {
    if (in.kind == Instr::Kind::Dim) object->members()[in.name] = declare(f, in);
    if (in.kind == Instr::Kind::Const) object->members()[in.name] = constant(f, in);
  }
  if (const Procedure* init = classProcedure(*object, "class_initialize", false)) {
    call(*init, {}, init->line, object.get(), object);
  }
  return Value::Obj(std::move(object));
}

const Procedure* Machine::classProcedure(const ClassInstance& object, const std::string& key,
                                         bool outside) const {
  const auto& procedures = object.def().procedures;
  const auto it = procedures.find(key);
  if (it == procedures.end()) return nullptr;
  if (outside && it->second.isPrivate) {
    throw RunFailure{"「" + it->second.shownName + "」は " + object.def().shownName +
                     " の Private なプロシージャです"};
  }
  return &it->second;
}

namespace {

std::vector<Arg> AsArgs(const std::vector<Value>& values, const std::vector<bool>& missing) {
  std::vector<Arg> args;
  for (size_t i = 0; i < values.size(); ++i) {
    Arg a;
    a.value = values[i];
    a.missing = i < missing.size() && missing[i];
    args.push_back(std::move(a));
  }
  return args;
}

}  // namespace

Value Machine::memberGet(ClassInstance& object, std::string_view member) {
  const std::string name(member);
  Names& members = object.members();
  if (auto it = members.find(name); it != members.end() && !it->second->isPrivate) {
    return it->second->value;
  }
  if (const Procedure* p = classProcedure(object, name, true)) {
    return call(*p, {}, p->line, &object, object.shared_from_this());
  }
  throw RunFailure{object.def().shownName + " に「" + shown(name) + "」はありません"};
}

void Machine::memberSet(ClassInstance& object, std::string_view member, const Value& value) {
  const std::string name(member);
  Names& members = object.members();
  if (auto it = members.find(name); it != members.end() && !it->second->isPrivate) {
    Variable& v = *it->second;
    if (v.constant || v.isArray) throw RunFailure{"「" + shown(name) + "」には代入できません"};
    v.value = stored(v, value, value.type() == Type::Object);
    return;
  }
  // An object goes to Property Set when there is one, anything else to Property Let.
  const Procedure* p = nullptr;
  if (value.type() == Type::Object)
    p = classProcedure(object, ProcedureKey(ProcKind::PropertySet, name), true);
  if (!p) p = classProcedure(object, ProcedureKey(ProcKind::PropertyLet, name), true);
  if (!p) throw RunFailure{object.def().shownName + " の「" + shown(name) + "」には代入できません"};
  call(*p, AsArgs({value}, {}), p->line, &object, object.shared_from_this());
}

Value Machine::memberCall(ClassInstance& object, std::string_view member,
                          const std::vector<Value>& args, const std::vector<bool>& missing) {
  const std::string name(member);
  if (const Procedure* p = classProcedure(object, name, true)) {
    return call(*p, AsArgs(args, missing), p->line, &object, object.shared_from_this());
  }
  if (args.empty()) return memberGet(object, member);
  // A member holding an object or an array, read with arguments.
  const Value held = memberGet(object, member);
  return objectOf(held, name).index(args);
}

void Machine::terminate(ClassInstance& object) {
  if (const Procedure* p = classProcedure(object, "class_terminate", false)) {
    call(*p, {}, p->line, &object, nullptr);
  }
}

}  // namespace qf::basic
