#include "printing.h"

#include "object_walk.h"
#include "renderer.h"

namespace qf {

void PrintObject(Surface& s, const WorkingRect& R, const ObjectRecord& o, const Design& design,
                 PictureStore& pictures) {
  switch (o.Kind) {
    case ObjectKind::Text:
      s.setCurrentXY(R.x2, R.y2);
      s.setFont(TextFont(o, static_cast<double>(o.Size)));
      s.setForeColor(o.Color);
      s.print(o.Text);
      break;
    case ObjectKind::Line:
    case ObjectKind::Box:
    case ObjectKind::Ring:
      DrawFigure(s, R, o, design.palette, DrawMode::MaskPen, o.Color);
      break;
    case ObjectKind::Picture: {
      const Picture* pic = pictures.picture(o.Text);
      if (!pic) break;
      const Extent e = PictureExtent(*pic, design.page.scaleMode);
      s.setDrawMode(DrawMode::MaskPen);
      s.paintPicture(*pic, R.x2, R.y2, e.width, e.height,
                     o.Style == "0" ? RasterOp::SrcCopy : RasterOp::SrcAnd);
      s.setDrawMode(DrawMode::CopyPen);
      break;
    }
    case ObjectKind::Command:
    case ObjectKind::None:
    default:
      break;
  }
}

bool PrintDesign(const Design& design, PrinterPort& printer, PictureStore& pictures,
                 std::string* error) {
  ApplyPrinterSetup(printer, design.page);
  Surface* page = printer.beginPage();
  if (!page) {
    printer.endDoc(error);
    if (error && error->empty()) *error = "the printer cannot start printing";
    return false;
  }
  WalkObjects(design, 1, design.objects.itemCount(),
              [&](const WorkingRect& place, const ObjectRecord& o) {
                PrintObject(*page, place, o, design, pictures);
              });
  return printer.endDoc(error);
}

}  // namespace qf
