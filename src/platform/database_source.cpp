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

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

std::optional<DatabaseSpec> ParsePostgresql(std::string_view rest, std::string* why) {
  DatabaseSpec spec;
  spec.kind = DatabaseKind::Postgresql;
  const size_t slash = rest.find('/');
  if (slash == std::string_view::npos || slash + 1 == rest.size()) {
    *why = "データベースの名前がありません（postgresql://ユーザー@ホスト/データベース）";
    return std::nullopt;
  }
  spec.database = std::string(rest.substr(slash + 1));
  std::string_view authority = rest.substr(0, slash);
  if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
    const std::string_view user = authority.substr(0, at);
    if (user.find(':') != std::string_view::npos) {
      *why = "パスワードは書けません：PGPASSWORD か ~/.pgpass に置いてください";
      return std::nullopt;
    }
    spec.user = std::string(user);
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
    spec.port = n;
    authority = authority.substr(0, colon);
  }
  spec.host = std::string(authority);
  return spec;
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
bool OpenDatabase(const DatabaseSpec& spec, const QString& connection, std::string* why) {
  static constexpr const char* kDrivers[] = {"QSQLITE", "QPSQL", "QODBC"};
  const char* driver = kDrivers[static_cast<int>(spec.kind)];
  if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(driver))) {
    *why = std::string("Qt SQL のドライバー ") + driver + " がありません";
    return false;
  }
  QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(driver), connection);
  switch (spec.kind) {
    case DatabaseKind::Sqlite:
      if (!QFileInfo(Q(spec.path)).isFile()) {
        *why = "ファイル「" + spec.path + "」がありません";
        return false;
      }
      db.setDatabaseName(Q(spec.path));
      db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
      break;
    case DatabaseKind::Postgresql:
      if (!spec.host.empty()) db.setHostName(Q(spec.host));
      if (spec.port > 0) db.setPort(spec.port);
      if (!spec.user.empty()) db.setUserName(Q(spec.user));
      db.setDatabaseName(Q(spec.database));
      db.setConnectOptions(QStringLiteral("connect_timeout=10"));
      break;
    case DatabaseKind::Odbc:
      db.setDatabaseName(Q(spec.dsn));
      db.setConnectOptions(QStringLiteral("SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY"));
      break;
  }
  if (!db.open()) {
    *why = "データベースに接続できません（" + S(db.lastError().text().simplified()) + "）";
    return false;
  }
  // ODBC drivers may disregard the read-only mode: everything runs in a transaction that is
  // never committed, so what a statement might write is undone when the connection closes.
  if (spec.kind == DatabaseKind::Odbc && db.driver()->hasFeature(QSqlDriver::Transactions) &&
      !db.transaction()) {
    *why = "読み取り専用で開けません（" + S(db.lastError().text().simplified()) + "）";
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
  explicit SqlReader(DatabaseSpec spec)
      : spec_(std::move(spec)), connection_(ConnectionName("qf-records-", this)) {}
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
    error_ = RecordError{spec_.text(), at, std::move(reason), true};
    if (error) *error = *error_;
    query_.reset();
    return false;
  }
  std::string sql(std::string* why) const;
  bool run(const QString& statement, std::string* why);
  bool fetch();  // through PostgreSQL's cursor: the next rows

  const DatabaseSpec spec_;
  const QString connection_;
  std::optional<QSqlQuery> query_;
  bool cursor_ = false;
  int fetched_ = 0;  // rows of the last fetch given so far
};

std::string SqlReader::sql(std::string* why) const {
  if (!spec_.query.empty()) return spec_.query;
  RecordError error;
  const auto tables = DatabaseTables(spec_, &error);
  if (!tables) {
    *why = error.reason;
    return {};
  }
  if (std::find(tables->begin(), tables->end(), spec_.table) == tables->end()) {
    std::string known;
    for (const std::string& t : *tables) known += (known.empty() ? "" : ", ") + t;
    *why = "テーブル「" + spec_.table + "」がありません（あるテーブル：" +
           (known.empty() ? "なし" : known) + "）";
    return {};
  }
  const QSqlDriver* driver = QSqlDatabase::database(connection_, false).driver();
  return "SELECT * FROM " + S(driver->escapeIdentifier(Q(spec_.table), QSqlDriver::TableName));
}

bool SqlReader::run(const QString& statement, std::string* why) {
  query_.emplace(QSqlDatabase::database(connection_, false));
  query_->setForwardOnly(true);
  query_->setNumericalPrecisionPolicy(QSql::HighPrecision);
  if (query_->exec(statement)) return true;
  *why = S(query_->lastError().text().simplified());
  return false;
}

bool SqlReader::start(RecordError* error) {
  std::string why;
  if (!OpenDatabase(spec_, connection_, &why)) return fail(0, why, error);
  const std::string statement = sql(&why);
  if (statement.empty()) return fail(0, why, error);
  if (spec_.kind == DatabaseKind::Postgresql) {
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
  if (!query_->next()) {
    const QSqlError failed = query_->lastError();
    if (failed.isValid()) {
      return fail(recordLine_ + 1, "レコードを読めません（" + S(failed.text().simplified()) + "）");
    }
    // A batch shorter than asked for was the cursor's last.
    if (!cursor_ || fetched_ < kFetchRows) return false;
    if (!fetch()) return false;
    if (!query_->next()) return false;
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

std::string DatabaseSpec::text() const {
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

std::optional<DatabaseSpec> ParseDatabase(std::string_view source, std::string* why) {
  std::string ignored;
  if (!why) why = &ignored;
  why->clear();
  if (StartsWith(source, "sqlite:")) {
    DatabaseSpec spec;
    spec.path = std::string(source.substr(7));
    if (spec.path.empty()) {
      *why = "ファイルの名前がありません（sqlite:ファイル）";
      return std::nullopt;
    }
    return spec;
  }
  for (const std::string_view scheme : {"postgresql://", "postgres://"}) {
    if (StartsWith(source, scheme)) return ParsePostgresql(source.substr(scheme.size()), why);
  }
  if (StartsWith(source, "odbc:")) {
    DatabaseSpec spec;
    spec.kind = DatabaseKind::Odbc;
    spec.dsn = std::string(source.substr(5));
    if (spec.dsn.empty()) {
      *why = "データソース名がありません（odbc:データソース名）";
      return std::nullopt;
    }
    return spec;
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> DatabaseTables(const DatabaseSpec& spec,
                                                       RecordError* error) {
  const QString connection = ConnectionName("qf-tables-", &spec);
  std::string why;
  std::optional<std::vector<std::string>> tables;
  if (OpenDatabase(spec, connection, &why)) {
    tables.emplace();
    for (const QString& t : QSqlDatabase::database(connection, false).tables(QSql::Tables)) {
      tables->push_back(S(t));
    }
    for (const QString& t : QSqlDatabase::database(connection, false).tables(QSql::Views)) {
      tables->push_back(S(t));
    }
    std::sort(tables->begin(), tables->end());
  } else if (error) {
    *error = RecordError{spec.text(), 0, why, true};
  }
  CloseDatabase(connection);
  return tables;
}

std::unique_ptr<RecordReader> DatabaseSource::open(RecordError* error) const {
  auto reader = std::make_unique<SqlReader>(spec_);
  if (!reader->start(error)) return nullptr;
  return reader;
}

}  // namespace qf
