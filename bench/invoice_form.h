#pragma once

// The form the printing benchmarks print: mostly figures, a block of 30 rounded boxes with a
// rule and a field each, a stamp ring, a hatched header and a few header fields.
#include <filesystem>
#include <fstream>
#include <string>

#include "document/object_rows.h"

namespace qf::bench {

inline qf::ObjectRecord Record(qf::ObjectKind kind, const std::string& text,
                               const std::string& field, const std::string& style, float size) {
  qf::ObjectRecord r;
  r.Kind = kind;
  r.Label = "o";
  r.Text = text;
  r.Field = field;
  r.Style = style;
  r.Size = size;
  return r;
}

inline qf::Design Form() {
  qf::Design d;
  d.palette = {qf::Rgb(224, 224, 224), qf::Rgb(192, 192, 192), qf::Rgb(160, 160, 160),
               qf::Rgb(128, 128, 128), qf::Rgb(96, 96, 96),    qf::Rgb(255, 255, 255)};
  auto add = [&d](const qf::ObjectRecord& r, qf::WorkingRect at) {
    qf::AddObject(d.objects, r, at, {20, 5}, 1);
  };
  using K = qf::ObjectKind;
  add(Record(K::Box, "2", "", "0", 1), {15, 10, 195, 22});  // the hatched header
  add(Record(K::Text, "請求書", "", "ＭＳ ゴシック", 18), {20, 12, 20, 12});
  add(Record(K::Text, "顧客名", "rs!顧客名", "ＭＳ 明朝", 12), {20, 26, 20, 26});
  qf::ObjectRecord stamp = Record(K::Ring, "0", "", "0", 3);
  stamp.Color = qf::Rgb(255, 0, 0);
  add(stamp, {165, 24, 185, 44});
  qf::ObjectRecord start = Record(K::Command, "0", "sngI", "0", 29);  // 30 passes
  start.Label = "明細";
  start.X1 = 7;
  add(start, {7, 0, 0, 0});
  add(Record(K::Box, "0", "1.500", "0", 1), {15, 50, 195, 56});  // a rounded box
  add(Record(K::Line, "", "", "0", 1), {15, 56.5, 195, 56.5});
  add(Record(K::Text, "品名", "Items(sngI).品名", "ＭＳ 明朝", 9), {18, 51, 18, 51});
  qf::ObjectRecord end = start;
  end.Text = "1";
  add(end, {7, 0, 0, 0});
  return d;
}

// Thirty records a page, one for each pass of the block.
inline void WriteRecords(const std::filesystem::path& path, long pages) {
  std::ofstream out(path, std::ios::binary);
  out << "顧客名,品名\r\n";
  for (long i = 0; i < pages * 30; ++i) out << "顧客" << i / 30 << ",品目 " << i << "\r\n";
}

}  // namespace qf::bench
