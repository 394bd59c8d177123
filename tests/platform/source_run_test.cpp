// The generated program, run, prints the page Print prints.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>

#include "basic/run_source.h"
#include "document/object_rows.h"
#include "platform/picture_store.h"
#include "platform/program_export.h"
#include "platform/qt_measure.h"
#include "platform/qt_printer.h"
#include "source/source_generator.h"
#include "support/random_design.h"
#include "view/printing.h"

namespace qf {
namespace {

// A random design the generator can write whole: blocks closed on their layer, texts without
// fields (a field prints the program's data, which the design does not have), pictures that
// are there.
Design PrintableDesign(unsigned seed, const TextMeasurer& measurer, const std::string& picture) {
  test::RandomDesigns r(seed);
  Design d;
  r.settings(d);
  const std::vector<int16_t> layers = r.layers(d);
  const int count = 6 + r.pick(16);
  std::vector<ObjectRecord> records;
  for (int i = 0; i < count; ++i) {
    ObjectRecord o = r.record(static_cast<ObjectKind>(1 + r.pick(6)), layers);
    if (o.Kind == ObjectKind::Command) o.Kind = ObjectKind::Line;
    if (o.Kind == ObjectKind::Picture) o.Text = picture;
    if (o.Kind == ObjectKind::Text) {
      o.Field.clear();
      if (o.Align != 0) {
        if (o.Text.find_first_of("\r\n") == std::string::npos) {
          o.Field = "\"" + P_QuoteEsc(o.Text) + "\"";
        } else {
          o.Align = 0;
        }
      }
    }
    records.push_back(o);
  }
  auto add = [&](const ObjectRecord& o) { test::RandomDesigns::Place(d, o, measurer); };
  // A repeat block around a run of one layer's objects, sometimes one inside it.
  const int16_t blockLayer = r.of(layers);
  const int from = r.pick(count);
  const int to = from + r.pick(count - from);
  ObjectRecord start;
  start.Kind = ObjectKind::Command;
  start.Text = "0";
  start.Field = "sngI";
  start.Style = r.chance(2) ? "0" : "1";
  start.X1 = 2 + r.pick(20) / 4.0;
  start.Size = static_cast<float>(1 + r.pick(4));
  start.Layer = blockLayer;
  ObjectRecord end = start;
  end.Text = "1";
  for (int i = 0; i < count; ++i) {
    if (i == from) add(start);
    ObjectRecord o = records[static_cast<size_t>(i)];
    if (i >= from && i <= to) o.Layer = blockLayer;
    add(o);
    if (i == to) add(end);
  }
  // Words pasted into a figure's hatch or style cell that name nothing: the hatch stays square
  // and fills nothing, the style draws solid, on the page and in the program alike.
  for (int row = 1; row <= d.objects.itemCount(); ++row) {
    const ObjectKind kind = KindFromName(d.objects.cell(row, kColKind));
    if (kind != ObjectKind::Box && kind != ObjectKind::Ring && kind != ObjectKind::Line) continue;
    if (r.chance(4)) d.objects.setCell(row, kColStyle, "波線");
    if (kind != ObjectKind::Line && r.chance(4)) d.objects.setCell(row, kColText, "斜線");
  }
  RenumberRows(d.objects);
  return d;
}

QImage Printed(const Design& d, PictureStore& pictures) {
  QImage page;
  auto port = QtPrinterPort::ForPdf("");
  port->previewInto(&page, 96);
  EXPECT_TRUE(PrintDesign(d, *port, pictures, nullptr));
  return page;
}

// How many figures (lines, boxes, rings, pictures) ink each pixel of the printed page.
std::vector<int> FiguresAt(const Design& d, PictureStore& pictures) {
  std::vector<int> count;
  for (int row = 1; row <= d.objects.itemCount(); ++row) {
    const ObjectKind kind = KindFromName(d.objects.cell(row, kColKind));
    if (kind == ObjectKind::Text || kind == ObjectKind::Command) continue;
    Design alone = d;
    for (int r = 1; r <= alone.objects.itemCount(); ++r) {
      if (r != row && KindFromName(alone.objects.cell(r, kColKind)) != ObjectKind::Command) {
        alone.objects.setCell(r, kColLayer, "0");  // no such layer: not printed
      }
    }
    const QImage page = Printed(alone, pictures);
    count.resize(static_cast<size_t>(page.width() * page.height()));
    for (int y = 0; y < page.height(); ++y) {
      for (int x = 0; x < page.width(); ++x) {
        count[static_cast<size_t>(y * page.width() + x)] += page.pixel(x, y) != qRgb(255, 255, 255);
      }
    }
  }
  return count;
}

// For random designs of every kind, with a block, on layers, in both variants: the generated
// program, run on the same port, prints Print's page pixel for pixel. Both ink in the mask pen,
// so where figures overlap (another figure, a fill, another pass of a block) they darken alike.
TEST(GeneratedSource, PrintsThePagePrintPrints) {
  const auto dir = std::filesystem::temp_directory_path() / "qf_source_run";
  std::filesystem::create_directories(dir);
  const std::string picture = (dir / "logo.png").string();
  QImage logo(40, 24, QImage::Format_RGB32);
  logo.fill(qRgb(40, 160, 90));
  ASSERT_TRUE(logo.save(QString::fromStdString(picture)));
  QtTextMeasurer measurer;
  QtPictureStore pictures;
  const char* env = std::getenv("QF_SOURCE_SEEDS");
  const unsigned seeds = env ? static_cast<unsigned>(std::atoi(env)) : 12;
  int overlapped = 0;
  for (unsigned seed = 1; seed <= seeds; ++seed) {
    const Design d = PrintableDesign(seed, measurer, picture);
    const QImage printed = Printed(d, pictures);
    const std::vector<int> figures = FiguresAt(d, pictures);
    overlapped += std::any_of(figures.begin(), figures.end(), [](int n) { return n > 1; });
    for (const bool sub : {true, false}) {
      const std::string source =
          sub ? P_MakeSourceSub(d, Visibility::Private) : P_MakeSource(d, Visibility::Public);
      QImage ran;
      auto port = QtPrinterPort::ForPdf("");
      port->previewInto(&ran, 96);
      const auto error = basic::RunOnPrinter(source, "F_DataPrint", *port, pictures);
      ASSERT_FALSE(error) << "seed " << seed << " line " << error->line << ": " << error->message
                          << "\n"
                          << source;
      if (ran != printed) {
        ran.save(QString::fromStdString((dir / ("ran" + std::to_string(seed) + ".png")).string()));
        printed.save(
            QString::fromStdString((dir / ("printed" + std::to_string(seed) + ".png")).string()));
      }
      EXPECT_TRUE(ran == printed) << "seed " << seed << (sub ? " sub" : " flat");
    }
  }
  EXPECT_GT(overlapped, 0);  // designs where figures overlap were met
}

// The printer a program finds: its copies reach the QPrinter (CUPS takes them from there), its
// name is a file's "PDF", and a job KillDoc dropped is neither shown nor counted by the trial
// print's preview.
TEST(GeneratedSource, CopiesDeviceNameAndADroppedJob) {
  QtPictureStore pictures;
  const auto pageOf = [&](const std::string& body, int page, int* pages) {
    ProgramRun run;
    run.name = "t.bas";
    run.source = "Sub F_DataPrint()\n" + body + "\nEnd Sub\n";
    auto port = QtPrinterPort::ForPdf("");
    QImage image;
    port->previewInto(&image, 24);
    std::string error;
    EXPECT_TRUE(PrintProgramPage(run, *port, pictures, page, pages, &error, nullptr, nullptr))
        << error;
    EXPECT_EQ(port->printer().copyCount(), body.find("Copies") != std::string::npos ? 3 : 1);
    return image;
  };
  int pages = 0;
  const QImage second = pageOf(
      "Printer.Copies = 3\nPrinter.Print Printer.DeviceName\nPrinter.EndDoc\n"
      "Printer.Print \"dropped\": Printer.NewPage: Printer.Print \"dropped\"\nPrinter.KillDoc\n"
      "Printer.Print \"kept\"",
      2, &pages);
  EXPECT_EQ(pages, 2);
  int alone = 0;
  EXPECT_TRUE(second == pageOf("Printer.Print \"kept\"", 1, &alone));
  EXPECT_FALSE(second == pageOf("Printer.Print \"dropped\"", 1, &alone));
  // The preview's printer is the default queue when there is one.
  const std::string name = QtPrinterPort::ForPdf("")->deviceName();
  EXPECT_TRUE(pageOf("Printer.Print \"" + name + "\"", 1, &alone) ==
              pageOf("Printer.Copies = 3: Printer.Print Printer.DeviceName", 1, &alone));
  const auto file = std::filesystem::temp_directory_path() / "qf_device.pdf";
  EXPECT_EQ(QtPrinterPort::ForPdf(file.string())->deviceName(), "PDF");
  // A run that stops writes no pages and says so.
  ProgramRun stops;
  stops.source = "Sub F_DataPrint()\nPrinter.Print 1 / 0\nEnd Sub\n";
  int written = 5;
  const auto out = std::filesystem::temp_directory_path() / "qf_stops.pdf";
  EXPECT_FALSE(ExportProgram(stops, pictures, out, ExportFormat::Pdf, 96, nullptr, &written).ok());
  EXPECT_EQ(written, 0);
}

}  // namespace
}  // namespace qf
