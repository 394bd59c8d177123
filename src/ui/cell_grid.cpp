#include "cell_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleOptionHeader>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/table_model.h"

namespace qf {

namespace {

// Ctrl with C, V or Z: the grid's clipboard keys. Plain letters type into cells.
int ClipboardKey(const QKeyEvent* e) {
  if ((e->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) return 0;
  const int key = e->key();
  return key == Qt::Key_C || key == Qt::Key_V || key == Qt::Key_Z ? key : 0;
}

bool IsEnter(const QKeyEvent* e) {
  return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// A table's header. The captions over the columns never change: they are measured once, not
// again at every geometry update of the table (dozens while the windows are laid out at start).
class CaptionHeader final : public QHeaderView {
 public:
  CaptionHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {}
  void setModel(QAbstractItemModel* model) override {
    QHeaderView::setModel(model);
    measured_ = QSize();
    // A caption changed later (a line more or less) may need another height.
    if (model) {
      connect(model, &QAbstractItemModel::headerDataChanged, this,
              [this](Qt::Orientation changed, int, int) {
                if (changed == orientation()) measured_ = QSize();
              });
    }
  }
  QSize sizeHint() const override {
    // Row numbers change with the rows; Qt measures only a sample of them in any case.
    if (orientation() == Qt::Vertical) return QHeaderView::sizeHint();
    if (!measured_.isValid() || measuredSections_ != count()) {
      measured_ = QHeaderView::sizeHint();
      measuredSections_ = count();
    }
    return measured_;
  }

 protected:
  // Qt sizes every section as if its text were bold, as a selected column's caption is shown.
  // That loads a bold face, with its fallbacks for each script, on the way to the first paint;
  // the header's own font gives the same height, and the widths are set with room to spare.
  QSize sectionSizeFromContents(int logicalIndex) const override {
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.section = logicalIndex;
    opt.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), this);
  }
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
      measured_ = QSize();
    }
    QHeaderView::changeEvent(event);
  }

 private:
  mutable QSize measured_;
  mutable int measuredSections_ = -1;
};

}  // namespace

CellGrid::CellGrid(const TextTable& table, const QString& name, const QString& caption,
                   QWidget* parent)
    : QTableView(parent),
      table_(table),
      model_(new TextTableModel(table, this)),
      editor_(new QLineEdit(viewport())) {
  setObjectName(name);
  setAccessibleName(caption);
  setHorizontalHeader(new CaptionHeader(Qt::Horizontal, this));
  auto* numbers = new CaptionHeader(Qt::Vertical, this);
  // As the table's own row numbers are: a click picks the row, the current one stands out.
  numbers->setSectionsClickable(true);
  numbers->setHighlightSections(true);
  setVerticalHeader(numbers);
  setModel(model_);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horizontalHeader()->setAccessibleName(caption + QStringLiteral(" 見出し"));
  verticalHeader()->setAccessibleName(caption + QStringLiteral(" 行番号"));
  // The corner button over the row numbers does nothing here; it still gets a name.
  setCornerButtonEnabled(false);
  for (QAbstractButton* corner : findChildren<QAbstractButton*>()) {
    corner->setAccessibleName(caption);
  }
  editor_->setObjectName(QStringLiteral("txtInput"));
  editor_->setAccessibleName(QStringLiteral("入力"));
  editor_->setFrame(false);
  editor_->hide();
  editor_->installEventFilter(this);
  connect(this, &QTableView::clicked, this,
          [this](const QModelIndex& i) { emit cellClicked(i.row() + 1, i.column() + 1); });
  connect(this, &QTableView::doubleClicked, this,
          [this](const QModelIndex& i) { emit cellDoubleClicked(i.row() + 1, i.column() + 1); });
  connect(verticalHeader(), &QHeaderView::sectionDoubleClicked, this,
          [this](int section) { emit cellDoubleClicked(section + 1, 0); });
}

void CellGrid::mousePressEvent(QMouseEvent* e) {
  const QModelIndex at = indexAt(e->position().toPoint());
  const Qt::KeyboardModifiers keys = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
  if (e->button() == Qt::LeftButton && at.isValid() && keys) {
    rowPress_ = true;
    commitEditor();
    emit rowPicked(at.row() + 1, (keys & Qt::ShiftModifier) != 0);
    e->accept();
    return;
  }
  rowPress_ = false;
  QTableView::mousePressEvent(e);
}

void CellGrid::mouseReleaseEvent(QMouseEvent* e) {
  if (std::exchange(rowPress_, false)) {
    e->accept();
    return;
  }
  QTableView::mouseReleaseEvent(e);
}

void ShowSelectedRows(CellGrid& grid, const std::vector<int>& rows) {
  std::vector<int> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  QItemSelection selection;
  QAbstractItemModel* model = grid.model();
  const int last = model->columnCount() - 1;
  // Runs of neighbouring rows go in as one range each.
  for (size_t i = 0; i < sorted.size();) {
    size_t j = i;
    while (j + 1 < sorted.size() && sorted[j + 1] <= sorted[j] + 1) ++j;
    if (sorted[i] >= 1 && sorted[j] <= model->rowCount()) {
      selection.select(model->index(sorted[i] - 1, 0), model->index(sorted[j] - 1, last));
    }
    i = j + 1;
  }
  grid.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

int CellGrid::currentRow() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() + 1 : 0;
}

int CellGrid::currentCol() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.column() + 1 : 0;
}

