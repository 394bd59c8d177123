#include "qt_measure.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <QStringList>

#include "platform/qt_fonts.h"

namespace qf {

PointExtent QtTextMeasurer::measureText(const ObjectRecord& t) const {
  // A small image at 96 dpi gives the font metrics a fixed resolution on any display.
  QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
  device.setDotsPerMeterX(3780);
  device.setDotsPerMeterY(3780);
  const QFont font = MakeDesignFont(t.Style, t.Size, t.Bold != 0, t.Italic != 0,
                                    t.Strikethrough != 0, t.Underline != 0);
  const QFontMetricsF fm(font, &device);
  QString text = QString::fromStdString(t.Text);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  const QStringList lines = text.split(QLatin1Char('\n'));
  qreal width = 0;
  for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
  const qreal height = fm.height() * static_cast<qreal>(lines.size());
  const qreal toPoints = 72.0 / device.logicalDpiX();
  return {width * toPoints, height * toPoints};
}

std::optional<PointExtent> QtPictureSizer::pictureSize(std::string_view path) const {
  if (path.empty()) return std::nullopt;
  QImageReader reader(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty()) return std::nullopt;
  return PointExtent{size.width() * 0.75, size.height() * 0.75};
}

}  // namespace qf
