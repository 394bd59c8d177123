#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "merge/record_reader.h"

namespace qf {

enum class DatabaseKind { Sqlite, Postgresql, Odbc };

// A database and what to read of it, as a data source names it:
//   sqlite:PATH                                   a file, opened read-only
//   postgresql://[USER@]HOST[:PORT]/DBNAME        libpq's conventions: the password comes from
//                                                 PGPASSWORD or ~/.pgpass, never from here
//   odbc:DSN                                      a data source name unixODBC knows
struct DatabaseTarget {
  DatabaseKind kind = DatabaseKind::Sqlite;
  std::string path;  // SQLite's file
  std::string user;  // PostgreSQL's; empty: libpq's default
  std::string host;
  int port = 0;  // 0: the default
  std::string database;
  std::string dsn;  // ODBC's
  // What is read: a query, or else every row of a table.
  std::string query;
  std::string table;

  // The source as it is written (no password is ever part of it).
  std::string text() const;
  bool operator==(const DatabaseTarget&) const = default;
};

// The database a source names, nullopt for anything else (a CSV file's path). A source that
// looks like a database but cannot be one gets `why` (a password in it, a port that is no
// number) and nullopt.
std::optional<DatabaseTarget> ParseDatabase(std::string_view source, std::string* why);

// The tables of the database (for a choice, or to say which there are), sorted; nullopt with
// the reason when it cannot be opened.
std::optional<std::vector<std::string>> DatabaseTables(const DatabaseTarget& target,
                                                       RecordError* error);

// The tables as a message lists them: "請求, 型", or "なし" for none.
std::string TableNames(const std::vector<std::string>& tables);

// A query's records read through Qt SQL, forward only: a database opened read-only (SQLite's
// read-only mode, a read-only PostgreSQL transaction, ODBC's read-only access mode), so a
// query that writes is refused by the database itself. Values are the text the database
// gives: numbers as it spells them, dates as yyyy/mm/dd, NULL as "". A binary value is refused.
class DatabaseSource final : public RecordSource {
 public:
  explicit DatabaseSource(DatabaseTarget target) : target_(std::move(target)) {}
  std::unique_ptr<RecordReader> open(RecordError* error) const override;
  std::string name() const override { return target_.text(); }
  const DatabaseTarget& target() const { return target_; }

 private:
  DatabaseTarget target_;
};

}  // namespace qf
