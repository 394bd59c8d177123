#include "database_source.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTime>
#include <QVariant>
#include <algorithm>
#include <charconv>

namespace qf {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}
std::string S(const QString& s) {
  return s.toStdString();
}

// The database's own reason, on one line (libpq's span several).
std::string Reason(const QSqlError& error) {
  return S(error.text().simplified());
}

// The tables and views of an open database, sorted.
std::vector<std::string> TablesOf(const QSqlDatabase& db) {
  std::vector<std::string> tables;
  for (const QSql::TableType type : {QSql::Tables, QSql::Views}) {
    for (const QString& t : db.tables(type)) tables.push_back(S(t));
  }
  std::sort(tables.begin(), tables.end());
  return tables;
}

std::optional<DatabaseTarget> ParsePostgresql(std::string_view rest, std::string* why) {
  DatabaseTarget target;
  target.kind = DatabaseKind::Postgresql;
  const size_t slash = rest.find('/');
  if (slash == std::string_view::npos || slash + 1 == rest.size()) {
    *why = "データベースの名前がありません（postgresql://ユーザー@ホスト/データベース）";
    return std::nullopt;
  }
  target.database = std::string(rest.substr(slash + 1));
  std::string_view authority = rest.substr(0, slash);
  if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
    const std::string_view user = authority.substr(0, at);
    if (user.find(':') != std::string_view::npos) {
      *why = "パスワードは書けません：PGPASSWORD か ~/.pgpass に置いてください";
      return std::nullopt;
    }
    target.user = std::string(user);
    authority = authority.substr(at + 1);
  }
  if (const size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
    const std::string_view port = authority.substr(colon + 1);
    int n = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), n);
    if (ec != std::errc() || end != port.data() + port.size() || n < 1 || n > 65535) {
      *why = "ポート「" + std::string(port) + "」は 1 から 65535 の数ではありません";
      return std::nullopt;
    }
    target.port = n;
    authority = authority.substr(0, colon);
  }
  target.host = std::string(authority);
  return target;
}

// A value as the merge shows it; nullopt for binary data, which has no text.
std::optional<std::string> ValueText(const QVariant& v) {
  if (v.isNull()) return std::string();
  switch (v.metaType().id()) {
    case QMetaType::QByteArray:
      return std::nullopt;
    case QMetaType::QDate:
      return S(v.toDate().toString(QStringLiteral("yyyy/MM/dd")));
    case QMetaType::QDateTime:
      return S(v.toDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    case QMetaType::QTime:
      return S(v.toTime().toString(QStringLiteral("HH:mm:ss")));
    case QMetaType::Bool:
      return v.toBool() ? "True" : "False";
    case QMetaType::Double:
    case QMetaType::Float:
      // Exact decimals come as text; a binary float is given in its shortest exact spelling.
      return S(QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest));
    default:
      return S(v.toString());
  }
}

// Opens the database under its own connection name; false with the reason.
bool OpenDatabase(const DatabaseTarget& target, const QString& connection, std::string* why) {
  static constexpr const char* kDrivers[] = {"QSQLITE", "QPSQL", "QODBC"};
  const char* driver = kDrivers[static_cast<int>(target.kind)];
  if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(driver))) {
    *why = std::string("Qt SQL のドライバー ") + driver + " がありません";
    return false;
  }
  QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(driver), connection);
  switch (target.kind) {
    case DatabaseKind::Sqlite:
      if (!QFileInfo(Q(target.path)).isFile()) {
        *why = "ファイル「" + target.path + "」がありません";
        return false;
      }
      db.setDatabaseName(Q(target.path));
      db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
      break;
    case DatabaseKind::Postgresql:
      if (!target.host.empty()) db.setHostName(Q(target.host));
      if (target.port > 0) db.setPort(target.port);
      if (!target.user.empty()) db.setUserName(Q(target.user));
      db.setDatabaseName(Q(target.database));
      db.setConnectOptions(QStringLiteral("connect_timeout=10"));
      break;
    case DatabaseKind::Odbc:
      db.setDatabaseName(Q(target.dsn));
      db.setConnectOptions(QStringLiteral("SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY"));
      break;
  }
  if (!db.open()) {
    *why = "データベースに接続できません（" + Reason(db.lastError()) + "）";
    return false;
  }
  // ODBC drivers may disregard the read-only mode: everything runs in a transaction that is
  // never committed, so what a statement might write is undone when the connection closes.
  if (target.kind == DatabaseKind::Odbc && db.driver()->hasFeature(QSqlDriver::Transactions) &&
      !db.transaction()) {
    *why = "読み取り専用で開けません（" + Reason(db.lastError()) + "）";
    return false;
  }
  return true;
}

