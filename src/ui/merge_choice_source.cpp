#include "merge_choice_source.h"

#include "basic/field_values.h"
#include "platform/database_source.h"

namespace qf {

MergeSource MergeSourceOf(const MergeChoice& choice) {
  MergeSource source{choice.data, CsvOptions{choice.delimiter}, choice.group};
  source.expressions = &basic::FieldExpressions();
  if (std::optional<DatabaseTarget> target = ParseDatabase(choice.data, nullptr)) {
    target->query = choice.query;
    target->table = choice.table;
    source.records = std::make_shared<DatabaseSource>(std::move(*target));
  }
  return source;
}

}  // namespace qf
