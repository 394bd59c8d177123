#include "source_walk.h"

#include "document/number_text.h"

namespace qf {

std::string ReplaceLineBreaks(std::string_view text, std::string_view with) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += with;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string OneLine(std::string_view text) {
  return ReplaceLineBreaks(text, " ");
}

SourceWalk::SourceWalk(const Design& design) {
  for (int r = design.layers.itemCount(); r >= 1; --r) {
    Layer l;
    l.numberCell = design.layers.cell(r, kLayerNumber);
    l.nameCell = design.layers.cell(r, kLayerName);
    l.number = RoundToInt<int32_t>(NumericPrefix(l.numberCell)).value_or(0);
    layers_.push_back(std::move(l));
  }
  const int rows = design.objects.itemCount();
  rows_.reserve(static_cast<size_t>(rows));
  for (int r = 1; r <= rows; ++r) {
    rows_.push_back(
        {KindFromName(design.objects.cell(r, kColKind)),
         RoundToInt<int16_t>(NumericPrefix(design.objects.cell(r, kColLayer))).value_or(0)});
  }
}

const std::string& SourceWalk::name(int32_t number) const {
  static const std::string kNone;
  // The last layer row of the number names it (the first in printing order).
  for (const Layer& l : layers_) {
    if (l.number == number) return l.nameCell;
  }
  return kNone;
}

}  // namespace qf

namespace qf {

std::string BarcodeComment(const BarcodeObject& b) {
  return SymbologyName(std::to_string(static_cast<int>(b.symbology))) + " " + OneLine(b.value);
}

namespace {

class ObjectWalk {
 public:
  ObjectWalk(SourceWriter& writer, BlockRules rules, int16_t scaleMode)
      : writer_(writer), rules_(rules), scaleMode_(scaleMode) {}

  void layer(const Design& design, const SourceWalk& walk, const SourceWalk::Layer& l) {
    open_.clear();
    if (rules_.layerClosesBlocks) {
      lists_[0].clear();
      lists_[1].clear();
      offsets_ = {};
    }
    text_ = TextState{};
    if (!writer_.beginLayer(l)) return;
    walk.forEachRow(l.number, [this, &design](int row) {
      DecodeObjectRow(record_, design.objects, row);
      object(record_);
    });
    // The printer keeps its font and colour from layer to layer, and every layer is written
    // for the defaults: what this layer's texts changed is put back.
    restoreText(TextState{});
    writer_.endLayer();
  }

 private:
  struct OpenBlock {
    Direction direction;
    TextState text;  // the text state the block's first texts were written for
  };

  void object(const ObjectRecord& r) {
    std::visit(Overloaded{
                   [&](const TextObject& t) {
                     TextState wanted{fontOnOneLine(t.font), t.size,      t.bold, t.italic,
                                      t.strikethrough,       t.underline, t.color};
                     writer_.text(r, t, text_, wanted, offsets_);
                     text_ = std::move(wanted);
                   },
                   [&](const LineObject& l) { writer_.line(r, l, offsets_); },
                   [&](const BoxObject& b) { writer_.box(r, b, offsets_); },
                   [&](const PictureObject& p) { writer_.picture(r, p, offsets_); },
                   [&](const RingObject& g) { writer_.ring(r, g, offsets_); },
                   [&](const BarcodeObject& b) { barcode(r, b); },
                   [&](const CommandObject& c) { command(r, c); },
                   [](const UnknownObject&) {},
               },
               BodyOf(r));
  }

  void barcode(const ObjectRecord& r, const BarcodeObject& b) {
    const BarcodeDrawing drawn = PlaceBarcodeObject(b, {r.X1, r.Y1, r.X2, r.Y2}, scaleMode_);
    const auto* placed = std::get_if<PlacedBarcode>(&drawn);
    TextState wanted = text_;
    if (placed && placed->digitsShown) {
      wanted = TextState{kBarcodeDigitsFont, b.digitsSize, false, false, false, false, b.color};
    }
    writer_.barcode(r, b, drawn, text_, wanted, offsets_);
    text_ = std::move(wanted);
  }

  void command(const ObjectRecord& r, const CommandObject& c) {
    if (c.start) {
      // Each pass starts with the text state the block's first texts were written for.
      open_.push_back({c.direction, text_});
      list(c.direction).push_back(writer_.beginBlock(r, c));
      updateOffsets();
      return;
    }
    std::optional<OpenBlock> closed;
    if (!open_.empty()) {
      closed = std::move(open_.back());
      open_.pop_back();
      restoreText(closed->text);
    }
    writer_.endBlock(r, c, closed.has_value());
    if (!rules_.endTakesOwnDirection && !closed) return;
    std::vector<std::string>& names =
        list(rules_.endTakesOwnDirection ? c.direction : closed->direction);
    if (!names.empty()) names.pop_back();
    updateOffsets();
  }

  // Writes the lines that give the printer the text state `to` again; a font name or size of
  // nothing is left to the next text to write.
  void restoreText(const TextState& to) {
    TextState kept = to;
    if (kept.font.empty()) kept.font = text_.font;
    if (kept.size == 0) kept.size = text_.size;
    writer_.changeText(text_, kept);
    text_ = std::move(kept);
  }

  // Texts mostly share a few fonts: the last one's line-break-free name is kept.
  const std::string& fontOnOneLine(const std::string& font) {
    if (font != fontAsWritten_) {
      fontAsWritten_ = font;
      fontOnOneLine_ = OneLine(font);
    }
    return fontOnOneLine_;
  }

  std::vector<std::string>& list(Direction d) { return lists_[d == Direction::Down ? 0 : 1]; }

  void updateOffsets() {
    const auto joined = [](const std::vector<std::string>& names) {
      std::string out;
      for (const std::string& v : names) out += " + " + v;
      return out;
    };
    offsets_.y = joined(lists_[0]);
    offsets_.x = joined(lists_[1]);
  }

  SourceWriter& writer_;
  const BlockRules rules_;
  const int16_t scaleMode_;
  ObjectRecord record_;
  std::vector<OpenBlock> open_;
  std::vector<std::string> lists_[2];  // position variables of open blocks, down and across
  Offsets offsets_;
  TextState text_;
  std::string fontAsWritten_;
  std::string fontOnOneLine_;
};

}  // namespace

void WriteObjects(const Design& design, const SourceWalk& walk, SourceWriter& writer,
                  BlockRules rules) {
  ObjectWalk objects(writer, rules, design.page.scaleMode);
  for (const SourceWalk::Layer& l : walk.printingOrder()) objects.layer(design, walk, l);
}

}  // namespace qf