void CellGrid::openEditor(int row, int col, const QString& typed) {
  if (!editable || !editable(row, col)) {
    commitEditor();
    return;
  }
  if (editor_->isVisible() && (row != editRow_ || col != editCol_)) commitEditor();
  const QModelIndex index = model_->index(row - 1, col - 1);
  scrollTo(index);
  editRow_ = row;
  editCol_ = col;
  const QString text = QString::fromStdString(table_.cell(row, col));
  undoText_ = text;
  editor_->setGeometry(visualRect(index));
  editor_->setText(typed.isEmpty() ? text : typed);
  editor_->show();
  editor_->setFocus();
  if (typed.isEmpty()) {
    editor_->selectAll();
  } else {
    editor_->setCursorPosition(static_cast<int>(editor_->text().size()));
  }
}

void CellGrid::commitEditor() {
  if (!editor_->isVisible()) return;
  const int row = editRow_;
  const int col = editCol_;
  const QString text = editor_->text();
  hideEditor();  // hidden first, so the focus change that follows commits nothing twice
  if (committed) committed(row, col, text);
}

void CellGrid::hideEditor() {
  // The focus goes back to the grid first: a focused widget that hides hands the focus on as a
  // Tab would, and the grid would take that Tab as a move to the next cell.
  if (editor_->hasFocus()) setFocus();
  editor_->hide();
}

bool CellGrid::event(QEvent* e) {
  // The grid's own clipboard keys win over the menu items of the same keys.
  if (e->type() == QEvent::ShortcutOverride && ClipboardKey(static_cast<QKeyEvent*>(e))) {
    e->accept();
    return true;
  }
  return QTableView::event(e);
}

void CellGrid::keyPressEvent(QKeyEvent* e) {
  const int row = currentRow();
  const int col = currentCol();
  switch (ClipboardKey(e)) {
    case Qt::Key_C:
      if (row >= 1)
        QApplication::clipboard()->setText(QString::fromStdString(table_.cell(row, col)));
      return;
    case Qt::Key_V:
      if (row >= 1 && pasted) pasted(row, col, QApplication::clipboard()->text());
      return;
    case Qt::Key_Z:
      if (undoRequested) undoRequested();
      return;
    default:
      break;
  }
  if (e->key() == Qt::Key_Delete && !editor_->isVisible() && deletePressed && deletePressed()) {
    return;
  }
  const QString text = e->text();
  const bool typed = !text.isEmpty() && text.at(0).isPrint() &&
                     !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (row >= 1 && (typed || IsEnter(e)) && !editor_->isVisible()) {
    if (editable && editable(row, col)) {
      openEditor(row, col, IsEnter(e) ? QString() : text);
      return;
    }
  }
  QTableView::keyPressEvent(e);
}

bool CellGrid::editorKey(QKeyEvent* e) {
  if (IsEnter(e)) {
    commitEditor();
    return true;
  }
  if (e->key() == Qt::Key_Escape) {
    hideEditor();  // the cell keeps its text
    return true;
  }
  switch (ClipboardKey(e)) {
    case Qt::Key_C:
      QApplication::clipboard()->setText(editor_->text());
      return true;
    case Qt::Key_V:
      undoText_ = editor_->text();
      editor_->setText(QApplication::clipboard()->text());
      return true;
    case Qt::Key_Z:
      editor_->setText(undoText_);
      return true;
    default:
      return false;
  }
}

bool CellGrid::eventFilter(QObject* watched, QEvent* e) {
  if (watched == editor_) {
    switch (e->type()) {
      case QEvent::KeyPress:
        return editorKey(static_cast<QKeyEvent*>(e));
      case QEvent::ShortcutOverride:
        if (ClipboardKey(static_cast<QKeyEvent*>(e))) {
          e->accept();
          return true;
        }
        break;
      case QEvent::FocusOut:
        // Leaving the editor commits it, wherever the focus goes.
        if (editor_->isVisible() && !editor_->hasFocus()) commitEditor();
        break;
      case QEvent::MouseButtonDblClick: {
        // The editor lies over the cell: a double-click on it is one on the cell.
        const int row = editRow_;
        const int col = editCol_;
        commitEditor();
        emit cellDoubleClicked(row, col);
        return true;
      }
      default:
        break;
    }
  }
  return QTableView::eventFilter(watched, e);
}

void CellGrid::scrollContentsBy(int dx, int dy) {
  commitEditor();
  QTableView::scrollContentsBy(dx, dy);
}

void SetUpColumns(CellGrid& grid, std::span<const GridColumn> columns, const char* numberSample) {
  std::vector<Qt::Alignment> alignments;
  const QFontMetrics fm = grid.fontMetrics();
  TextTableModel& model = grid.tableModel();
  for (size_t i = 0; i < columns.size(); ++i) {
    const int col = static_cast<int>(i);
    alignments.push_back(columns[i].align);
    const int sample = fm.horizontalAdvance(QString::fromUtf8(columns[i].sample)) + 12;
    const int caption =
        fm.horizontalAdvance(model.headerData(col, Qt::Horizontal, Qt::DisplayRole).toString()) +
        12;
    grid.setColumnWidth(col, std::max(sample, caption));
  }
  model.setAlignments(std::move(alignments));
  grid.verticalHeader()->setMinimumWidth(fm.horizontalAdvance(QString::fromLatin1(numberSample)));
}

std::array<QPushButton*, 3> LayOutGridWindow(QWidget& window, CellGrid& grid,
                                             std::initializer_list<QWidget*> more) {
  auto button = [](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption));
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(QString::fromUtf8(caption));
    return b;
  };
  const std::array<QPushButton*, 3> buttons{button("cmdIns", "挿入"), button("cmdDel", "削除"),
                                            button("cmdSwap", "入替")};
  auto* strip = new QHBoxLayout;
  for (QPushButton* b : buttons) strip->addWidget(b);
  for (QWidget* w : more) strip->addWidget(w);
  strip->addStretch();
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(&grid, 1);
  layout->addLayout(strip);
  return buttons;
}

}  // namespace qf
