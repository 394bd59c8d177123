#include "list_windows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/table_model.h"

namespace qf {

ListWindow::ListWindow(Kind kind, TextTable& table, QWidget* parent)
    : QWidget(parent), grid_(new QTableView) {
  const bool code = kind == Kind::Code;
  setObjectName(code ? QStringLiteral("frmCode") : QStringLiteral("frmLayer"));
  setWindowTitle(code ? QStringLiteral("ｺｰﾄﾞｳｨﾝﾄﾞｳ") : QStringLiteral("ﾚｲﾔｰｳｨﾝﾄﾞｳ"));
  grid_->setObjectName(code ? QStringLiteral("fxgCode") : QStringLiteral("fxgLayer"));
  grid_->setModel(new TextTableModel(table, grid_));
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

  auto* buttons = new QHBoxLayout;
  auto addButton = [&](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption));
    b->setObjectName(QString::fromLatin1(name));
    buttons->addWidget(b);
  };
  addButton("cmdIns", "挿入");
  addButton("cmdDel", "削除");
  addButton("cmdSwap", "入替");
  if (code) {
    auto* caption = new QLabel(QStringLiteral("選択番号"));
    caption->setObjectName(QStringLiteral("lblCapt"));
    auto* number = new QLabel;
    number->setObjectName(QStringLiteral("lblNum"));
    buttons->addWidget(caption);
    buttons->addWidget(number);
  }
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);
}

}  // namespace qf
