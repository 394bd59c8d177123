#pragma once

#include <QCoreApplication>
#include <QProgressDialog>
#include <functional>

namespace qf {

// Progress of work done page by page, with Cancel; the dialog shows only when the work takes
// longer than a moment.
class PageProgress {
 public:
  PageProgress(QWidget* parent, const QString& label, long pages)
      : dialog_(label, QStringLiteral("ｷｬﾝｾﾙ"), 0, static_cast<int>(std::max(0L, pages)), parent),
        label_(label) {
    dialog_.setObjectName(QStringLiteral("frmProgress"));
    dialog_.setAccessibleName(label);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(400);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setValue(0);
  }

  // Told each page before it is done; false once Cancel was pressed.
  std::function<bool(long)> callback() {
    return [this](long page) {
      dialog_.setLabelText(QStringLiteral("%1（%2 ページ目）").arg(label_).arg(page));
      if (dialog_.maximum() > 0) dialog_.setValue(static_cast<int>(page - 1));
      QCoreApplication::processEvents();
      return !dialog_.wasCanceled();
    };
  }

 private:
  QProgressDialog dialog_;
  QString label_;
};

}  // namespace qf
