#include "table_model.h"

namespace qf {

namespace {
QString Text(const std::string& s) {
  return QString::fromStdString(s);
}
}  // namespace

TextTableModel::TextTableModel(const TextTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
  table_.addListener(this);
}

TextTableModel::~TextTableModel() {
  table_.removeListener(this);
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
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole) {
    return {};
  }
  return Text(table_.cell(index.row() + 1, index.column() + 1));
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  if (orientation == Qt::Horizontal) return Text(table_.cell(0, section + 1));
  const std::string& number = table_.cell(section + 1, 0);
  return number.empty() ? QString::number(section + 1) : Text(number);
}

void TextTableModel::cellChanged(const TextTable&, int row, int col) {
  if (row == 0) {
    emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
  } else if (col == 0) {
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
  } else {
    const QModelIndex i = index(row - 1, col - 1);
    emit dataChanged(i, i);
  }
}

void TextTableModel::rowsAboutToBeInserted(const TextTable&, int first, int count) {
  beginInsertRows({}, first - 1, first + count - 2);
}

void TextTableModel::rowsInserted(const TextTable&, int, int) {
  endInsertRows();
}

void TextTableModel::rowsAboutToBeRemoved(const TextTable&, int first, int count) {
  beginRemoveRows({}, first - 1, first + count - 2);
}

void TextTableModel::rowsRemoved(const TextTable&, int, int) {
  endRemoveRows();
}

void TextTableModel::rowsSwapped(const TextTable&, int a, int b, int firstCol) {
  const int last = columnCount() - 1;
  const int from = std::max(firstCol - 1, 0);
  for (int r : {a, b}) emit dataChanged(index(r - 1, from), index(r - 1, last));
  if (firstCol == 0) emit headerDataChanged(Qt::Vertical, std::min(a, b) - 1, std::max(a, b) - 1);
}

void TextTableModel::aboutToReset(const TextTable&) {
  beginResetModel();
}

void TextTableModel::tableReset(const TextTable&) {
  endResetModel();
}

}  // namespace qf
