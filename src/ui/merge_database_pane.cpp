#include "merge_database_pane.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextStream>

#include "platform/database_source.h"
#include "ui/named.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace qf {

namespace {

enum Page { kSqlitePage, kPostgresqlPage, kOdbcPage };

// The first item of the table list: the query is used.
const QString kByQuery = QStringLiteral("（問い合わせを使う）");

QWidget* Rows(const std::initializer_list<std::pair<QString, QWidget*>>& rows) {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  form->setContentsMargins(0, 0, 0, 0);
  for (const auto& [label, field] : rows) form->addRow(label, field);
  return page;
}

}  // namespace

QStringList OdbcDataSourceNames() {
  const QByteArray user = qgetenv("ODBCINI");
  const QByteArray system = qgetenv("ODBCSYSINI");
  const QStringList files = {
      user.isEmpty() ? QDir::homePath() + QStringLiteral("/.odbc.ini")
                     : QString::fromLocal8Bit(user),
      (system.isEmpty() ? QStringLiteral("/etc") : QString::fromLocal8Bit(system)) +
          QStringLiteral("/odbc.ini")};
  QStringList names;
  for (const QString& path : files) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
    QTextStream in(&file);
    while (!in.atEnd()) {
      const QString line = in.readLine().trimmed();
      if (!line.startsWith(u'[') || !line.endsWith(u']')) continue;
      const QString name = line.mid(1, line.size() - 2).trimmed();
      // unixODBC's own sections, not data sources.
      if (name.compare(QStringLiteral("ODBC"), Qt::CaseInsensitive) == 0 ||
          name.compare(QStringLiteral("ODBC Data Sources"), Qt::CaseInsensitive) == 0) {
        continue;
      }
      if (!name.isEmpty() && !names.contains(name)) names << name;
    }
  }
  names.sort();
  return names;
}

DatabasePane::DatabasePane(Prompter& prompter, const QString& folder, QWidget* parent)
    : QWidget(parent),
      prompter_(prompter),
      folder_(folder),
      kind_(Named(new QComboBox, "cmbDbKind", QStringLiteral("データベースの種類"))),
      where_(new QStackedWidget),
      file_(Named(new QLineEdit, "txtDbFile", QStringLiteral("SQLite ファイル"))),
      host_(Named(new QLineEdit, "txtDbHost", QStringLiteral("ホスト"))),
      port_(Named(new QLineEdit, "txtDbPort", QStringLiteral("ポート"))),
      user_(Named(new QLineEdit, "txtDbUser", QStringLiteral("ユーザー"))),
      database_(Named(new QLineEdit, "txtDbName", QStringLiteral("データベース名"))),
      dsn_(Named(new QComboBox, "cmbDsn", QStringLiteral("データソース名"))),
      table_(Named(new QComboBox, "cmbTable", QStringLiteral("テーブル"))),
      query_(Named(new QPlainTextEdit, "txtQuery", QStringLiteral("問い合わせ"))) {
  kind_->addItems(
      {QStringLiteral("SQLite ファイル"), QStringLiteral("PostgreSQL"), QStringLiteral("ODBC")});
  auto* browse =
      Named(new QPushButton(QStringLiteral("参照...")), "cmdDbBrowse", QStringLiteral("参照..."));
  auto* file = new QWidget;
  auto* fileRow = new QHBoxLayout(file);
  fileRow->setContentsMargins(0, 0, 0, 0);
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(browse);
  host_->setPlaceholderText(QStringLiteral("localhost"));
  port_->setPlaceholderText(QStringLiteral("5432"));
  user_->setToolTip(QStringLiteral("パスワードは PGPASSWORD か ~/.pgpass に置きます"));
  dsn_->setEditable(true);
  dsn_->addItems(OdbcDataSourceNames());
  where_->addWidget(Rows({{QStringLiteral("ファイル"), file}}));
  where_->addWidget(Rows({{QStringLiteral("ホスト"), host_},
                          {QStringLiteral("ポート"), port_},
                          {QStringLiteral("ユーザー"), user_},
                          {QStringLiteral("データベース"), database_}}));
  where_->addWidget(Rows({{QStringLiteral("データソース名"), dsn_}}));
  table_->addItem(kByQuery);
  query_->setPlaceholderText(QStringLiteral("SELECT * FROM 請求 ORDER BY 請求書番号"));
  query_->setTabChangesFocus(true);
  query_->setFixedHeight(query_->fontMetrics().lineSpacing() * 4 + 12);
  auto* test = Named(new QPushButton(QStringLiteral("接続テスト")), "cmdTestConnection",
                     QStringLiteral("接続テスト"));

  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("種類"), kind_);
  form->addRow(where_);
  form->addRow(QStringLiteral("テーブル"), table_);
  form->addRow(QStringLiteral("問い合わせ"), query_);
  form->addRow(QString(), test);

  connect(kind_, &QComboBox::currentIndexChanged, where_, &QStackedWidget::setCurrentIndex);
  connect(browse, &QPushButton::clicked, this, &DatabasePane::browse);
  connect(table_, &QComboBox::currentIndexChanged, this, [this](int i) {
    query_->setEnabled(i <= 0);
    // A table chosen from the list is read at once: the database answered a moment ago.
    if (i > 0) emit testRequested();
  });
  connect(test, &QPushButton::clicked, this, &DatabasePane::testRequested);
}

