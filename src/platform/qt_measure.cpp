#include "qt_measure.h"

#include <sys/stat.h>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <QStringList>

#include "document/typed_object.h"
#include "platform/qt_fonts.h"
#include "platform/raster_surface.h"

namespace qf {

QtTextMeasurer::QtTextMeasurer() : device_(ScreenImage(1, 1)) {}

const QFontMetricsF& QtTextMeasurer::metricsFor(const ObjectRecord& record) const {
  const TextObject t = TextOf(record);
  FontKey key{t.font, t.size, t.bold, t.italic, t.strikethrough, t.underline};
  auto it = metrics_.find(key);
  if (it != metrics_.end()) return it->second;
  if (metrics_.size() >= 64) metrics_.clear();
  QFont font = MakeDesignFont(t.font, t.size, t.bold, t.italic, t.strikethrough, t.underline);
  // The design window draws texts aliased; measuring the same font lets both share one loaded
  // font engine.
  font.setStyleStrategy(QFont::NoAntialias);
  return metrics_.emplace(std::move(key), QFontMetricsF(font, &device_)).first->second;
}

PointExtent QtTextMeasurer::measureText(const ObjectRecord& t) const {
  const QFontMetricsF& fm = metricsFor(t);
  const QStringList lines = TextLines(QString::fromStdString(t.Text));
  qreal width = 0;
  for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
  const qreal height = fm.height() * static_cast<qreal>(lines.size());
  const qreal toPoints = 72.0 / device_.logicalDpiX();
  return {width * toPoints, height * toPoints};
}

std::optional<PointExtent> QtPictureSizer::pictureSize(std::string_view path) const {
  if (path.empty()) return std::nullopt;
  // Only regular files: a design naming a pipe or a device must not hang or read for ever.
  struct stat st {};
  if (::stat(std::string(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  QImageReader reader(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty()) return std::nullopt;
  return PointExtent{size.width() * 0.75, size.height() * 0.75};
}

}  // namespace qf
