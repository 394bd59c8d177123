#include "design_file.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ascii_case.h"
#include "cp932.h"
#include "field_reader.h"
#include "number_text.h"
#include "object_rows.h"

namespace qf {

namespace {

// Where each written record starts, so a conversion failure can name its row.
struct RecordMark {
  size_t offset;
  enum class What { Header, Layer, Object } what;
  int row;
};

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  out += EscapeField(text);
  out += '"';
}

std::string CodePointText(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

std::string UnencodableDetail(const std::string& text, size_t offset,
                              const std::vector<RecordMark>& marks) {
  char32_t cp = 0;
  const std::string_view ch = Utf8CharAt(text, offset, &cp);
  auto it = std::upper_bound(marks.begin(), marks.end(), offset,
                             [](size_t off, const RecordMark& m) { return off < m.offset; });
  std::string where = "ファイル見出し";
  if (it != marks.begin()) {
    const RecordMark& m = *(it - 1);
    if (m.what == RecordMark::What::Layer) {
      where = "レイヤー " + std::to_string(m.row) + " 行目";
    } else if (m.what == RecordMark::What::Object) {
      where = "オブジェクト " + std::to_string(m.row) + " 行目";
    }
  }
  return where + "の「" + std::string(ch) + "」(" + CodePointText(cp) +
         ") はシフトJIS(コードページ932)で保存できない文字です。";
}

// Reads fields into typed values. A read past the end of the file leaves the target as it
// was, and so does a number that does not fit the target's type.
class DesignReader {
 public:
  explicit DesignReader(std::string_view text) : fields_(text) {}

  bool atEnd() const { return fields_.atEnd(); }
  bool moreOnLine() const { return fields_.moreOnLine(); }
  // Fields read so far (reads past the end do not count).
  long fieldsRead() const { return read_; }
  bool text(std::string& out) { return next(out); }
  void escapedText(std::string& out) {
    if (!next(buf_)) return;
    if (buf_.find("<%") == std::string::npos) {
      out.swap(buf_);  // nothing to unescape: hand over the buffer
    } else {
      out = UnescapeField(buf_);
    }
  }
  void number(double& out) {
    if (next(buf_)) out = NumericPrefix(buf_);
  }
  void single(float& out) {
    if (next(buf_)) out = ToSingle(NumericPrefix(buf_)).value_or(out);
  }
  template <class Int>
  void integer(Int& out) {
    if (next(buf_)) out = RoundToInt<Int>(NumericPrefix(buf_)).value_or(out);
  }
  void kind(ObjectKind& out) {
    auto code = static_cast<int16_t>(out);
    integer(code);
    out = static_cast<ObjectKind>(code);
  }
  void color(int32_t& out) {
    if (next(buf_)) out = ParseFileColor(buf_).value_or(out);
  }

 private:
  bool next(std::string& out) {
    const bool got = fields_.next(out);
    read_ += got ? 1 : 0;
    return got;
  }

  FieldReader fields_;
  std::string buf_;
  long read_ = 0;
};

// Files are written in code page 932, where the yen sign and the backslash are one byte (0x5C),
// shown as ¥ by the Japanese fonts of the systems the format comes from; the codec reads it as
// a backslash. In what is shown on the page (texts, labels, layer names) it is a yen sign; in
// picture file names and field expressions it stays a backslash.
void BackslashAsYen(std::string& text) {
  static constexpr std::string_view kYen = "¥";
  for (size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at)) {
    text.replace(at, 1, kYen);
    at += kYen.size();
  }
}

}  // namespace

