// The C# the program writes prints the page: compiled with Mono's mcs, run under mono with a
// harness that draws F_DataPrint into a bitmap at 150 dpi, its page is the export's page.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "document/design_file.h"
#include "document/object_rows.h"
#include "platform/page_export.h"
#include "platform/picture_store.h"
#include "platform/qt_measure.h"
#include "source/csharp_generator.h"
#include "support/random_design.h"
#include "support/temp_folder.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

constexpr int kDpi = 150;
const fs::path kHarness = fs::path(QF_TEST_DATA) / "csharp";

bool HaveMono() {
  return std::system("command -v mcs >/dev/null && command -v mono >/dev/null") == 0;
}

// The design with only its figures and pictures, or only its texts (repeat blocks kept).
Design Only(const Design& d, bool texts) {
  Design out = d;
  for (int row = out.objects.itemCount(); row >= 1; --row) {
    const ObjectKind kind = KindFromName(out.objects.cell(row, kColKind));
    if (kind == ObjectKind::Command) continue;
    if ((kind == ObjectKind::Text) != texts) out.objects.removeRow(row);
  }
  return out;
}

// Every inked pixel of `a` that has no inked pixel within `reach` pixels in `b`.
int Unreached(const QImage& a, const QImage& b, int reach, int* inked) {
  const auto ink = [](const QImage& page, int x, int y) {
    return page.valid(x, y) && qGray(page.pixel(x, y)) < 245;
  };
  int missing = 0;
  *inked = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (!ink(a, x, y)) continue;
      ++*inked;
      bool found = false;
      for (int dy = -reach; dy <= reach && !found; ++dy) {
        for (int dx = -reach; dx <= reach && !found; ++dx) found = ink(b, x + dx, y + dy);
      }
      missing += found ? 0 : 1;
    }
  }
  return missing;
}

// Repeat blocks as the editor makes them: each closed on its own layer. (A block left open
// runs on into the next layer on the page; the program closes it with its layer.)
void WellFormedBlocks(Design& d) {
  std::map<std::string, std::vector<int>> open;  // by layer: the starts of the blocks open
  std::vector<int> unmatched;
  for (int row = 1; row <= d.objects.itemCount(); ++row) {
    if (KindFromName(d.objects.cell(row, kColKind)) != ObjectKind::Command) continue;
    std::vector<int>& starts = open[d.objects.cell(row, kColLayer)];
    if (d.objects.cell(row, kColText) == "0") {
      starts.push_back(row);
    } else if (starts.empty()) {
      unmatched.push_back(row);
    } else {
      starts.pop_back();
    }
  }
  for (const auto& [layer, starts] : open)
    unmatched.insert(unmatched.end(), starts.begin(), starts.end());
  std::sort(unmatched.rbegin(), unmatched.rend());
  for (const int row : unmatched) d.objects.removeRow(row);
}

