#pragma once

#include <QWidget>
#include <cstdint>

namespace qf {

class CellGrid;
class Editor;
class Prompter;

// frmLayer: the layer list as a grid. A click makes a layer current; layers are added,
// deleted, swapped, renamed in place, locked and hidden; every change goes through the editor.
class LayerWindow final : public QWidget {
  Q_OBJECT

 public:
  LayerWindow(Editor& editor, Prompter& prompter, QWidget* parent = nullptr);
  CellGrid& grid() { return *grid_; }
  void commitEditing();

 private:
  void clicked(int row, int col);
  void doubleClicked(int row, int col);
  void addLayer();
  void deleteLayer();
  void startSwap();

  Editor& editor_;
  Prompter& prompter_;
  CellGrid* grid_;
  // The current layer before the last click: a double-click on a lock or hide mark is no
  // choice of layer, and gives the choice its first click made back.
  int16_t layerBeforeClick_ = 1;
};

}  // namespace qf
