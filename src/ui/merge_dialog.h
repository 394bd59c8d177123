#pragma once

#include <QDialog>

#include "document/design.h"
#include "shell/app_state.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace qf {

class DatabasePane;
class Prompter;

// frmMerge: the records a design is tried with — a CSV file (with its delimiter) or a
// database's query — their columns and first records, which of the design's field names found a
// column, and the column that starts a new page.
class MergeDialog final : public QDialog {
  Q_OBJECT

 public:
  // 参照 starts in the chosen file's folder, or in `folder` while none is chosen.
  MergeDialog(const Design& design, Prompter& prompter, const MergeChoice& current,
              const QString& folder, QWidget* parent = nullptr);

  // What was chosen; an empty data path ends the merge.
  const MergeChoice& choice() const { return choice_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void browse();
  // A path typed into the file field is taken as a chosen one.
  void typed();
  // 接続テスト: the database the fields name, its tables listed and its first records shown.
  void testDatabase();
  void tabChosen(int tab);
  // No records chosen, and why.
  void showNothing(const QString& why);
  void reload();

  const Design& design_;
  Prompter& prompter_;
  MergeChoice choice_;
  QString folder_;
  QTabWidget* tabs_;
  QLineEdit* data_;
  DatabasePane* database_;
  QComboBox* delimiter_;
  QComboBox* group_;
  QTableWidget* records_;
  QListWidget* fields_;
  QLabel* summary_;
  QPushButton* ok_;
};

}  // namespace qf
