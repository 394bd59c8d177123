#include "source_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt_fonts.h"

namespace qf {

namespace {

// The source with its line numbers beside it, as the stops of 試し印刷 name its lines.
class NumberedText final : public QPlainTextEdit {
 public:
  NumberedText() : numbers_(new Numbers(*this)) {
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { fitNumbers(); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& r, int dy) {
      if (dy != 0) {
        numbers_->scroll(0, dy);
      } else {
        numbers_->update(0, r.y(), numbers_->width(), r.height());
      }
    });
    fitNumbers();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QPlainTextEdit::resizeEvent(event);
    const QRect c = contentsRect();
    numbers_->setGeometry(c.left(), c.top(), numbersWidth(), c.height());
  }
  void changeEvent(QEvent* event) override {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitNumbers();
  }

 private:
  class Numbers final : public QWidget {
   public:
    explicit Numbers(NumberedText& text) : QWidget(&text), text_(text) {
      setObjectName(QStringLiteral("lblLineNumbers"));
    }

   protected:
    void paintEvent(QPaintEvent* event) override { text_.paintNumbers(*this, event->rect()); }

   private:
    NumberedText& text_;
  };

  int numbersWidth() const {
    const int digits = static_cast<int>(QString::number(std::max(1, blockCount())).size());
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(3, digits);
  }
  void fitNumbers() {
    setViewportMargins(numbersWidth(), 0, 0, 0);
    numbers_->setFixedWidth(numbersWidth());
    numbers_->update();
  }
  void paintNumbers(QWidget& on, const QRect& area) {
    QPainter p(&on);
    p.fillRect(area, palette().color(QPalette::AlternateBase));
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.setFont(font());
    const int height = fontMetrics().height();
    for (QTextBlock b = firstVisibleBlock(); b.isValid(); b = b.next()) {
      const QRectF box = blockBoundingGeometry(b).translated(contentOffset());
      if (box.top() > area.bottom()) break;
      if (b.isVisible() && box.bottom() >= area.top()) {
        p.drawText(QRect(0, static_cast<int>(box.top()), on.width() - 4, height), Qt::AlignRight,
                   QString::number(b.blockNumber() + 1));
      }
    }
  }

  Numbers* numbers_;
};

}  // namespace

SourceWindow::SourceWindow(QWidget* parent)
    : QWidget(parent),
      private_(new QRadioButton(QStringLiteral("Private"))),
      public_(new QRadioButton(QStringLiteral("Public"))),
      language_(new QComboBox),
      trial_(new QPushButton(QStringLiteral("試し印刷"))),
      text_(new NumberedText),
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
  language_->setObjectName(QStringLiteral("cboLang"));
  language_->setAccessibleName(QStringLiteral("言語"));
  language_->setToolTip(QStringLiteral("ｿｰｽ生成で書く言語"));
  language_->addItem(QStringLiteral("VB6"));
  language_->addItem(QStringLiteral("C#"));
  connect(language_, &QComboBox::activated, this, [this](int index) {
    setLanguage(index == 1 ? SourceLanguage::CSharp : SourceLanguage::Vb6);
    emit languageChosen(language());
  });

  auto* strip = new QWidget;
  strip->setObjectName(QStringLiteral("picTB"));
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->setContentsMargins(8, 2, 8, 2);
  stripLayout->addWidget(language_);
  stripLayout->addWidget(private_);
  stripLayout->addWidget(public_);
  stripLayout->addStretch();
  trial_->setObjectName(QStringLiteral("cmdTrial"));
  trial_->setAccessibleName(trial_->text());
  trial_->setToolTip(
      QStringLiteral("表示しているソースを実行して、印刷されるページをプレビューに出します"));
  stripLayout->addWidget(trial_);
  connect(trial_, &QPushButton::clicked, this, &SourceWindow::trialPrintRequested);

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

SourceLanguage SourceWindow::language() const {
  return language_->currentIndex() == 1 ? SourceLanguage::CSharp : SourceLanguage::Vb6;
}

void SourceWindow::setLanguage(SourceLanguage language) {
  language_->setCurrentIndex(language == SourceLanguage::CSharp ? 1 : 0);
  // A C# class is public by its nature: Private and Public are Visual Basic's.
  private_->setEnabled(language == SourceLanguage::Vb6);
  public_->setEnabled(language == SourceLanguage::Vb6);
}

void SourceWindow::setSource(const QString& text, uint64_t revision, SourceLanguage language) {
  text_->setPlainText(text);
  marked_ = 0;
  revision_ = revision;
  stale_->hide();
  // Only Visual Basic runs here; a C# source is compiled in the programmer's own project.
  trial_->setEnabled(language == SourceLanguage::Vb6);
  trial_->setToolTip(
      language == SourceLanguage::Vb6
          ? QStringLiteral("表示しているソースを実行して、印刷されるページをプレビューに出します")
          : QStringLiteral("C# のソースは試し印刷できません"));
}

void SourceWindow::clear() {
  text_->clear();
  stale_->hide();
  marked_ = 0;
}

void SourceWindow::markLine(int line) {
  const QTextBlock block = text_->document()->findBlockByNumber(line - 1);
  if (!block.isValid()) return;
  QTextEdit::ExtraSelection stop;
  stop.format.setBackground(QColor(255, 205, 205));
  stop.format.setProperty(QTextFormat::FullWidthSelection, true);
  stop.cursor = QTextCursor(block);
  text_->setExtraSelections({stop});
  text_->setTextCursor(QTextCursor(block));
  text_->centerCursor();
  marked_ = line;
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
      marked_ = 0;
      stale_->hide();
      trial_->setEnabled(true);
    }
    return true;
  }
  if (key->key() == Qt::Key_C) {
    QTextCursor cursor = text_->textCursor();
    // Copying nothing leaves what the clipboard holds (the source copied a moment ago).
    if (!cursor.hasSelection()) return true;
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
