// The data source options: --data names a CSV file or a database, --query or --table what to
// read of a database.
#include "app/cli_commands.h"
#include "platform/database_source.h"

namespace qf {

bool DataOption(const std::vector<std::string>& args, size_t& i, DataChoice& choice) {
  if (i + 1 >= args.size()) return false;
  std::string* into = args[i] == "--data"    ? &choice.data
                      : args[i] == "--query" ? &choice.query
                      : args[i] == "--table" ? &choice.table
                                             : nullptr;
  if (!into) return false;
  *into = args[++i];
  return true;
}

int ResolveData(const DataChoice& choice, std::shared_ptr<const RecordSource>* records) {
  records->reset();
  std::string why;
  std::optional<DatabaseTarget> target = ParseDatabase(choice.data, &why);
  if (!why.empty()) return Usage("--data 「" + choice.data + "」：" + why);
  const bool asked = !choice.query.empty() || !choice.table.empty();
  if (!target) {
    if (asked) return Usage("--query と --table はデータベースの --data にだけ指定できます");
    return 0;
  }
  if (!choice.query.empty() && !choice.table.empty()) {
    return Usage("--query と --table はどちらか一方を指定します");
  }
  if (!asked) {
    RecordError error;
    const auto tables = DatabaseTables(*target, &error);
    if (!tables)
      return Usage("データベースには --query か --table を指定します（" + error.reason + "）");
    return Usage("データベースには --query か --table を指定します（テーブル：" +
                 TableNames(*tables) + "）");
  }
  target->query = choice.query;
  target->table = choice.table;
  *records = std::make_shared<DatabaseSource>(std::move(*target));
  return 0;
}

}  // namespace qf