FileStatus SerializeDesign(const Design& d, std::string& bytes) {
  std::string out;
  out.reserve(static_cast<size_t>(d.objects.rowCount()) * 96 + 256);
  std::vector<RecordMark> marks;
  marks.reserve(static_cast<size_t>(d.objects.rowCount() + d.layers.rowCount()) + 1);
  marks.push_back({0, RecordMark::What::Header, 0});

  char version[32];
  std::snprintf(version, sizeof version, "VERSION %d.%02d\r\n", kVersionMajor, kVersionMinor);
  out += version;

  const PageSettings& p = d.page;
  out += std::to_string(p.paperSize) + ',' + std::to_string(p.orientation) + ',' +
         std::to_string(p.scaleMode) + ',' + FormatSingle(p.marginLeft) + ',' +
         FormatSingle(p.marginRight) + ',' + FormatSingle(p.marginTop) + ',' +
         FormatSingle(p.marginBottom) + ',' + std::to_string(d.grid.shown) + ',' +
         FormatSingle(d.grid.width) + ',' + FormatSingle(d.grid.height) + "\r\n";

  const int layerRows = d.layers.itemCount();
  out += std::to_string(layerRows) + "Layer\r\n";
  for (int r = 1; r <= layerRows; ++r) {
    marks.push_back({out.size(), RecordMark::What::Layer, r});
    // The number is read back as a rounded number, so write it in that form: a stray comma
    // pasted into the cell must not split the line.
    const int32_t number =
        RoundToInt<int32_t>(NumericPrefix(d.layers.cell(r, kLayerNumber))).value_or(0);
    out += std::to_string(number);
    out += ',';
    const std::string name = EscapeField(TrimBlanks(d.layers.cell(r, kLayerName)));
    if (name.find_first_of("\r\n") != std::string::npos) {
      // Unquoted, a line break would end the field; quoted, it is read back as it stands.
      out += '"' + name + '"';
    } else {
      out += name;
    }
    out += "\r\n";
  }
  marks.push_back({out.size(), RecordMark::What::Header, 0});
  out += "DizaColor\r\n";
  for (int i = 1; i <= 5; ++i) out += FileColorText(d.palette[static_cast<size_t>(i)]) + "\r\n";

  const int objectRows = d.objects.itemCount();
  out += std::to_string(objectRows) + "\r\n";
  ObjectRecord r;
  for (int row = 1; row <= objectRows; ++row) {
    marks.push_back({out.size(), RecordMark::What::Object, row});
    DecodeObjectRow(r, d.objects, row);
    out += std::to_string(static_cast<int>(r.Kind));
    out += ',';
    AppendQuoted(out, r.Label);
    for (double v : {r.X1, r.Y1, r.X2, r.Y2}) {
      out += ',';
      out += FormatDouble(v);
    }
    for (const std::string* s : {&r.Text, &r.Field, &r.Style}) {
      out += ',';
      AppendQuoted(out, *s);
    }
    out += ',';
    out += FormatSingle(r.Size);
    for (int16_t v : {r.Bold, r.Italic, r.Strikethrough, r.Underline, r.Align}) {
      out += ',';
      out += std::to_string(v);
    }
    out += ',';
    out += FileColorText(r.Color);
    out += ',';
    out += std::to_string(r.Layer);
    out += "\r\n";
  }

  std::string encoded;
  const CodecResult rc = Utf8ToCp932(out, encoded);
  if (!rc.ok) return {kErrUnencodableText, UnencodableDetail(out, rc.badOffset, marks)};
  bytes = std::move(encoded);
  return {};
}

