// The menus and toolbars built from the command table, the zoom box and the read-outs, and the
// enabled states and check marks kept as the design and the settings say.
#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <iterator>

#include "shell/app_paths.h"
#include "shell/file_association.h"
#include "shell/ui_text.h"
#include "ui/command_ids.h"
#include "ui/icons.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

namespace qf {

namespace {

QString Latin(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QToolBar* NewBar(QMainWindow* window, const QString& name, const QString& title) {
  auto* bar = new QToolBar(title, window);
  bar->setObjectName(name);
  return bar;
}

// The button that shows the buttons a narrow window has no room for.
void NameOverflowButton(QToolBar* bar) {
  for (auto* more : bar->findChildren<QAbstractButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
    more->setAccessibleName(QStringLiteral("その他のボタン"));
  }
}

}  // namespace

void MainWindow::buildCommands() {
  QToolBar* mainBar = NewBar(this, QStringLiteral("tblMenu"), QStringLiteral("tblMenu"));
  mainBar->setMovable(false);
  QToolBar* layoutBar = NewBar(this, QStringLiteral("tblLayout"), QStringLiteral("配置"));
  layoutBar->setAccessibleName(QStringLiteral("配置"));
  // The main toolbar first, the layout toolbar on a row of its own below: its captions are words.
  addToolBar(mainBar);
  addToolBarBreak();
  addToolBar(layoutBar);

  std::map<CommandPlace, QMenu*> menus;
  for (const MenuRow& m : CommandMenus()) {
    QMenu* menu =
        menuBar()->addMenu(QString::fromUtf8(m.caption.data(), qsizetype(m.caption.size())));
    menu->setObjectName(Latin(m.id));
    menu->menuAction()->setObjectName(Latin(m.id));
    menus[m.place] = menu;
  }

  const std::span<const CommandRow> rows = Commands();
  actions_.assign(rows.size(), nullptr);
  for (size_t i = 0; i < rows.size(); ++i) {
    const CommandRow& row = rows[i];
    const bool onToolbar = row.place == CommandPlace::Toolbar;
    QMenu* menu = onToolbar ? nullptr : menus.at(row.place);
    QAction* a = nullptr;
    if (row.kind == RowKind::RecentList) {
      for (int r = 0; r < static_cast<int>(recent_.size()); ++r) {
        QAction* item = menu->addAction(QString());
        item->setObjectName(QStringLiteral("QFM109_%1").arg(r));
        connect(item, &QAction::triggered, this, [this, r] { fileOpenRecent(r); });
        recent_[static_cast<size_t>(r)] = item;
      }
      continue;
    }
    if (row.kind == RowKind::LayoutBarShown) {
      a = layoutBar->toggleViewAction();
      a->setText(Q(row.caption));
      menu->addAction(a);
    } else if (row.separator()) {
      a = onToolbar ? mainBar->addSeparator() : menu->addSeparator();
      if (row.place == CommandPlace::Layout) layoutBar->addSeparator();
    } else {
      a = new QAction(Q(row.caption), this);
      if (!row.shortcut.empty()) a->setShortcut(QKeySequence(Latin(row.shortcut)));
      a->setCheckable(row.checked != nullptr);
      if (onToolbar) {
        a->setToolTip(a->text());
        a->setIcon(row.icon == kPreviewIcon
                       ? style()->standardIcon(QStyle::SP_FileDialogContentsView)
                       : ToolbarIcon(row.icon));
        mainBar->addAction(a);
      } else {
        menu->addAction(a);
        if (row.place == CommandPlace::Layout) layoutBar->addAction(a);
      }
      const auto run = row.run;
      connect(a, &QAction::triggered, this, [this, run] {
        commitCellEdits();
        run(*this);
        showState();  // a check mark shows the state the command left, not the click
      });
    }
    a->setObjectName(Latin(row.id));
    actions_[i] = a;
    if (row.id == cmd::kRecentSeparator) recentSeparator_ = a;
    if (row.id == cmd::kMergeData) mergeAction_ = a;
  }
  // The package associated design files already; one registered here before can still go.
  QAction* relation = findChild<QAction*>(QString(cmd::kFileAssociation));
  if (!ctx_.state.relation && PackageAssociatesFiles(ctx_.state.appFolder)) {
    relation->setEnabled(false);
    relation->setStatusTip(QStringLiteral("インストールしたパッケージが関連付けています"));
    relation->setToolTip(relation->statusTip());
  }
  buildToolbarWidgets(mainBar);
  NameOverflowButton(mainBar);
  NameOverflowButton(layoutBar);
}

void MainWindow::showState() {
  const std::span<const CommandRow> rows = Commands();
  for (size_t i = 0; i < rows.size(); ++i) {
    QAction* a = actions_[i];
    if (!a) continue;
    if (rows[i].enabled) a->setEnabled(rows[i].enabled(ctx_));
    if (rows[i].checked) a->setChecked(rows[i].checked(ctx_));
  }
  showZoom();
}

void MainWindow::showZoom() {
  // The box keeps what was typed while it reads as the zoom the page has ("75.0%").
  if (!zoom_ || ZoomFromText(zoom_->currentText().toStdString()) == ctx_.view.zoom) return;
  zoom_->setCurrentText(QStringLiteral("%1%").arg(ctx_.view.zoom));
}

void MainWindow::buildToolbarWidgets(QToolBar* bar) {
  bar->addSeparator();
  auto* caption = new QLabel(QStringLiteral(" 倍率 "));
  caption->setObjectName(QStringLiteral("lblCapt"));
  bar->addWidget(caption);
  zoom_ = new QComboBox;
  zoom_->setObjectName(QStringLiteral("cmbPer"));
  zoom_->setAccessibleName(QStringLiteral("倍率"));
  zoom_->setEditable(true);
  zoom_->setInsertPolicy(QComboBox::NoInsert);
  for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
    zoom_->addItem(QStringLiteral("%1%").arg(*it));
  }
  // The list starts at the page's zoom, so the arrow keys move on from it.
  zoom_->setCurrentIndex(zoom_->findText(QStringLiteral("100%")));
  connect(zoom_, &QComboBox::activated, this, &MainWindow::zoomChosen);
  // The arrow keys move through the list without an activation: the zoom follows them too.
  connect(zoom_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0 && ZoomFromText(zoom_->itemText(index).toStdString()) != ctx_.view.zoom) {
      zoomChosen(index);
    }
  });
  connect(zoom_->lineEdit(), &QLineEdit::returnPressed, this, &MainWindow::zoomEntered);
  zoom_->lineEdit()->setAccessibleName(zoom_->accessibleName());
  bar->addWidget(zoom_);
  bar->addSeparator();
  position_ = new QLabel(QStringLiteral("0.000, 0.000"));
  position_->setObjectName(QStringLiteral("lblPos"));
  position_->setAccessibleName(QStringLiteral("位置"));
  position_->setMinimumWidth(
      position_->fontMetrics().horizontalAdvance(QStringLiteral("9999.999, 9999.999  ")));
  size_ = new QLabel(QStringLiteral("0.000 x 0.000"));
  size_->setObjectName(QStringLiteral("lblSize"));
  size_->setAccessibleName(QStringLiteral("サイズ"));
  size_->setMinimumWidth(
      size_->fontMetrics().horizontalAdvance(QStringLiteral("9999.999 x 9999.999  ")));
  // picFra: each read-out behind its picture.
  auto* frame = new QFrame;
  frame->setObjectName(QStringLiteral("picFra"));
  auto* row = new QHBoxLayout(frame);
  row->setContentsMargins(4, 0, 4, 0);
  for (int i = 0; i < 2; ++i) {
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("picIcon%1").arg(i));
    icon->setPixmap(ReadoutIcon(i));
    row->addWidget(icon);
    row->addWidget(i == 0 ? position_ : size_);
  }
  bar->addWidget(frame);
}

}  // namespace qf