class CSharpRun : public test::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    if (!HaveMono()) GTEST_SKIP() << "no mcs and mono";
  }

  struct Pages {
    QImage ours;
    QImage theirs;
  };

  // The export's pages and the C# program's, for the figures and the texts of the design.
  std::pair<Pages, Pages> pages(const Design& design, const std::string& name) {
    const Design figures = Only(design, false);
    const Design texts = Only(design, true);
    std::pair<Pages, Pages> out;
    ExportOptions options;
    options.dpi = kDpi;
    const fs::path figuresPng = dir_ / (name + "_figures.png");
    const fs::path textsPng = dir_ / (name + "_texts.png");
    EXPECT_TRUE(ExportDesign(figures, pictures_, figuresPng, ExportFormat::Png, options).ok());
    EXPECT_TRUE(ExportDesign(texts, pictures_, textsPng, ExportFormat::Png, options).ok());
    out.first.ours = QImage(QString::fromStdString(figuresPng.string()));
    out.second.ours = QImage(QString::fromStdString(textsPng.string()));

    const fs::path figuresCs = dir_ / (name + "_figures.cs");
    const fs::path textsCs = dir_ / (name + "_texts.cs");
    std::ofstream(figuresCs, std::ios::binary) << P_MakeCSharp(figures, "QfFigures");
    std::ofstream(textsCs, std::ios::binary) << P_MakeCSharp(texts, "QfTexts");
    const fs::path exe = dir_ / (name + ".exe");
    const std::string compile = "mcs -nologo -r:System.Drawing -out:" + exe.string() + " " +
                                (kHarness / "harness.cs").string() + " " + figuresCs.string() +
                                " " + textsCs.string() + " > " + (dir_ / "mcs.log").string() +
                                " 2>&1";
    EXPECT_EQ(std::system(compile.c_str()), 0) << ReadBytes(dir_ / "mcs.log");
    const fs::path theirsFigures = dir_ / (name + "_cs_figures.png");
    const fs::path theirsTexts = dir_ / (name + "_cs_texts.png");
    const std::string run = "FONTCONFIG_FILE=" + (kHarness / "fonts.conf").string() + " mono " +
                            exe.string() + " " + std::to_string(out.first.ours.width()) + " " +
                            std::to_string(out.first.ours.height()) + " " + std::to_string(kDpi) +
                            " QfFigures " + theirsFigures.string() + " QfTexts " +
                            theirsTexts.string();
    EXPECT_EQ(std::system(run.c_str()), 0);
    out.first.theirs = QImage(QString::fromStdString(theirsFigures.string()));
    out.second.theirs = QImage(QString::fromStdString(theirsTexts.string()));
    return out;
  }

  // Figures within a pixel both ways; each text's ink within half a millimetre.
  void expectSamePage(const Design& design, const std::string& name) {
    const auto [figures, texts] = pages(design, name);
    ASSERT_FALSE(figures.theirs.isNull()) << name;
    ASSERT_EQ(figures.ours.size(), figures.theirs.size()) << name;
    int inked = 0;
    int missing = Unreached(figures.ours, figures.theirs, 1, &inked);
    EXPECT_LE(missing, inked / 200 + 20) << name << ": figures the program leaves out";
    missing = Unreached(figures.theirs, figures.ours, 1, &inked);
    EXPECT_LE(missing, inked / 200 + 20) << name << ": figures the program adds";
    const int halfMm = kDpi * 5 / 254 + 1;
    missing = Unreached(texts.ours, texts.theirs, halfMm, &inked);
    EXPECT_LE(missing, inked / 100 + 20) << name << ": texts the program leaves out or moves";
    missing = Unreached(texts.theirs, texts.ours, halfMm, &inked);
    EXPECT_LE(missing, inked / 100 + 20) << name << ": texts the program adds or moves";
  }

  QtPictureStore pictures_;
};

TEST_F(CSharpRun, TheProgramPrintsTheFixturesPages) {
  for (const char* name : {"golden", "invoice", "kanji"}) {
    Design design;
    const QtTextMeasurer measurer;
    const QtPictureSizer sizer;
    ASSERT_TRUE(LoadDesign((fs::path(QF_TEST_DATA) / (std::string(name) + ".qfd")).string(), design,
                           {measurer, sizer})
                    .ok())
        << name;
    expectSamePage(design, name);
  }
}

TEST_F(CSharpRun, TheProgramPrintsRandomDesignsInEveryUnit) {
  const QtTextMeasurer measurer;
  QImage logo(40, 24, QImage::Format_RGB32);
  logo.fill(Qt::white);
  for (int y = 4; y < 20; ++y) {
    for (int x = 4; x < 36; ++x) logo.setPixel(x, y, qRgb(0, 0, 160));
  }
  const std::string pic = (dir_ / "logo.png").string();
  ASSERT_TRUE(logo.save(QString::fromStdString(pic)));
  for (unsigned seed = 1; seed <= 4; ++seed) {
    test::RandomDesigns random(seed * 7);
    Design d = random.design(30, measurer);
    for (int row = 1; row <= d.objects.itemCount(); ++row) {
      if (KindFromName(d.objects.cell(row, kColKind)) == ObjectKind::Picture) {
        d.objects.setCell(row, kColText, pic);
      }
    }
    WellFormedBlocks(d);
    expectSamePage(d, "random" + std::to_string(seed));
  }
}

}  // namespace
}  // namespace qf
