#pragma once

#include <QImage>
#include <QString>

namespace sessiya {

// A picture's sharp rendition is the same picture at twice the width and height, in the
// file "NAME@2x.EXT" beside "NAME.EXT". Screens of high pixel density show it in the
// picture's place, at the same size on screen.
inline constexpr qreal kSharpRatio = 2.0;

bool wantsSharpPicture(qreal device_pixel_ratio);

QString sharpPicturePath(const QString& path);

// The sharp rendition of the picture at `path`, whose own size is `size`, for a screen of
// `device_pixel_ratio`. Null where the screen does not want it or the file is missing,
// unreadable or not exactly twice the size: the picture itself is shown then.
QImage readSharpPicture(const QString& path, QSize size, qreal device_pixel_ratio);

}  // namespace sessiya
