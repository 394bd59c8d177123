#include "help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/named.h"

namespace qf {

namespace {

QPushButton* Button(const char* name, const QString& caption) {
  auto* b = Named(new QPushButton(caption), name, caption);
  b->setAutoDefault(false);
  return b;
}

QString HeadingAnchor(qsizetype index) {
  return QStringLiteral("qf-heading-%1").arg(index);
}

}  // namespace

HelpWindow::HelpWindow(const QString& guide, QWidget* parent)
    : QDialog(parent),
      page_(Named(new QTextBrowser, "txtHelp", QStringLiteral("ﾍﾙﾌﾟ"))),
      contents_(Named(new QListWidget, "lstContents", QStringLiteral("目次"))),
      find_(Named(new QLineEdit, "txtFind", QStringLiteral("検索"))) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QStringLiteral("Quillform ﾍﾙﾌﾟ"));
  setAccessibleName(windowTitle());
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  back_ = Button("cmdBack", QStringLiteral("戻る"));
  forward_ = Button("cmdForward", QStringLiteral("進む"));
  QPushButton* top = Button("cmdTop", QStringLiteral("先頭"));
  QPushButton* next = Button("cmdFindNext", QStringLiteral("次を検索"));
  QPushButton* close = Button("cmdClose", QStringLiteral("閉じる"));
  find_->setPlaceholderText(QStringLiteral("検索する語"));
  page_->setOpenExternalLinks(true);

  auto* strip = new QHBoxLayout;
  strip->addWidget(back_);
  strip->addWidget(forward_);
  strip->addWidget(top);
  strip->addSpacing(16);
  strip->addWidget(find_, 1);
  strip->addWidget(next);
  strip->addStretch();
  strip->addWidget(close);
  auto* split = new QSplitter;
  split->addWidget(contents_);
  split->addWidget(page_);
  split->setStretchFactor(1, 1);
  split->setSizes({200, 700});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(strip);
  layout->addWidget(split, 1);
  resize(960, 720);

  // The page knows the folder of the guide, so its pictures load.
  page_->setSearchPaths({QFileInfo(guide).absolutePath()});
  QFile file(guide);
  if (file.open(QIODevice::ReadOnly)) {
    page_->setSource(QUrl::fromLocalFile(QFileInfo(guide).absoluteFilePath()));
  } else {
    page_->setHtml(
        QStringLiteral("<p>ﾍﾙﾌﾟﾌｧｲﾙ「%1」が見つかりません。</p>").arg(guide.toHtmlEscaped()));
  }
  fillContents();

  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(page_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(page_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  connect(back_, &QPushButton::clicked, page_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, page_, &QTextBrowser::forward);
  connect(top, &QPushButton::clicked, page_, &QTextBrowser::home);
  connect(contents_, &QListWidget::currentRowChanged, this, &HelpWindow::showSection);
  connect(find_, &QLineEdit::returnPressed, this, &HelpWindow::findNext);
  connect(next, &QPushButton::clicked, this, &HelpWindow::findNext);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void HelpWindow::fillContents() {
  // The guide's headings of the first three levels, indented by level.
  for (QTextBlock b = page_->document()->begin(); b.isValid(); b = b.next()) {
    const int level = b.blockFormat().headingLevel();
    if (level < 1 || level > 3) continue;
    contents_->addItem(QString((level - 1) * 2, QLatin1Char(' ')) + b.text());
    headings_ << b.position();
    // An anchor of its own, so that going to it is a step of the page's history (戻る).
    QTextCursor heading(b);
    heading.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat anchor;
    anchor.setAnchor(true);
    anchor.setAnchorNames({HeadingAnchor(headings_.size() - 1)});
    heading.mergeCharFormat(anchor);
  }
}

void HelpWindow::showSection(int row) {
  if (row < 0 || row >= headings_.size()) return;
  // The heading at the top of the page, by its anchor: the place left is kept for 戻る.
  QUrl url = page_->source();
  url.setFragment(HeadingAnchor(row));
  page_->setSource(url);
  QTextCursor at(page_->document());
  at.setPosition(headings_[row]);
  page_->setTextCursor(at);
}

bool HelpWindow::findNext() {
  const QString text = find_->text();
  if (text.isEmpty()) return false;
  if (page_->find(text)) return true;
  // From the top again.
  QTextCursor start = page_->textCursor();
  start.movePosition(QTextCursor::Start);
  page_->setTextCursor(start);
  return page_->find(text);
}

}  // namespace qf
