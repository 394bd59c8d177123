#pragma once

#include <QWidget>

#include "source/source_generator.h"

class QPlainTextEdit;
class QRadioButton;

namespace qf {

// The source window: the last generated source, read-only, and the Private / Public choice the
// generator reads when it runs. A selects everything and C copies the selection, with or without
// Ctrl.
class SourceWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit SourceWindow(QWidget* parent = nullptr);
  Visibility visibility() const;
  void setSource(const QString& text);
  QString source() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QRadioButton* private_;
  QRadioButton* public_;
  QPlainTextEdit* text_;
};

}  // namespace qf
