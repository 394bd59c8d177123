#include "platform/qt_measure.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <filesystem>
#include <fstream>

#include "platform/qt_fonts.h"

namespace qf {
namespace {

ObjectRecord Text(const char* text, float size, const char* font = "ＭＳ ゴシック") {
  ObjectRecord r;
  r.Kind = ObjectKind::Text;
  r.Text = text;
  r.Size = size;
  r.Style = font;
  return r;
}

TEST(QtTextMeasurer, MeasuresInPointsIndependentOfTheDisplay) {
  const QtTextMeasurer m;
  const PointExtent three = m.measureText(Text("あいう", 12));
  // Full-width characters are one em wide.
  EXPECT_NEAR(three.width, 36, 3.6);
  EXPECT_GT(three.height, 12);
  EXPECT_LT(three.height, 24);

  const PointExtent six = m.measureText(Text("あいうえおか", 12));
  EXPECT_NEAR(six.width, 2 * three.width, 1);

  const PointExtent big = m.measureText(Text("あいう", 24));
  EXPECT_NEAR(big.width, 2 * three.width, 2);

  // Lines of a text with line breaks stack; the widest line counts.
  const PointExtent twoLines = m.measureText(Text("あいう\r\nあ", 12));
  EXPECT_NEAR(twoLines.width, three.width, 0.5);
  EXPECT_NEAR(twoLines.height, 2 * three.height, 0.5);

  // An unknown font or a zero size still measures something sensible.
  const PointExtent unknown = m.measureText(Text("abc", 0, "No Such Font 123"));
  EXPECT_GT(unknown.width, 0);
  EXPECT_EQ(m.measureText(Text("", 12)).width, 0);
}

// A Windows name is asked for by the families that stand in for it, in their order, so the font
// database need not match the name itself; any other name is asked for as it is.
TEST(MakeDesignFont, WindowsNamesGoStraightToTheirStandIns) {
  const auto families = [](const char* name) {
    return qf::MakeDesignFont(name, 9, false, false, false, false).families();
  };
  EXPECT_EQ(families("ＭＳ 明朝"), (QStringList{"IPAMincho", "Noto Serif CJK JP"}));
  EXPECT_EQ(families("MS PGothic").value(0), QStringLiteral("IPAPGothic"));
  for (const char* name : {"Nimbus Sans", "ＭＳ  明朝", "ms mincho", ""}) {
    EXPECT_EQ(families(name), QStringList{QString::fromUtf8(name)}) << name;
  }
}

// The windows' font keeps the platform's size and style, in one face that has every script of
// the captions: Latin, half-width and full-width kana, kanji.
TEST(UiFont, OneFaceForEveryCaption) {
  QFont platform(QStringLiteral("DejaVu Sans"));
  platform.setPointSizeF(10.5);
  platform.setItalic(true);
  const QFont ui = qf::UiFont(platform);
  EXPECT_EQ(ui.family(), QStringLiteral("IPAPGothic"));
  EXPECT_EQ(ui.pointSizeF(), 10.5);
  EXPECT_TRUE(ui.italic());
  QFont upright = ui;
  upright.setItalic(false);
  EXPECT_EQ(QFontInfo(upright).family(), QStringLiteral("IPAPGothic"));
  const QFontMetrics fm(upright);
  for (const char32_t c : {U'A', U'9', U'ﾌ', U'ァ', U'ぁ', U'選', U'：'}) {
    EXPECT_TRUE(fm.inFontUcs4(c)) << static_cast<unsigned>(c);
  }
}

// CR LF, a lone CR and a lone LF each end a line, however they follow each other.
TEST(TextLines, EachBreakEndsALine) {
  EXPECT_EQ(qf::TextLines(QStringLiteral("a\rb\r\nc\nd\n\r")),
            (QStringList{"a", "b", "c", "d", "", ""}));
}

TEST(QtPictureSizer, ReadsTheSizeAt96DotsPerInch) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("qf_picture_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  QImage image(96, 48, QImage::Format_RGB32);
  image.fill(Qt::white);
  ASSERT_TRUE(image.save(QString::fromStdString((dir / "p.png").string())));
  ASSERT_TRUE(image.save(QString::fromStdString((dir / "p.bmp").string())));
  ASSERT_TRUE(image.save(QString::fromStdString((dir / "p.jpg").string())));
  std::ofstream(dir / "broken.png") << "not a picture";

  const QtPictureSizer sizer;
  for (const char* name : {"p.png", "p.bmp", "p.jpg"}) {
    const auto size = sizer.pictureSize((dir / name).string());
    ASSERT_TRUE(size.has_value()) << name;
    EXPECT_DOUBLE_EQ(size->width, 72);
    EXPECT_DOUBLE_EQ(size->height, 36);
  }
  EXPECT_FALSE(sizer.pictureSize((dir / "broken.png").string()).has_value());
  EXPECT_FALSE(sizer.pictureSize((dir / "missing.png").string()).has_value());
  EXPECT_FALSE(sizer.pictureSize("").has_value());
  // A pipe is not opened (opening it would wait for a writer for ever), nor is a folder.
  const fs::path fifo = dir / "pipe.png";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(sizer.pictureSize(fifo.string()).has_value());
  EXPECT_FALSE(sizer.pictureSize(dir.string()).has_value());
  fs::remove_all(dir);
}

}  // namespace
}  // namespace qf

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  qf::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
