#include "view/page_recording.h"

#include <gtest/gtest.h>

#include "support/fake_measure.h"
#include "support/random_design.h"
#include "support/recording_port.h"
#include "view/printing.h"

namespace qf {
namespace {

TEST(PageRecording, ReplaysEveryCallAsDrawnAndMeasuresThroughItsTarget) {
  test::RandomDesigns random(28);
  test::FakePictures pictures;
  const test::FakeTextMeasurer measurer;
  for (int round = 0; round < 8; ++round) {
    const Design design = random.design(40, measurer);
    test::RecordingSurface direct;
    test::RecordingPort directPort(direct);
    directPort.keepsItsPage = true;
    ASSERT_TRUE(PrintDesign(design, directPort, pictures, nullptr));

    int measured = 0;
    PageRecording recording(0.1, 0.1, [&measured](const FontSpec&, std::string_view text) {
      ++measured;
      return static_cast<double>(text.size());
    });
    test::RecordingPort recordingPort(recording);
    recordingPort.keepsItsPage = true;
    ASSERT_TRUE(PrintDesign(design, recordingPort, pictures, nullptr));
    test::RecordingSurface replayed;
    recording.replay(replayed);
    EXPECT_EQ(replayed.calls, direct.calls) << "round " << round;
    EXPECT_EQ(recording.fillColor(), direct.fillColor());
  }
  PageRecording measuring(1, 1, [](const FontSpec& f, std::string_view text) {
    return f.pointSize * static_cast<double>(text.size());
  });
  measuring.setFont({"ＭＳ 明朝", 12});
  EXPECT_EQ(measuring.textWidth("abc"), 36);
  measuring.setFont({"ＭＳ 明朝", 10});
  EXPECT_EQ(measuring.textWidth("abcd"), 40);
}

TEST(PageRecording, OnlyMidTonesMeetingInAChannelNeedComposing) {
  EXPECT_EQ(MidToneChannels(Rgb(0, 255, 0)), 0u);
  EXPECT_EQ(MidToneChannels(Rgb(1, 255, 0)), 1u);
  EXPECT_EQ(MidToneChannels(Rgb(0, 254, 0)), 2u);
  EXPECT_EQ(MidToneChannels(Rgb(255, 0, 128)), 4u);
  EXPECT_EQ(MidToneChannels(Rgb(224, 224, 224)), 7u);
  // The byte above blue is no channel of ink.
  EXPECT_EQ(MidToneChannels(static_cast<int32_t>(0x80000000u)), 0u);
  EXPECT_EQ(MidToneChannels(static_cast<int32_t>(0x7F0000FFu)), 0u);

  struct Case {
    const char* what;
    int32_t first;
    int32_t second;
    double secondLeft;  // the second box's left edge; the first spans 0..10
    bool hatchBoth;     // both boxes hatched with their colour (outlines black), else outlines
    bool composed;
  };
  const Case cases[] = {
      {"black over a grey hatch", Rgb(160, 160, 160), 0, 5, false, false},
      {"red over blue", Rgb(255, 0, 0), Rgb(0, 0, 255), 5, false, false},
      {"white over grey", Rgb(128, 128, 128), Rgb(255, 255, 255), 5, false, false},
      {"grey rule over a grey hatch", Rgb(224, 224, 224), Rgb(128, 128, 128), 5, false, true},
      {"the same grey twice", Rgb(160, 160, 160), Rgb(160, 160, 160), 5, false, true},
      {"mid-tones in different channels", Rgb(128, 255, 0), Rgb(0, 255, 128), 5, false, false},
      {"grey hatches overlapping", Rgb(192, 192, 192), Rgb(160, 160, 160), 9, true, true},
      {"grey hatches sharing an edge", Rgb(192, 192, 192), Rgb(160, 160, 160), 10, true, false},
      {"grey hatches apart", Rgb(192, 192, 192), Rgb(160, 160, 160), 30, true, false},
  };
  for (const Case& c : cases) {
    PageRecording page(0.01, 0.01, nullptr);
    page.setDrawMode(DrawMode::MaskPen);
    page.setDrawWidth(3);
    if (c.hatchBoth) {
      page.setFillStyle(FillStyle::Solid);
      page.setFillColor(c.first);
      page.box(0, 0, 10, 10, 0, false);
      page.setFillColor(c.second);
      page.box(c.secondLeft, 0, c.secondLeft + 10, 10, 0, false);
    } else {
      page.setFillStyle(FillStyle::Solid);
      page.setFillColor(c.first);
      page.box(0, 0, 10, 10, 0, false);
      page.setFillStyle(FillStyle::Transparent);
      page.line(c.secondLeft, -5, c.secondLeft, 15, c.second);
    }
    EXPECT_EQ(page.needsComposing(), c.composed) << c.what;
  }

  // Grey hatches sharing an edge on each side of the first do not meet; a unit further in, they
  // do.
  for (const auto& [dx, dy] : {std::pair{10, 0}, {-10, 0}, {0, 10}, {0, -10}}) {
    for (const int in : {0, 1}) {
      PageRecording page(0.01, 0.01, nullptr);
      page.setFillStyle(FillStyle::Solid);
      page.setFillColor(Rgb(192, 192, 192));
      page.box(0, 0, 10, 10, 0, false);
      page.setFillColor(Rgb(160, 160, 160));
      const double x = dx - (dx > 0 ? in : dx < 0 ? -in : 0);
      const double y = dy - (dy > 0 ? in : dy < 0 ? -in : 0);
      page.box(x, y, x + 10, y + 10, 0, false);
      EXPECT_EQ(page.needsComposing(), in == 1) << dx << "," << dy << " in " << in;
    }
  }

  // A grey outline around its own grey inside is one drawing; rings and pictures count too.
  PageRecording own(0.01, 0.01, nullptr);
  own.setFillStyle(FillStyle::Solid);
  own.setFillColor(Rgb(200, 200, 200));
  own.box(0, 0, 10, 10, Rgb(100, 100, 100), false);
  own.circle(40, 40, 5, Rgb(100, 100, 100), 1, std::nullopt, std::nullopt);
  EXPECT_FALSE(own.needsComposing());
  test::FakePictures::Pic logo;
  own.paintPicture(logo, 30, 30, 20, 20, RasterOp::SrcCopy);
  EXPECT_TRUE(own.needsComposing());
  // A box filled with its own colour ("BF") is that colour alone: the fill colour left from
  // before is no ink of it.
  PageRecording filled(0.01, 0.01, nullptr);
  filled.setFillStyle(FillStyle::Solid);
  filled.setFillColor(Rgb(128, 128, 128));
  filled.box(0, 0, 10, 10, 0, true);
  filled.line(5, -5, 5, 15, Rgb(90, 90, 90));
  EXPECT_FALSE(filled.needsComposing());
  // What a clear wipes out overlaps nothing drawn after it.
  PageRecording cleared(0.01, 0.01, nullptr);
  cleared.paintPicture(logo, 0, 0, 20, 20, RasterOp::SrcAnd);
  cleared.clear();
  cleared.line(0, 0, 20, 20, Rgb(90, 90, 90));
  EXPECT_FALSE(cleared.needsComposing());
  // Pens reach past their ends: a wide grey line just beside a grey rule meets it.
  PageRecording pens(0.1, 0.1, nullptr);
  pens.setDrawWidth(9);
  pens.line(0, 0, 0, 10, Rgb(90, 90, 90));
  pens.line(0.5, 0, 0.5, 10, Rgb(90, 90, 90));
  EXPECT_TRUE(pens.needsComposing());
  PageRecording thin(0.1, 0.1, nullptr);
  thin.line(0, 0, 0, 10, Rgb(90, 90, 90));
  thin.line(0.5, 0, 0.5, 10, Rgb(90, 90, 90));
  EXPECT_FALSE(thin.needsComposing());
}

}  // namespace
}  // namespace qf
