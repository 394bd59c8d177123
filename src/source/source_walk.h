#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/design.h"
#include "document/object_rows.h"

namespace qf {

// The text with each line break (CR LF, CR or LF) replaced by `with`.
std::string ReplaceLineBreaks(std::string_view text, std::string_view with);
// A design value written where a line break would start a new line of code (comments, field
// expressions, names): each line break (CR LF, CR or LF) becomes one blank.
std::string OneLine(std::string_view text);

// What generated source walks: the layers in printing order and the object rows of each, as
// every generator writes them.
class SourceWalk {
 public:
  struct Layer {
    std::string numberCell;
    std::string nameCell;
    int32_t number = 0;
  };

  explicit SourceWalk(const Design& design);

  // The renderer draws from the last layer row up; the first row's objects end on top.
  const std::vector<Layer>& printingOrder() const { return layers_; }
  // The name of the layer of a number ("" when none has it).
  const std::string& name(int32_t number) const;

  // The rows a layer writes, in list order: objects of the kinds 1 to 6 on it.
  template <class Fn>
  void forEachRow(int32_t number, Fn&& fn) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
      const auto kind = static_cast<int16_t>(rows_[i].kind);
      if (rows_[i].layer != number || kind < 1 || kind > 6) continue;
      fn(static_cast<int>(i) + 1);
    }
  }
  ObjectKind kindOf(int row) const { return rows_[static_cast<size_t>(row - 1)].kind; }

 private:
  struct RowKey {
    ObjectKind kind;
    int16_t layer;
  };
  std::vector<Layer> layers_;
  std::vector<RowKey> rows_;
};

}  // namespace qf
