#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace qf {

// frmHelp: the user guide in a window of the program's own, so it works on a desktop without a
// browser: the page, its contents (the guide's headings), back, forward and search.
class HelpWindow final : public QDialog {
  Q_OBJECT

 public:
  HelpWindow(const QString& guide, QWidget* parent = nullptr);

  // Scrolls the page to the heading of a contents row.
  void showSection(int row);
  // Finds the next place of the search box's text, from the top again after the last.
  bool findNext();

 private:
  void fillContents();

  QTextBrowser* page_;
  QListWidget* contents_;
  QLineEdit* find_;
  QPushButton* back_;
  QPushButton* forward_;
  QList<int> headings_;  // document positions of the contents rows
};

}  // namespace qf
