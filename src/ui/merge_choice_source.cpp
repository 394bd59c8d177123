#include "merge_choice_source.h"

#include "basic/field_values.h"
#include "platform/database_source.h"

namespace qf {

MergeSource MergeSourceOf(const MergeChoice& choice) {
  MergeSource source{choice.data, CsvOptions{choice.delimiter}, choice.group};
  source.expressions = &basic::FieldExpressions();
  if (std::optional<DatabaseSpec> spec = ParseDatabase(choice.data, nullptr)) {
    spec->query = choice.query;
    spec->table = choice.table;
    source.records = std::make_shared<DatabaseSource>(std::move(*spec));
  }
  return source;
}

}  // namespace qf
