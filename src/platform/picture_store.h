#pragma once

#include <QImage>
#include <QSize>
#include <map>
#include <memory>
#include <string>

#include "view/surface.h"

namespace qf {

// A decoded picture on white (transparent areas become white), with its last scaled copy so
// that drawing it again at the same size costs no rescaling. Its copies share the pixels and
// the scaled copy: a program that loads a picture for each of thousands of objects scales it
// once.
class QtPicture final : public Picture {
 public:
  explicit QtPicture(QImage image);
  double widthPoints() const override { return image_.width() * 0.75; }
  double heightPoints() const override { return image_.height() * 0.75; }
  std::shared_ptr<const Picture> copy() const override {
    return std::shared_ptr<const Picture>(new QtPicture(image_, scaled_));
  }
  const QImage& image() const { return image_; }
  const QImage& scaled(const QSize& size) const;

 private:
  QtPicture(QImage image, std::shared_ptr<QImage> scaled)
      : image_(std::move(image)), scaled_(std::move(scaled)) {}

  QImage image_;
  std::shared_ptr<QImage> scaled_ = std::make_shared<QImage>();
};

// Decodes picture files (BMP, GIF, JPEG, PNG) and keeps them by path, file size and
// modification time, so a redraw does not decode them again but a changed file is read anew.
// A file that cannot be read is remembered too and not opened again until it changes.
class QtPictureStore final : public PictureStore {
 public:
  const Picture* picture(std::string_view path) override;
  // Files decoded so far, for tests and benchmarks.
  int decodes() const { return decodes_; }

 private:
  struct Entry {
    long long size = -1;
    long long mtimeNs = 0;
    std::unique_ptr<QtPicture> picture;  // null when the file is not a picture
  };
  std::map<std::string, Entry, std::less<>> entries_;
  long long cachedBytes_ = 0;
  int decodes_ = 0;
};

}  // namespace qf
