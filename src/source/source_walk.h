#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "barcode/barcode.h"
#include "document/design.h"
#include "document/object_rows.h"
#include "document/typed_object.h"

namespace qf {

// The text with each line break (CR LF, CR or LF) replaced by `with`.
std::string ReplaceLineBreaks(std::string_view text, std::string_view with);
// A design value written where a line break would start a new line of code (comments, field
// expressions, names): each line break (CR LF, CR or LF) becomes one blank.
std::string OneLine(std::string_view text);
// What a comment says of a barcode: its symbology and designed value, on one line.
std::string BarcodeComment(const BarcodeObject& b);

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

  // The rows a layer writes, in list order: its objects of a listed kind.
  template <class Fn>
  void forEachRow(int32_t number, Fn&& fn) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i].layer != number || rows_[i].kind == ObjectKind::None) continue;
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

// The printer's text properties as the source last set them.
struct TextState {
  std::string font;  // on one line
  float size = 0;
  bool bold = false;
  bool italic = false;
  bool strikethrough = false;
  bool underline = false;
  int32_t color = 0;

  bool operator==(const TextState&) const = default;
};

// What an object's coordinates are followed by inside repeat blocks: " + " and the position
// variable of each open block of the direction, outermost first ("" outside any).
struct Offsets {
  std::string x;
  std::string y;
};

// How a language's loops pair with the blocks of the list.
struct BlockRules {
  // An end takes the offset of the innermost open block of its own direction away (the loops
  // of the Visual Basic the printer has always run), rather than its start's.
  bool endTakesOwnDirection = false;
  // A layer's end closes the blocks it left open and drops their offsets (each layer of the C#
  // method stands alone); otherwise their offsets reach into the next layer.
  bool layerClosesBlocks = false;
};

// What one generated language spells. The walk decides what comes in which order; a writer
// only spells it. Each kind of object has its own call, so a new kind names every writer.
class SourceWriter {
 public:
  virtual ~SourceWriter() = default;

  // False when the layer's objects are not written.
  virtual bool beginLayer(const SourceWalk::Layer& layer) = 0;
  virtual void endLayer() = 0;

  // A text; the printer's text state goes from `was` to `now` for it.
  virtual void text(const ObjectRecord& r, const TextObject& t, const TextState& was,
                    const TextState& now, const Offsets& at) = 0;
  virtual void line(const ObjectRecord& r, const LineObject& l, const Offsets& at) = 0;
  virtual void box(const ObjectRecord& r, const BoxObject& b, const Offsets& at) = 0;
  virtual void picture(const ObjectRecord& r, const PictureObject& p, const Offsets& at) = 0;
  virtual void ring(const ObjectRecord& r, const RingObject& g, const Offsets& at) = 0;
  // A barcode: its bars as placed in its box, or why it cannot be printed; the printer's text
  // state goes from `was` to `now` for its digits (unchanged when it shows none).
  virtual void barcode(const ObjectRecord& r, const BarcodeObject& b, const BarcodeDrawing& drawn,
                       const TextState& was, const TextState& now, const Offsets& at) = 0;
  // A block's start; returns the name of the variable that holds its pass's offset.
  virtual std::string beginBlock(const ObjectRecord& r, const CommandObject& c) = 0;
  // A block's end; `closes`: whether a block was open for it to close.
  virtual void endBlock(const ObjectRecord& r, const CommandObject& c, bool closes) = 0;
  // The printer's text properties put back from `from` to `to` at a pass's or layer's end: a
  // language that sets them once a text writes the ones that differ.
  virtual void changeText(const TextState& from, const TextState& to) = 0;
};

// Walks the layers in printing order and their objects, keeping the open blocks, their offsets
// and the text state; the text state is put back at the end of each pass and each layer.
void WriteObjects(const Design& design, const SourceWalk& walk, SourceWriter& writer,
                  BlockRules rules);

}  // namespace qf
