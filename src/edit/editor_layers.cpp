// The layer window's changes of the layer list.
#include <cmath>
#include <string>

#include "document/number_text.h"
#include "editor.h"

namespace qf {

namespace {

constexpr std::string_view kNewLayerName = "レイヤー";

// The largest number present plus one; where that no object could carry (beyond 16 bits), the
// smallest number no row carries.
int NewLayerNumber(const TextTable& layers) {
  double largest = 0;
  for (int r = 1; r <= layers.itemCount(); ++r) {
    largest = std::max(largest, NumericPrefix(layers.cell(r, kLayerNumber)));
  }
  const double next = std::floor(largest) + 1;
  if (next <= 32767) return static_cast<int>(next);
  for (int n = 1; n <= 32767; ++n) {
    bool used = false;
    for (int r = 1; r <= layers.itemCount() && !used; ++r) {
      used = NumericPrefix(layers.cell(r, kLayerNumber)) == n;
    }
    if (!used) return n;
  }
  return 32767;
}

}  // namespace

void Editor::chooseLayer(int row) {
  const TextTable& layers = design_.layers;
  if (row < 1 || row > layers.itemCount()) return;
  setCurrentLayer(RoundToInt<int16_t>(NumericPrefix(layers.cell(row, kLayerNumber))).value_or(0));
}

void Editor::setCurrentLayer(int16_t number) {
  Command command(*this);
  currentLayer_ = number;
  if (view_) view_->layerStatus(currentLayer_);
}

bool Editor::refuseEmptyLayerName(std::string_view name) {
  if (!TrimBlanks(name).empty()) return false;
  // A layer without a name could not be told apart in the list or the command dialog.
  if (view_) view_->refused("ﾚｲﾔｰ名は空にできません。元の名前のままです。");
  return true;
}

bool Editor::renameLayer(int row, std::string_view name) {
  if (row < 1 || row > design_.layers.itemCount()) return false;
  if (design_.layers.cell(row, kLayerName) == name || refuseEmptyLayerName(name)) return false;
  Command command(*this);
  Change change(*this);
  design_.layers.setCell(row, kLayerName, std::string(name));
  return true;
}

bool Editor::pasteLayerCell(int row, int col, std::string_view text) {
  TextTable& layers = design_.layers;
  if (row < 1 || row > layers.itemCount() || col < kLayerLock || col >= kLayerColumns) {
    return false;
  }
  if (layers.cell(row, col) == text) return false;
  if (col == kLayerName && refuseEmptyLayerName(text)) return false;
  Command command(*this);
  if (col == kLayerLock || col == kLayerHide) {
    // Lock and hide are how the user looks at the design, not part of it.
    {
      UndoHistory::Unrecorded view(history_);
      layers.setCell(row, col, std::string(text));
    }
    showDamage();
    return true;
  }
  Change change(*this);
  layers.setCell(row, col, std::string(text));
  return true;
}

int Editor::addLayer(int row) {
  TextTable& layers = design_.layers;
  const int at = row >= 1 && row <= layers.itemCount() ? row : 1;
  const std::string number = std::to_string(NewLayerNumber(layers));
  Command command(*this);
  Change change(*this);
  return layers.insertRow(at, {"", "", "", number, std::string(kNewLayerName) + number});
}

LayerDeletion Editor::checkLayerDeletion(int row) const {
  const int n = design_.layers.itemCount();
  if (n < 1 || row < 1 || row > n) return LayerDeletion::NoRow;
  return row == n ? LayerDeletion::BaseLayer : LayerDeletion::Allowed;
}

bool Editor::deleteLayer(int row) {
  if (checkLayerDeletion(row) != LayerDeletion::Allowed) return false;
  Command command(*this);
  Change change(*this);
  design_.layers.removeRow(row);
  return true;
}

bool Editor::swapLayers(int a, int b) {
  const int n = design_.layers.itemCount();
  if (a < 1 || b < 1 || a >= n || b >= n || a == b) return false;
  Command command(*this);
  Change change(*this);
  design_.layers.swapCells(a, b, kLayerLock);
  return true;
}

void Editor::toggleLock(int row) {
  TextTable& layers = design_.layers;
  if (row < 1 || row > layers.itemCount()) return;
  Command command(*this);
  UndoHistory::Unrecorded view(history_);
  layers.setCell(row, kLayerLock, layers.cell(row, kLayerLock).empty() ? "■" : "");
}

void Editor::toggleHide(int row) {
  TextTable& layers = design_.layers;
  if (row < 1 || row > layers.itemCount()) return;
  Command command(*this);
  {
    UndoHistory::Unrecorded view(history_);
    layers.setCell(row, kLayerHide, layers.cell(row, kLayerHide).empty() ? "×" : "");
  }
  showDamage();
}

}  // namespace qf
