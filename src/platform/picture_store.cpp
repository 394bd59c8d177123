#include "picture_store.h"

#include <sys/stat.h>

#include <QImageReader>
#include <QPainter>

namespace qf {

namespace {
// Decoded pictures kept at most; past it the store starts afresh.
constexpr long long kMaxCachedBytes = 512LL << 20;
}  // namespace

QtPicture::QtPicture(QImage image) : image_(std::move(image)) {}

const QImage& QtPicture::scaled(const QSize& size) const {
  if (size == image_.size()) return image_;
  if (scaled_->size() != size) {
    *scaled_ = image_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                   .convertToFormat(QImage::Format_RGB32);
  }
  return *scaled_;
}

const Picture* QtPictureStore::picture(std::string_view path) {
  if (path.empty()) return nullptr;
  const std::string key(path);
  struct stat st {};
  if (::stat(key.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  const long long mtime =
      static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  auto it = entries_.find(key);
  if (it != entries_.end() && it->second.size == st.st_size && it->second.mtimeNs == mtime) {
    return it->second.picture.get();
  }

  ++decodes_;
  QImageReader reader(QString::fromStdString(key));
  QImage decoded = reader.read();
  Entry entry;
  entry.size = st.st_size;
  entry.mtimeNs = mtime;
  if (!decoded.isNull()) {
    // Pictures are drawn opaque: transparent areas show white, as on paper.
    QImage opaque(decoded.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter p(&opaque);
    p.drawImage(0, 0, decoded);
    p.end();
    if (cachedBytes_ + opaque.sizeInBytes() > kMaxCachedBytes) {
      entries_.clear();
      cachedBytes_ = 0;
    }
    cachedBytes_ += opaque.sizeInBytes();
    entry.picture = std::make_unique<QtPicture>(std::move(opaque));
  }
  auto& slot = entries_[key];
  if (slot.picture) cachedBytes_ -= slot.picture->image().sizeInBytes();
  slot = std::move(entry);
  return slot.picture.get();
}

}  // namespace qf
