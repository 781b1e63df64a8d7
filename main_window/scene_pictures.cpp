#include "scene_pictures.h"

#include <QFileInfo>
#include <QImageReader>

#include "sharp_picture.h"

namespace sessiya {

const ScenePictures::Decoded& ScenePictures::read(const QString& path, qreal device_pixel_ratio) {
  const QFileInfo file(path);
  Kept& kept = kept_[path];
  const bool same_file = file.exists() && kept.size == file.size() &&
                         kept.modified == file.lastModified() && !kept.decoded.picture.isNull();
  if (same_file && kept.device_pixel_ratio == device_pixel_ratio) return kept.decoded;
  QImageReader reader(path);
  const QImage picture = reader.read();
  kept = {{picture, readSharpPicture(path, picture.size(), device_pixel_ratio),
           picture.isNull() ? reader.errorString() : QString()},
          file.lastModified(),
          file.exists() ? file.size() : -1,
          device_pixel_ratio};
  return kept.decoded;
}

}  // namespace sessiya
