#pragma once

#include <QWidget>

#include "document/text_table.h"

class QTableView;

namespace qf {

// The code window or the layer window: the object list or the layer list as a grid, with the
// insert, delete and swap buttons. The grids only show their list for now.
class ListWindow final : public QWidget {
  Q_OBJECT

 public:
  enum class Kind { Code, Layer };
  ListWindow(Kind kind, TextTable& table, QWidget* parent = nullptr);
  QTableView& grid() { return *grid_; }

 private:
  QTableView* grid_;
};

}  // namespace qf
