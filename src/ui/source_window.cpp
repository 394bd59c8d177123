#include "source_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/qt_fonts.h"

namespace qf {

SourceWindow::SourceWindow(QWidget* parent)
    : QWidget(parent),
      private_(new QRadioButton(QStringLiteral("Private"))),
      public_(new QRadioButton(QStringLiteral("Public"))),
      text_(new QPlainTextEdit),
      stale_(
          new QLabel(QStringLiteral("デザインが変更されています。ｿｰｽ生成で更新してください。"))) {
  text_->setAccessibleName(QStringLiteral("ｿｰｽｳｨﾝﾄﾞｳ"));
  setObjectName(QStringLiteral("frmSource"));
  setWindowTitle(QStringLiteral("ｿｰｽｳｨﾝﾄﾞｳ"));
  private_->setObjectName(QStringLiteral("optMode0"));
  public_->setObjectName(QStringLiteral("optMode1"));
  auto* group = new QButtonGroup(this);
  group->addButton(private_, 0);
  group->addButton(public_, 1);
  private_->setChecked(true);  // Private after every start

  auto* strip = new QWidget;
  strip->setObjectName(QStringLiteral("picTB"));
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->setContentsMargins(8, 2, 8, 2);
  stripLayout->addWidget(private_);
  stripLayout->addWidget(public_);
  stripLayout->addStretch();
  auto* trial = new QPushButton(QStringLiteral("試し印刷"));
  trial->setObjectName(QStringLiteral("cmdTrial"));
  trial->setAccessibleName(trial->text());
  trial->setToolTip(
      QStringLiteral("表示しているソースを実行して、印刷されるページをプレビューに出します"));
  stripLayout->addWidget(trial);
  connect(trial, &QPushButton::clicked, this, &SourceWindow::trialPrintRequested);

  text_->setObjectName(QStringLiteral("txtSRC"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(MakeDesignFont("ＭＳ ゴシック", 9.75, false, false, false, false));
  text_->installEventFilter(this);

  stale_->setObjectName(QStringLiteral("lblStale"));
  stale_->setAccessibleName(stale_->text());
  stale_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
  stale_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 0, 4, 4);
  layout->setSpacing(2);
  layout->addWidget(strip);
  layout->addWidget(stale_);
  layout->addWidget(text_, 1);
}

Visibility SourceWindow::visibility() const {
  return private_->isChecked() ? Visibility::Private : Visibility::Public;
}

void SourceWindow::setSource(const QString& text, uint64_t revision) {
  text_->setPlainText(text);
  revision_ = revision;
  stale_->hide();
}

void SourceWindow::clear() {
  text_->clear();
  stale_->hide();
}

void SourceWindow::designAt(uint64_t revision) {
  stale_->setVisible(revision != revision_ && !text_->document()->isEmpty());
}

bool SourceWindow::outOfDate() const {
  return !stale_->isHidden();
}

QString SourceWindow::source() const {
  return text_->toPlainText();
}

bool SourceWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != text_) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::ShortcutOverride) {
    // Ctrl+A and Ctrl+C belong to this box, not to the menus' shortcuts.
    const int k = static_cast<QKeyEvent*>(event)->key();
    if (k == Qt::Key_A || k == Qt::Key_C || k == Qt::Key_V) {
      event->accept();
      return true;
    }
  }
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_A) {
    text_->selectAll();
    return true;
  }
  if (key->key() == Qt::Key_V && (key->modifiers() & Qt::ControlModifier)) {
    // A source changed in the programmer's own editor comes back whole, to be tried.
    const QString pasted = QApplication::clipboard()->text();
    if (!pasted.isEmpty()) {
      text_->setPlainText(pasted);
      stale_->hide();
    }
    return true;
  }
  if (key->key() == Qt::Key_C) {
    QTextCursor cursor = text_->textCursor();
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    // The editor keeps paragraph separators; the clipboard gets plain line breaks.
    clipboard->setText(cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
    // The selection goes; the caret stays where it began.
    const int start = cursor.selectionStart();
    cursor.clearSelection();
    cursor.setPosition(start);
    text_->setTextCursor(cursor);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qf
