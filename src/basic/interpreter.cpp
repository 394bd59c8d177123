// The runner's entries: a procedure run to its end, an expression evaluated.
#include "interpreter.h"

#include <ctime>

#include "basic/dates.h"
#include "basic/machine.h"

namespace qf::basic {

double Host::now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return Joined(DaysOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                TimeOfDay(local.tm_hour, local.tm_min, local.tm_sec));
}

std::optional<BasicError> Run(const Program& program, std::string_view entry, Host& host,
                              const RunLimits& limits) {
  Machine m(program, host, limits);
  const std::string name = Lower(entry);
  auto it = program.procedures.find(name);
  if (it == program.procedures.end()) {
    return BasicError{0, "プロシージャ「" + std::string(entry) + "」がありません"};
  }
  try {
    m.declareModule();
    m.call(it->second, {}, it->second.line);
    m.releaseModule();
  } catch (const BasicError& e) {
    return e;
  } catch (const Fatal& e) {
    return e.error;
  } catch (const RunFailure& e) {
    return BasicError{it->second.line, e.message, e.number, it->second.file};
  } catch (const EndProgram&) {
  }
  return std::nullopt;
}

std::optional<Value> Evaluate(std::string_view expression, Host& host, BasicError* error) {
  try {
    const Program program = ParseValue(expression);
    Machine m(program, host, RunLimits{100000, 32});
    m.readUnknownNamesAsEmpty(false);
    return m.call(program.procedures.at("qfvalue"), {}, 1);
  } catch (const BasicError& e) {
    if (error) *error = e;
  } catch (const Fatal& e) {
    if (error) *error = e.error;
  } catch (const RunFailure& e) {
    if (error) *error = BasicError{1, e.message, e.number};
  } catch (const EndProgram&) {
    if (error) *error = BasicError{1, "End で止まりました"};
  }
  return std::nullopt;
}

}  // namespace qf::basic
