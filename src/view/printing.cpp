#include "printing.h"

#include <algorithm>
#include <utility>

#include "barcode/barcode.h"
#include "document/object_rows.h"
#include "document/typed_object.h"
#include "object_walk.h"
#include "renderer.h"
#include "view/barcode_drawing.h"

namespace qf {

void PrintObject(Surface& s, const WorkingRect& R, const ObjectRecord& o, const Design& design,
                 PictureStore& pictures) {
  DrawAsPrinted(s, R, o, design, pictures, static_cast<double>(o.Size));
}

void PrintValue(Surface& s, const WorkingRect& R, const ObjectRecord& o, std::string_view value) {
  std::string line(value);
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  const TextObject text = TextOf(o);
  s.setFont(TextFont(text, static_cast<double>(text.size)));
  s.setForeColor(text.color);
  double x = R.x2;
  if (text.align == 1 || text.align == 2) {
    const double shift = s.textWidth(text.text) - s.textWidth(line);
    x += text.align == 2 ? shift / 2 : shift;
  }
  s.setCurrentXY(x, R.y2);
  s.print(line);
}

namespace {

// Objects drawn between two questions whether to go on.
constexpr long kObjectsBetweenChecks = 1024;

enum class PageEnd { Printed, Stopped, Refused };

// The page's barcodes, placed in drawing order, asked for when the first is drawn: they are
// encoded meanwhile, while the objects before it are drawn.
using PageBarcodesAsked = std::function<const PlacedPageBarcodes&()>;

PageEnd PrintPage(Surface& page, const Design& design, PictureStore& pictures,
                  const PageValues* values, const std::function<bool()>& going,
                  const PageBarcodesAsked& barcodesOfPage) {
  size_t barcode = 0;
  long drawn = 0;
  PageEnd end = PageEnd::Printed;
  WalkObjects(design, 1, design.objects.itemCount(),
              [&](const WorkingRect& place, const ObjectRecord& o, const WalkPosition& at) {
                if (end != PageEnd::Printed) return;
                if (going && ++drawn % kObjectsBetweenChecks == 0 && !going()) {
                  end = PageEnd::Stopped;
                  return;
                }
                if (values && o.Kind == ObjectKind::Text) {
                  if (const auto v = values->value(at.row, at.pass)) {
                    PrintValue(page, place, o, *v);
                    return;
                  }
                }
                if (o.Kind == ObjectKind::Barcode) {
                  const PlacedPageBarcodes& placed = barcodesOfPage();
                  if (placed.refused) {
                    end = PageEnd::Refused;
                    return;
                  }
                  if (barcode < placed.drawings.size()) {
                    DrawPlacedBarcode(page, place, placed.drawings[barcode++], o.Color,
                                      static_cast<double>(o.Size));
                    return;
                  }
                }
                PrintObject(page, place, o, design, pictures);
              });
  if (end == PageEnd::Printed && barcodesOfPage().refused) end = PageEnd::Refused;
  return end;
}

// The design's own texts: nothing stands in for them.
class NoValues final : public PageValues {
 public:
  std::optional<std::string_view> value(int, long) const override { return std::nullopt; }
};

}  // namespace

std::optional<BarcodeRefusal> RefusedBarcode(const Design& design, const PageValues* values) {
  return PlacePageBarcodes(WithPageValues(CollectPageBarcodes(design), values),
                           design.page.scaleMode, BarcodeUse::Check)
      .refused;
}

std::string RefusalText(const BarcodeRefusal& refused) {
  return "行 " + std::to_string(refused.row) + " のバーコード" +
         (refused.field.empty() ? "" : "（「" + refused.field + "」の値）") + ": " + refused.reason;
}

bool HasBarcode(const Design& design, bool fromField) {
  const TextTable& t = design.objects;
  for (int row = 1; row <= t.itemCount(); ++row) {
    if (KindFromName(t.cell(row, kColKind)) != ObjectKind::Barcode) continue;
    if (!fromField || !t.cell(row, kColField).empty()) return true;
  }
  return false;
}

bool PrintDesign(const Design& design, PrinterPort& printer, PictureStore& pictures,
                 std::string* error, const std::function<bool()>& going,
                 const std::function<void(Surface&)>& underlay) {
  return PrintOnePage(design, printer, pictures, NoValues(), error, going, underlay);
}

bool PrintOnePage(const Design& design, PrinterPort& printer, PictureStore& pictures,
                  const PageValues& values, std::string* error, const std::function<bool()>& going,
                  const std::function<void(Surface&)>& underlay) {
  const PageValues* once = &values;
  return PrintPages(
      design, printer, pictures, [&once] { return std::exchange(once, nullptr); }, error, going,
      underlay);
}

bool PrintPages(const Design& design, PrinterPort& printer, PictureStore& pictures,
                const std::function<const PageValues*()>& next, std::string* error,
                const std::function<bool()>& going, const std::function<void(Surface&)>& underlay) {
  ApplyPrinterSetup(printer, design.page);
  bool printed = false;
  // Where the barcodes stand is found once a run; the cell test spares a design without them
  // that walk (a merged export prints each page as a run of its own).
  const std::vector<PageBarcode> designed =
      HasBarcode(design) ? CollectPageBarcodes(design) : std::vector<PageBarcode>{};
  std::optional<BarcodesAhead> ahead;
  if (!designed.empty()) ahead.emplace(design.page.scaleMode, BarcodeUse::Print);
  while (const PageValues* values = next()) {
    // The symbols are encoded while the printer finishes the page before and the objects
    // before the first barcode are drawn.
    if (ahead) ahead->start(WithPageValues(designed, values));
    std::optional<PlacedPageBarcodes> placed;
    const auto barcodesOfPage = [&]() -> const PlacedPageBarcodes& {
      if (!placed) placed = ahead ? ahead->take() : PlacedPageBarcodes{};
      return *placed;
    };
    Surface* page = printer.beginPage();
    if (!page) {
      barcodesOfPage();  // every start is followed by its take
      printer.endDoc(error);
      if (error && error->empty()) *error = "プリンターが印刷を始められません";
      return false;
    }
    if (underlay) underlay(*page);
    switch (PrintPage(*page, design, pictures, values, going, barcodesOfPage)) {
      case PageEnd::Printed:
        break;
      case PageEnd::Stopped:
        if (error) *error = "途中で止めました";
        return false;
      case PageEnd::Refused:
        // A document begun stays unfinished, so nothing of it goes anywhere.
        if (error) *error = RefusalText(*barcodesOfPage().refused);
        return false;
    }
    printed = true;
  }
  if (!printed) {
    if (error) *error = "印刷するページがありません";
    return false;
  }
  return printer.endDoc(error);
}

}  // namespace qf
