#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>

namespace sessiya {

// The scene pictures as decoded from their files, each with its sharp rendition for the
// screen. A picture is decoded once and shown again from here for as long as its file
// stays the same; a file that changed, went or cannot be read is read anew each time.
class ScenePictures {
 public:
  struct Decoded {
    QImage picture;  // null where the file cannot be read
    QImage sharp;    // null where there is none for this screen
    QString error;   // why the picture cannot be read
  };

  const Decoded& read(const QString& path, qreal device_pixel_ratio);

 private:
  struct Kept {
    Decoded decoded;
    QDateTime modified;
    qint64 size = -1;
    qreal device_pixel_ratio = 0;
  };
  QHash<QString, Kept> kept_;
};

}  // namespace sessiya
