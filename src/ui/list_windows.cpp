#include "list_windows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <vector>

#include "ui/table_model.h"

namespace qf {

ListWindow::ListWindow(Kind kind, TextTable& table, QWidget* parent)
    : QWidget(parent), grid_(new QTableView) {
  const bool code = kind == Kind::Code;
  setObjectName(code ? QStringLiteral("frmCode") : QStringLiteral("frmLayer"));
  setWindowTitle(code ? QStringLiteral("ｺｰﾄﾞｳｨﾝﾄﾞｳ") : QStringLiteral("ﾚｲﾔｰｳｨﾝﾄﾞｳ"));
  grid_->setObjectName(code ? QStringLiteral("fxgCode") : QStringLiteral("fxgLayer"));
  auto* model = new TextTableModel(table, grid_);
  grid_->setModel(model);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

  // Each column as wide as a sample text, aligned as its contents read best.
  struct Column {
    const char* sample;
    Qt::Alignment align;
  };
  constexpr Qt::Alignment L = Qt::AlignLeft;
  constexpr Qt::Alignment R = Qt::AlignRight;
  constexpr Qt::Alignment C = Qt::AlignHCenter;
  static const Column kCodeColumns[] = {{"ABCDE", C},
                                        {"あああああ", L},
                                        {"999.999", R},
                                        {"999.999", R},
                                        {"999.999", R},
                                        {"999.999", R},
                                        {"ああああああああああ", L},
                                        {"ABCDEFGH", L},
                                        {"あああああああ", L},
                                        {"99999", R},
                                        {" ■", C},
                                        {" ■", C},
                                        {" ■", C},
                                        {" ■", C},
                                        {" あ", C},
                                        {"&H99999999", R},
                                        {" 999 ", C}};
  static const Column kLayerColumns[] = {
      {"  ﾛｯｸ", C}, {"  非表示", C}, {"  999", R}, {"ああああああああああ", L}};
  const Column* columns = code ? kCodeColumns : kLayerColumns;
  const int count =
      code ? static_cast<int>(std::size(kCodeColumns)) : static_cast<int>(std::size(kLayerColumns));
  std::vector<Qt::Alignment> alignments;
  const QFontMetrics fm = grid_->fontMetrics();
  for (int i = 0; i < count; ++i) {
    alignments.push_back(columns[i].align);
    const int sample = fm.horizontalAdvance(QString::fromUtf8(columns[i].sample)) + 12;
    const int caption =
        fm.horizontalAdvance(model->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString()) + 12;
    grid_->setColumnWidth(i, std::max(sample, caption));
  }
  model->setAlignments(std::move(alignments));
  grid_->verticalHeader()->setMinimumWidth(
      fm.horizontalAdvance(QString::fromLatin1(code ? "123456" : "99999")));

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
