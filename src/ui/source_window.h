#pragma once

#include <QWidget>
#include <cstdint>

#include "shell/app_state.h"
#include "source/source_generator.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace qf {

// The source window: the last generated source, read-only, and the choices the generator reads
// when it runs: the language (VB6 or C#) and, for Visual Basic, Private or Public. A selects
// everything and C copies the selection, with or without Ctrl; Ctrl+V puts a source changed
// elsewhere in its place, and 試し印刷 runs what is shown.
class SourceWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit SourceWindow(QWidget* parent = nullptr);
  Visibility visibility() const;
  SourceLanguage language() const;
  void setLanguage(SourceLanguage language);
  // The source generated from the design at `revision` (Editor::revision()), written in
  // `language`: a C# source is not run by 試し印刷.
  void setSource(const QString& text, uint64_t revision,
                 SourceLanguage language = SourceLanguage::Vb6);
  QString source() const;
  // Another design: its source is not this one's.
  void clear();
  // The design is at `revision` now: a source made at another says above itself that it is out
  // of date, so it never passes for current.
  void designAt(uint64_t revision);
  bool outOfDate() const;
  // A line (from 1) the program stopped at: scrolled to, its caret there, marked until the
  // source changes.
  void markLine(int line);
  int markedLine() const { return marked_; }

 signals:
  // 試し印刷: the shown source is to be run into the print preview.
  void trialPrintRequested();
  // The language was chosen in the window.
  void languageChosen(qf::SourceLanguage language);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QRadioButton* private_;
  QRadioButton* public_;
  QComboBox* language_;
  QPushButton* trial_;
  QPlainTextEdit* text_;
  QLabel* stale_;
  uint64_t revision_ = 0;  // of the design the text was generated from
  int marked_ = 0;         // the line marked as stopped at
};

}  // namespace qf