namespace {

// The lines after VERSION: the page, its margins and the grid. Beyond telling a design file,
// the version line plays no part in loading.
void ReadPageLines(DesignReader& in, Design& fresh) {
  PageSettings& p = fresh.page;
  in.integer(p.paperSize);
  in.integer(p.orientation);
  in.integer(p.scaleMode);
  in.single(p.marginLeft);
  in.single(p.marginRight);
  in.single(p.marginTop);
  in.single(p.marginBottom);
  in.integer(fresh.grid.shown);
  in.single(fresh.grid.width);
  in.single(fresh.grid.height);
}

// The header's keyword fields after the grid, each in `field` as it is read: the layer list
// ("2Layer" and its rows), the hatch colours ("DizaColor") and the object count.
struct HeaderRead {
  int64_t layerCount = 0;
  int64_t objectCount = 0;
  // Whether the field the object count is taken from was there: a file that ends before it
  // is cut off, whatever the field read last says.
  bool countRead = false;
};

HeaderRead ReadLayersAndPalette(DesignReader& in, Design& fresh, LoadDecisions& d) {
  HeaderRead h;
  std::string field;
  h.countRead = in.text(field);
  if (AsciiUpper(field).find("LAYER") != std::string::npos) {
    h.layerCount = RoundToInt<int64_t>(NumericPrefix(field)).value_or(0);
    std::string number;
    std::string name;
    // A count larger than the file holds stops at its end.
    for (int64_t i = 0; i < h.layerCount && !in.atEnd(); ++i) {
      in.text(number);
      in.text(name);
      const int row = fresh.layers.appendRow();
      fresh.layers.setCell(row, kLayerNumber,
                           std::to_string(RoundToInt<int32_t>(NumericPrefix(number)).value_or(0)));
      std::string shown = UnescapeField(name);
      BackslashAsYen(shown);
      fresh.layers.setCell(row, kLayerName, std::move(shown));
    }
    h.countRead = in.text(field);
  } else {
    ResetToBaseLayer(fresh.layers);
    d.currentLayer = 1;
  }
  if (AsciiUpper(field).find("DIZACOLOR") != std::string::npos) {
    for (size_t i = 1; i <= 5; ++i) in.color(fresh.palette[i]);
    h.countRead = in.text(field);
  } else {
    P_InitPalette(fresh.palette);
  }
  h.objectCount = h.countRead ? RoundToInt<int64_t>(NumericPrefix(field)).value_or(0) : 0;
  return h;
}

// One object line into `w` (the working object, which keeps what a short line leaves out);
// false when the end of the file cuts into it.
bool ReadObjectLine(DesignReader& in, ObjectRecord& w, int16_t& layer, bool hasLayers,
                    bool openLastLine) {
  const long fieldsBefore = in.fieldsRead();
  in.kind(w.Kind);
  in.escapedText(w.Label);
  in.number(w.X1);
  in.number(w.Y1);
  in.number(w.X2);
  in.number(w.Y2);
  in.escapedText(w.Text);
  in.escapedText(w.Field);
  in.escapedText(w.Style);
  in.single(w.Size);
  in.integer(w.Bold);
  in.integer(w.Italic);
  in.integer(w.Strikethrough);
  in.integer(w.Underline);
  in.integer(w.Align);
  // Files without layers have 15-field lines. A design whose layer list is empty is still
  // written with colour and layer, so read them whenever the line goes on.
  const bool layered = hasLayers || in.moreOnLine();
  if (layered) {
    in.color(w.Color);
    in.integer(layer);
  } else {
    w.Color = 0;
    layer = 1;
  }
  // Short rows old versions wrote are read as they are, but a row the end of the file cuts
  // into would take its missing fields from the row before.
  return !(in.atEnd() && in.fieldsRead() - fieldsBefore < (layered ? 17 : 15) && openLastLine);
}

// The object lines: each added to the design at its place, texts and pictures measured.
// Returns how many were read; `cutOff` when the end of the file cut into the last.
int64_t ReadObjects(DesignReader& in, Design& fresh, LoadDecisions& d, const Measurers& measurers,
                    const HeaderRead& h, bool openLastLine, bool* cutOff) {
  ObjectRecord& w = d.lastObject;
  int16_t layer = 1;
  int64_t read = 0;
  for (; read < h.objectCount && !in.atEnd(); ++read) {
    const bool whole = ReadObjectLine(in, w, layer, h.layerCount >= 1, openLastLine);
    d.currentLayer = layer;
    if (!whole) {
      *cutOff = true;
      break;
    }
    BackslashAsYen(w.Label);
    if (w.Kind == ObjectKind::Text) BackslashAsYen(w.Text);
    Extent measured;
    WorkingRect place{w.X1, w.Y1, w.X2, w.Y2};
    if (IsPlacedAtPoint(w.Kind)) {
      place = {w.X1, w.Y1, w.X1, w.Y1};
      measured = w.Kind == ObjectKind::Text
                     ? MeasureText(measurers.text, w, fresh.page.scaleMode)
                     : MeasurePicture(measurers.picture, w.Text, fresh.page.scaleMode);
    }
    AddObject(fresh.objects, w, place, measured, layer);
    w.Layer = layer;
  }
  return read;
}

}  // namespace

