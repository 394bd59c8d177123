#include "table_model.h"

namespace qf {

namespace {
QString Text(const std::string& s) {
  return QString::fromStdString(s);
}
}  // namespace

TextTableModel::TextTableModel(TextTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
  table_.setObserver(this);
}

TextTableModel::~TextTableModel() {
  table_.setObserver(nullptr);
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.itemCount();
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.columnCount() - 1;
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole) {
    const auto col = static_cast<size_t>(index.column());
    const Qt::Alignment a = col < alignments_.size() ? alignments_[col] : Qt::AlignLeft;
    return QVariant::fromValue(a | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  return Text(table_.cell(index.row() + 1, index.column() + 1));
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return Text(table_.cell(0, section + 1));
  const std::string& number = table_.cell(section + 1, 0);
  return number.empty() ? QString::number(section + 1) : Text(number);
}

void TextTableModel::cellChanged(int row, int col) {
  if (row == 0) {
    emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
  } else if (col == 0) {
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
  } else {
    const QModelIndex i = index(row - 1, col - 1);
    emit dataChanged(i, i);
  }
}

// The table has already changed when it tells; a reset keeps the view consistent without
// knowing what the rows were before.
void TextTableModel::rowsInserted(int, int) {
  tableReset();
}
void TextTableModel::rowsRemoved(int, int) {
  tableReset();
}

void TextTableModel::tableReset() {
  beginResetModel();
  endResetModel();
}

}  // namespace qf
