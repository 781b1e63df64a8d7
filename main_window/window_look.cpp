#include "window_look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPixmap>
#include <QStyleFactory>

// The window's resources live in a static library: register them explicitly.
static void initWindowResources() { Q_INIT_RESOURCE(window); }

namespace sessiya {
namespace {

const char* const kFamily = "Liberation Sans";

QFont font(int pixel_size, bool bold) {
  QFont font(kFamily);
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

}  // namespace

void applyWindowLook() {
  static const bool installed = [] {
    initWindowResources();
    // The shipped copy is registered only where the system lacks the family: parsing a
    // font file is the dearest part of the start, and the installed one wraps the same.
    if (!QFontDatabase::families().contains(QLatin1String(kFamily))) {
      QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"));
      QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Bold.ttf"));
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(dialogFont());
    return true;
  }();
  Q_UNUSED(installed);
}

QFont dialogFont() { return font(11, false); }
QFont mailLinkFont() { return font(13, true); }
QFont websiteLinkFont() { return font(16, true); }

QCursor handCursor() { return QCursor(QPixmap(QStringLiteral(":/hand.png")), 12, 1); }

}  // namespace sessiya