void DatabasePane::browse() {
  const QString from = file_->text().isEmpty() ? folder_ : file_->text();
  const auto path = prompter_.openFileName(
      this, from, QStringLiteral("SQLite(*.db;*.sqlite;*.sqlite3)|*.db;*.sqlite;*.sqlite3"));
  if (path) file_->setText(*path);
}

bool DatabasePane::setChoice(const MergeChoice& choice) {
  const std::optional<DatabaseTarget> target = ParseDatabase(choice.data, nullptr);
  if (!target) return false;
  kind_->setCurrentIndex(static_cast<int>(target->kind));
  file_->setText(Q(target->path));
  host_->setText(Q(target->host));
  port_->setText(target->port > 0 ? QString::number(target->port) : QString());
  user_->setText(Q(target->user));
  database_->setText(Q(target->database));
  dsn_->setCurrentText(Q(target->dsn));
  query_->setPlainText(Q(choice.query));
  if (!choice.table.empty()) {
    if (table_->findText(Q(choice.table)) < 0) table_->addItem(Q(choice.table));
    table_->setCurrentText(Q(choice.table));
  }
  return true;
}

std::string DatabasePane::sourceText() const {
  const auto text = [](const QLineEdit* e) { return e->text().trimmed().toStdString(); };
  switch (kind_->currentIndex()) {
    case kSqlitePage:
      return text(file_).empty() ? "" : "sqlite:" + text(file_);
    case kPostgresqlPage: {
      if (text(database_).empty()) return "";
      const std::string user = text(user_);
      const std::string port = text(port_);
      return "postgresql://" + (user.empty() ? "" : user + "@") + text(host_) +
             (port.empty() ? "" : ":" + port) + "/" + text(database_);
    }
    case kOdbcPage: {
      const std::string dsn = dsn_->currentText().trimmed().toStdString();
      return dsn.empty() ? "" : "odbc:" + dsn;
    }
  }
  return "";
}

std::string DatabasePane::query() const {
  return table_->currentIndex() > 0 ? "" : query_->toPlainText().trimmed().toStdString();
}

std::string DatabasePane::table() const {
  return table_->currentIndex() > 0 ? table_->currentText().toStdString() : "";
}

std::optional<std::string> DatabasePane::listTables() {
  std::string why;
  const std::optional<DatabaseTarget> target = ParseDatabase(sourceText(), &why);
  if (!target) return why.empty() ? "接続先を入力してください" : why;
  RecordError error;
  const auto tables = DatabaseTables(*target, &error);
  if (!tables) return error.message();
  const QString chosen = table_->currentIndex() > 0 ? table_->currentText() : QString();
  const QSignalBlocker block(table_);
  table_->clear();
  table_->addItem(kByQuery);
  for (const std::string& t : *tables) table_->addItem(Q(t));
  table_->setCurrentIndex(std::max(0, table_->findText(chosen)));
  query_->setEnabled(table_->currentIndex() <= 0);
  return std::nullopt;
}

}  // namespace qf