FileStatus ParseDesign(std::string_view bytes, Design& design, const Measurers& measurers,
                       LoadDecisions* decided) {
  std::string text;
  const CodecResult rc = Cp932ToUtf8(bytes, text);
  if (!rc.ok) {
    const auto line = std::count(bytes.begin(), bytes.begin() + rc.badOffset, '\n') + 1;
    return {kErrBadEncoding,
            std::to_string(line) + " 行目にシフトJIS(コードページ932)でない文字があります。"};
  }
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    return {kErrNotADesign, "ファイルが空です。"};
  }
  DesignReader in(text);
  std::string field;
  in.text(field);
  if (AsciiUpper(TrimBlanks(field)).rfind("VERSION", 0) != 0) {
    return {kErrNotADesign, "デザインファイルではありません（1 行目が VERSION ではありません）。"};
  }

  Design fresh;
  fresh.page = design.page;
  fresh.grid = design.grid;
  fresh.palette = design.palette;
  fresh.objects.clearItems();
  fresh.layers.clearItems();
  LoadDecisions d;
  ReadPageLines(in, fresh);
  const HeaderRead h = ReadLayersAndPalette(in, fresh, d);

  // The file's last line has no line break: whatever it ends in may be cut short.
  const bool openLastLine = !text.empty() && text.back() != '\n' && text.back() != '\r';
  // A header keyword cut short ("Diza", "2Lay") reads as a count of none.
  const bool headerCut = !h.countRead || (h.objectCount == 0 && in.atEnd() && openLastLine);
  // An object line takes at least 17 fields of two bytes, so the file bounds the rows.
  fresh.objects.reserve(static_cast<int>(
      std::clamp<int64_t>(h.objectCount, 0, static_cast<int64_t>(bytes.size() / 34) + 1)));
  const std::optional<int16_t> layerBeforeObjects = d.currentLayer;
  bool cutOff = false;
  const int64_t read = ReadObjects(in, fresh, d, measurers, h, openLastLine, &cutOff);
  if (cutOff) {
    // The rows before stand as they were read; the working object is the last of them.
    if (read > 0) {
      DecodeObjectRow(d.lastObject, fresh.objects, fresh.objects.itemCount());
      d.currentLayer = d.lastObject.Layer;
    } else {
      d.lastObject = ObjectRecord{};
      d.currentLayer = layerBeforeObjects;
    }
  }
  if (headerCut) {
    d.warning = "ファイルが途中で切れています。オブジェクトの数の前で終わっています。";
  } else if (read < h.objectCount) {
    d.warning = "ファイルが途中で切れています。" + std::to_string(h.objectCount) +
                " 個のオブジェクトのうち " + std::to_string(read) + " 個を読み込みました。";
  }
  d.cutOff = !d.warning.empty();
  RenumberRows(fresh.objects);

  design = std::move(fresh);
  if (decided) *decided = std::move(d);
  return {};
}

FileStatus SaveDesign(const Design& design, const std::filesystem::path& path) {
  std::string bytes;
  FileStatus st = SerializeDesign(design, bytes);
  if (!st.ok()) return st;
  return WriteFileAtomically(path, bytes);
}

FileStatus LoadDesign(const std::filesystem::path& path, Design& design, const Measurers& measurers,
                      LoadDecisions* decided) {
  std::string bytes;
  FileStatus st = ReadWholeFile(path, bytes, kMaxDesignFileBytes);
  if (!st.ok()) return st;
  return ParseDesign(bytes, design, measurers, decided);
}

}  // namespace qf
