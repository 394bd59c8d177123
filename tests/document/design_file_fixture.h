#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "document/cp932.h"
#include "document/design_file.h"
#include "document/object_rows.h"
#include "support/fake_measure.h"
#include "support/temp_folder.h"

namespace qf {

inline std::string ToCp932(std::string_view utf8) {
  std::string out;
  EXPECT_TRUE(Utf8ToCp932(utf8, out).ok);
  return out;
}

inline std::string ToUtf8(std::string_view cp932) {
  std::string out;
  EXPECT_TRUE(Cp932ToUtf8(cp932, out).ok);
  return out;
}

inline void WriteBytes(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class DesignFileTest : public test::TempFolderTest {
 protected:
  // Parses UTF-8 text written as the file would be.
  FileStatus parse(std::string_view utf8, Design& d, LoadDecisions& s) {
    return ParseDesign(ToCp932(utf8), d, measurers_.get(), &s);
  }
  std::string serialize(const Design& d) {
    std::string bytes;
    EXPECT_TRUE(SerializeDesign(d, bytes).ok());
    return ToUtf8(bytes);
  }
  // Adds an object as a dialog and a drag would, a text measured.
  void add(Design& d, const ObjectRecord& r, WorkingRect rect) {
    const Extent size =
        r.Kind == ObjectKind::Text ? MeasureText(measurers_.text, r, d.page.scaleMode) : Extent{};
    AddObject(d.objects, r, rect, size, 1);
  }

  test::FakeMeasurers measurers_;
};

inline constexpr std::string_view kPageLine = "9,1,6,15,10,10,10,-1,5,5\r\n";

}  // namespace qf
