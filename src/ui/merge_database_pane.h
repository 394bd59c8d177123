#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "shell/app_state.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;

namespace qf {

class Prompter;

// The database tab of frmMerge: the kind of database (an SQLite file, a PostgreSQL server, an
// ODBC data source), how to reach it (no password: libpq takes it from PGPASSWORD or
// ~/.pgpass), and what to read of it (a query, or every row of a table from the list).
class DatabasePane final : public QWidget {
  Q_OBJECT

 public:
  DatabasePane(Prompter& prompter, const QString& folder, QWidget* parent = nullptr);

  // Fills the fields from a choice whose data names a database; false for a CSV file's.
  bool setChoice(const MergeChoice& choice);
  // The source as the fields spell it (sqlite:…, postgresql://…, odbc:…); "" while a field it
  // needs is empty.
  std::string sourceText() const;
  std::string query() const;
  std::string table() const;  // "" when the query is used
  // Lists the database's tables for the choice; the reason when it cannot be opened.
  std::optional<std::string> listTables();

 signals:
  // 接続テスト: the dialog reads the records the fields name.
  void testRequested();

 private:
  void browse();

  Prompter& prompter_;
  QString folder_;
  QComboBox* kind_;
  QStackedWidget* where_;
  QLineEdit* file_;
  QLineEdit* host_;
  QLineEdit* port_;
  QLineEdit* user_;
  QLineEdit* database_;
  QComboBox* dsn_;
  QComboBox* table_;
  QPlainTextEdit* query_;
};

// The data source names unixODBC knows: the sections of the user's and the system's odbc.ini
// ($ODBCINI or ~/.odbc.ini, $ODBCSYSINI/odbc.ini or /etc/odbc.ini), sorted, each once.
QStringList OdbcDataSourceNames();

}  // namespace qf