// A connection name of its own for each user, so two never share one.
QString ConnectionName(const char* use, const void* owner) {
  return QString::fromLatin1(use) + QString::number(reinterpret_cast<quintptr>(owner), 16);
}

// The connection is closed and forgotten when its last user goes.
void CloseDatabase(const QString& connection) {
  {
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (db.isOpen()) db.rollback();
    if (db.isValid()) db.close();
  }
  QSqlDatabase::removeDatabase(connection);
}

constexpr int kFetchRows = 256;
constexpr const char* kCursor = "qf_records";

class SqlReader final : public RecordReader {
 public:
  explicit SqlReader(DatabaseTarget target)
      : target_(std::move(target)), connection_(ConnectionName("qf-records-", this)) {}
  ~SqlReader() override {
    query_.reset();
    CloseDatabase(connection_);
  }
  SqlReader(const SqlReader&) = delete;
  SqlReader& operator=(const SqlReader&) = delete;

  bool start(RecordError* error);
  bool next(std::vector<std::string>& record) override;

 private:
  bool fail(long at, std::string reason, RecordError* error = nullptr) {
    error_ = RecordError{target_.text(), at, std::move(reason), true};
    if (error) *error = *error_;
    query_.reset();
    return false;
  }
  std::string sql(std::string* why) const;
  bool run(const QString& statement, std::string* why);
  bool fetch();  // through PostgreSQL's cursor: the next rows

  const DatabaseTarget target_;
  const QString connection_;
  std::optional<QSqlQuery> query_;
  bool cursor_ = false;
  int fetched_ = 0;  // rows of the last fetch given so far
};

std::string SqlReader::sql(std::string* why) const {
  if (!target_.query.empty()) return target_.query;
  const QSqlDatabase db = QSqlDatabase::database(connection_, false);
  const std::vector<std::string> tables = TablesOf(db);
  if (std::find(tables.begin(), tables.end(), target_.table) == tables.end()) {
    *why =
        "テーブル「" + target_.table + "」がありません（あるテーブル：" + TableNames(tables) + "）";
    return {};
  }
  return "SELECT * FROM " +
         S(db.driver()->escapeIdentifier(Q(target_.table), QSqlDriver::TableName));
}

bool SqlReader::run(const QString& statement, std::string* why) {
  query_.emplace(QSqlDatabase::database(connection_, false));
  query_->setForwardOnly(true);
  query_->setNumericalPrecisionPolicy(QSql::HighPrecision);
  if (query_->exec(statement)) return true;
  *why = Reason(query_->lastError());
  return false;
}

bool SqlReader::start(RecordError* error) {
  std::string why;
  if (!OpenDatabase(target_, connection_, &why)) return fail(0, why, error);
  const std::string statement = sql(&why);
  if (statement.empty()) return fail(0, why, error);
  if (target_.kind == DatabaseKind::Postgresql) {
    // A read-only transaction, the rows through a cursor a batch at a time: libpq would
    // otherwise hold every row of the answer at once.
    cursor_ = true;
    if (!run(QStringLiteral("START TRANSACTION READ ONLY"), &why) ||
        !run(QStringLiteral("DECLARE %1 NO SCROLL CURSOR FOR ").arg(QLatin1String(kCursor)) +
                 Q(statement),
             &why)) {
      return fail(0, "問い合わせを実行できません（" + why + "）", error);
    }
    if (!fetch()) {
      if (error) *error = *error_;
      return false;
    }
  } else if (!run(Q(statement), &why)) {
    return fail(0, "問い合わせを実行できません（" + why + "）", error);
  }
  const QSqlRecord columns = query_->record();
  if (columns.isEmpty()) {
    // A statement that reads nothing (a write the driver let through) is undone on closing.
    return fail(0, "問い合わせが列を返しません（SELECT 文を書いてください）", error);
  }
  for (int i = 0; i < columns.count(); ++i) {
    // Some ODBC drivers give a name's length in bytes, which Qt takes for characters: the name
    // then ends in NULs.
    QString name = columns.fieldName(i);
    if (const qsizetype end = name.indexOf(QChar(0)); end >= 0) name.truncate(end);
    header_.push_back(S(name));
  }
  return true;
}

