#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "document/text_table.h"

namespace qf {

// Shows a TextTable in a QTableView: the caption row as column headers, the number column as
// row headers. It keeps no copy; the table tells it of every change.
class TextTableModel final : public QAbstractTableModel, private TableObserver {
 public:
  explicit TextTableModel(TextTable& table, QObject* parent = nullptr);
  // Alignment of the cells of each column (column 1 first); captions are centred.
  void setAlignments(std::vector<Qt::Alignment> alignments) { alignments_ = std::move(alignments); }
  ~TextTableModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void cellChanged(int row, int col) override;
  void rowsInserted(int first, int count) override;
  void rowsRemoved(int first, int count) override;
  void tableReset() override;

  TextTable& table_;
  std::vector<Qt::Alignment> alignments_;
};

}  // namespace qf
