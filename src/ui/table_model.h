#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "document/text_table.h"

namespace qf {

// Shows a TextTable in a QTableView: the caption row as column headers, the number column as
// row headers. It keeps no copy; the table tells it before and after every change, so rows are
// inserted and removed in the view (keeping its current cell and scroll position), not reset.
class TextTableModel final : public QAbstractTableModel, private TableListener {
 public:
  explicit TextTableModel(const TextTable& table, QObject* parent = nullptr);
  ~TextTableModel() override;
  // Alignment of the cells of each column (column 1 first); captions are centred.
  void setAlignments(std::vector<Qt::Alignment> alignments) { alignments_ = std::move(alignments); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void cellChanged(const TextTable& t, int row, int col) override;
  void rowsAboutToBeInserted(const TextTable& t, int first, int count) override;
  void rowsInserted(const TextTable& t, int first, int count) override;
  void rowsAboutToBeRemoved(const TextTable& t, int first, int count) override;
  void rowsRemoved(const TextTable& t, int first, int count) override;
  void rowsSwapped(const TextTable& t, int a, int b, int firstCol) override;
  void aboutToReset(const TextTable& t) override;
  void tableReset(const TextTable& t) override;

  const TextTable& table_;
  std::vector<Qt::Alignment> alignments_;
};

}  // namespace qf
