#include "sharp_picture.h"

#include <QImageReader>

namespace sessiya {

// From half-way up: at 1.5 the sharp rendition scaled down already looks better than the
// plain one scaled up.
bool wantsSharpPicture(qreal device_pixel_ratio) { return device_pixel_ratio >= 1.5; }

QString sharpPicturePath(const QString& path) {
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot <= path.lastIndexOf(u'/')) return path + QStringLiteral("@2x");
  return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

QImage readSharpPicture(const QString& path, QSize size, qreal device_pixel_ratio) {
  if (size.isEmpty() || !wantsSharpPicture(device_pixel_ratio)) return {};
  QImageReader reader(sharpPicturePath(path));
  if (reader.size() != size * kSharpRatio) return {};
  QImage sharp = reader.read();
  if (sharp.size() != size * kSharpRatio) return {};
  sharp.setDevicePixelRatio(kSharpRatio);
  return sharp;
}

}  // namespace sessiya
