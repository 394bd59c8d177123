// The 配置 menu and its toolbar: align, distribute, same size and drawing order on the selected
// objects.
#include <QAbstractButton>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <array>
#include <functional>

#include "ui/main_window.h"

namespace qf {

namespace {

struct LayoutItem {
  const char* name;
  const char* caption;
  LayoutTool tool;
};

constexpr std::array<LayoutItem, 10> kLayoutItems{{
    {"QFM601", "左揃え", LayoutTool::AlignLeft},
    {"QFM602", "右揃え", LayoutTool::AlignRight},
    {"QFM603", "上揃え", LayoutTool::AlignTop},
    {"QFM604", "下揃え", LayoutTool::AlignBottom},
    {"QFM605", "左右中央揃え", LayoutTool::AlignCentreX},
    {"QFM606", "上下中央揃え", LayoutTool::AlignCentreY},
    {"QFM607", "左右に均等配置", LayoutTool::DistributeX},
    {"QFM608", "上下に均等配置", LayoutTool::DistributeY},
    {"QFM609", "幅を揃える", LayoutTool::SameWidth},
    {"QFM610", "高さを揃える", LayoutTool::SameHeight},
}};

struct OrderItem {
  const char* name;
  const char* caption;
  const char* shortcut;
  OrderMove move;
};

// The keys comparable editors use for the drawing order.
constexpr std::array<OrderItem, 4> kOrderItems{{
    {"QFM611", "最前面へ", "Ctrl+Shift+]", OrderMove::ToFront},
    {"QFM612", "最背面へ", "Ctrl+Shift+[", OrderMove::ToBack},
    {"QFM613", "前面へ", "Ctrl+]", OrderMove::Forward},
    {"QFM614", "背面へ", "Ctrl+[", OrderMove::Backward},
}};

}  // namespace

void MainWindow::buildLayoutMenu(QMenu* viewMenu) {
  QMenu* layout = menuBar()->addMenu(QStringLiteral("配置(&L)"));
  layout->setObjectName(QStringLiteral("QFM600"));
  layout->menuAction()->setObjectName(QStringLiteral("QFM600"));
  auto* bar = new QToolBar(QStringLiteral("配置"), this);
  bar->setObjectName(QStringLiteral("tblLayout"));
  bar->setAccessibleName(QStringLiteral("配置"));
  addToolBar(bar);
  // An item of the menu and its button: disabled until the selection allows it, and a cell
  // being typed in is kept before the tool acts.
  const auto addTool = [&](const char* name, const char* caption, const char* shortcut,
                           std::function<void()> act) {
    QAction* a = addItem(layout, name, caption, shortcut);
    a->setEnabled(false);
    bar->addAction(a);
    connect(a, &QAction::triggered, this, [this, act = std::move(act)] {
      commitCellEdits();
      act();
    });
  };
  for (size_t i = 0; i < kLayoutItems.size(); ++i) {
    const LayoutItem& item = kLayoutItems[i];
    // Aligning, distributing, sizing: a line between the groups.
    if (i == 6 || i == 8) {
      layout->addSeparator();
      bar->addSeparator();
    }
    const LayoutTool tool = item.tool;
    addTool(item.name, item.caption, "", [this, tool] { ctx_.editor.arrange(tool); });
  }
  layout->addSeparator();
  bar->addSeparator();
  for (const OrderItem& item : kOrderItems) {
    const OrderMove move = item.move;
    addTool(item.name, item.caption, item.shortcut, [this, move] { ctx_.editor.reorder(move); });
  }
  // The button for what does not fit is named like the main toolbar's.
  for (auto* more : bar->findChildren<QAbstractButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
    more->setAccessibleName(QStringLiteral("その他のボタン"));
  }
  // 表示 shows or hides the toolbar.
  QAction* shown = bar->toggleViewAction();
  shown->setObjectName(QStringLiteral("QFM207"));
  shown->setText(QStringLiteral("配置ﾂｰﾙﾊﾞｰ"));
  viewMenu->addAction(shown);
  actions_[shown->objectName()] = shown;
}

void MainWindow::showLayoutState() {
  for (const LayoutItem& item : kLayoutItems) {
    if (QAction* a = action(item.name)) a->setEnabled(ctx_.editor.canArrange(item.tool));
  }
  const bool canReorder = ctx_.editor.canReorder();
  for (const OrderItem& item : kOrderItems) {
    if (QAction* a = action(item.name)) a->setEnabled(canReorder);
  }
}

}  // namespace qf