bool SqlReader::fetch() {
  std::string why;
  if (!run(QStringLiteral("FETCH FORWARD %1 FROM %2").arg(kFetchRows).arg(QLatin1String(kCursor)),
           &why)) {
    // The server ran a second statement after the query and refused it (a write, in a read-only
    // transaction); libpq hands back the first statement's answer alone, so it shows only now.
    constexpr const char* kAborted = "25P02";
    if (recordLine_ == 0 && query_->lastError().nativeErrorCode() == QLatin1String(kAborted)) {
      return fail(0,
                  "問い合わせを実行できません（問い合わせの後の文をデータベースが拒みました。"
                  "読み取り専用の接続です）");
    }
    return fail(recordLine_ + 1, "レコードを読めません（" + why + "）");
  }
  fetched_ = 0;
  return true;
}

bool SqlReader::next(std::vector<std::string>& record) {
  if (!query_) return false;
  while (!query_->next()) {
    const QSqlError failed = query_->lastError();
    if (failed.isValid())
      return fail(recordLine_ + 1, "レコードを読めません（" + Reason(failed) + "）");
    // A batch shorter than asked for was the cursor's last.
    if (!cursor_ || fetched_ < kFetchRows || !fetch()) return false;
  }
  ++fetched_;
  record.assign(header_.size(), std::string());
  for (size_t i = 0; i < header_.size(); ++i) {
    const auto text = ValueText(query_->value(static_cast<int>(i)));
    if (!text) {
      return fail(recordLine_ + 1, "列「" + header_[i] + "」はバイナリのデータなので読めません");
    }
    record[i] = *text;
  }
  ++recordLine_;
  return true;
}

}  // namespace

std::string DatabaseTarget::text() const {
  switch (kind) {
    case DatabaseKind::Sqlite:
      return "sqlite:" + path;
    case DatabaseKind::Postgresql:
      return "postgresql://" + (user.empty() ? "" : user + "@") + host +
             (port > 0 ? ":" + std::to_string(port) : "") + "/" + database;
    case DatabaseKind::Odbc:
      return "odbc:" + dsn;
  }
  return {};
}

std::optional<DatabaseTarget> ParseDatabase(std::string_view source, std::string* why) {
  std::string ignored;
  if (!why) why = &ignored;
  why->clear();
  if (source.starts_with("sqlite:")) {
    DatabaseTarget target;
    target.path = std::string(source.substr(7));
    if (target.path.empty()) {
      *why = "ファイルの名前がありません（sqlite:ファイル）";
      return std::nullopt;
    }
    return target;
  }
  for (const std::string_view scheme : {"postgresql://", "postgres://"}) {
    if (source.starts_with(scheme)) return ParsePostgresql(source.substr(scheme.size()), why);
  }
  if (source.starts_with("odbc:")) {
    DatabaseTarget target;
    target.kind = DatabaseKind::Odbc;
    target.dsn = std::string(source.substr(5));
    if (target.dsn.empty()) {
      *why = "データソース名がありません（odbc:データソース名）";
      return std::nullopt;
    }
    return target;
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> DatabaseTables(const DatabaseTarget& target,
                                                       RecordError* error) {
  const QString connection = ConnectionName("qf-tables-", &target);
  std::string why;
  std::optional<std::vector<std::string>> tables;
  if (OpenDatabase(target, connection, &why)) {
    tables = TablesOf(QSqlDatabase::database(connection, false));
  } else if (error) {
    *error = RecordError{target.text(), 0, why, true};
  }
  CloseDatabase(connection);
  return tables;
}

std::string TableNames(const std::vector<std::string>& tables) {
  std::string names;
  for (const std::string& t : tables) names += (names.empty() ? "" : ", ") + t;
  return names.empty() ? "なし" : names;
}

std::unique_ptr<RecordReader> DatabaseSource::open(RecordError* error) const {
  auto reader = std::make_unique<SqlReader>(target_);
  if (!reader->start(error)) return nullptr;
  return reader;
}

}  // namespace qf
