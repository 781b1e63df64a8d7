#include <QFile>
#include <QFontDatabase>
#include <QImageReader>
#include <QSet>
#include <map>

#include "player.h"
#include "scene_catalogue.h"
#include "sharp_picture.h"
#include "window_look.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

// A JPEG's frame header: whether it is baseline (SOF0) and how many colour components.
struct JpegFrame {
  bool baseline = false;
  int components = 0;
};

JpegFrame jpegFrame(const QByteArray& jpeg) {
  for (qsizetype at = 2; at + 9 < jpeg.size();) {
    if (static_cast<unsigned char>(jpeg[at]) != 0xFF) return {};
    const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
    const int length =
        (static_cast<unsigned char>(jpeg[at + 2]) << 8) | static_cast<unsigned char>(jpeg[at + 3]);
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      return {marker == 0xC0, static_cast<unsigned char>(jpeg[at + 9])};
    }
    at += 2 + length;
  }
  return {};
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void expectBaselineRgbJpeg(const QString& path, QSize size) {
  SCOPED_TRACE(path.toStdString());
  QImageReader reader(path);
  EXPECT_EQ(reader.format(), "jpeg");
  EXPECT_EQ(reader.size(), size);
  const JpegFrame frame = jpegFrame(contents(path));
  EXPECT_TRUE(frame.baseline);
  EXPECT_EQ(frame.components, 3);
}

TEST(Artwork, EveryScenePictureLiesBesideTheProgramInItsFormatAndSize) {
  std::map<std::string_view, QSize> pictures{{kDefaultPicture, {241, 249}}};
  for (const Scene& entry : kSceneCatalogue) {
    if (!entry.picture.empty()) pictures[entry.picture] = {241, entry.tall ? 349 : 249};
  }
  ASSERT_EQ(pictures.size(), 19u);
  for (const auto& [reference, size] : pictures) {
    const QString name = text(reference.substr(1));
    const QString plain = QStringLiteral(SESSIYA_PROGRAM_DIR "/") + name;
    // and its sharp rendition beside it, in the same format at twice the size
    for (const auto& [path, path_size] :
         {std::pair{plain, size}, std::pair{sharpPicturePath(plain), size * 2}}) {
      SCOPED_TRACE(path.toStdString());
      QImageReader reader(path);
      EXPECT_EQ(reader.format(), name.endsWith(".gif") ? "gif" : "jpeg");
      EXPECT_EQ(reader.size(), path_size);
      EXPECT_EQ(reader.imageCount(), 1);
      EXPECT_FALSE(reader.read().isNull());
      if (name.endsWith(".jpg")) expectBaselineRgbJpeg(path, path_size);
    }
  }
}

TEST(Artwork, StartAndDialogPicturesAreBaselineJpegs) {
  applyWindowLook();  // registers the compiled-in resources
  expectBaselineRgbJpeg(QStringLiteral(":/start.jpg"), {221, 154});
  expectBaselineRgbJpeg(QStringLiteral(":/dialog.jpg"), {286, 205});
  expectBaselineRgbJpeg(QStringLiteral(":/start@2x.jpg"), {442, 308});
  expectBaselineRgbJpeg(QStringLiteral(":/dialog@2x.jpg"), {572, 410});
}

TEST(Artwork, ShippedFontsServeMachinesWithoutThem) {
  applyWindowLook();
  for (const char* file :
       {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"}) {
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    ASSERT_GE(id, 0) << file;
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(id), QStringList{"Liberation Sans"}) << file;
    QFontDatabase::removeApplicationFont(id);
  }
}

TEST(Artwork, IconIsThirtyTwoPixelsInSixteenColours) {
  applyWindowLook();
  QImageReader reader(QStringLiteral(":/icon.ico"));
  const QImage icon = reader.read();
  EXPECT_EQ(icon.size(), QSize(32, 32));
  QSet<QRgb> colours;
  for (int y = 0; y < icon.height(); ++y) {
    for (int x = 0; x < icon.width(); ++x) colours.insert(icon.pixel(x, y));
  }
  EXPECT_LE(colours.size(), 17);  // sixteen colours and the transparent mask
}

TEST(Artwork, HandCursorPointsWithItsFingertip) {
  applyWindowLook();
  const QCursor cursor = handCursor();
  EXPECT_EQ(cursor.hotSpot(), QPoint(12, 1));
  const QImage hand = cursor.pixmap().toImage();
  ASSERT_EQ(hand.size(), QSize(32, 32));
  for (int x = 0; x < hand.width(); ++x) EXPECT_EQ(qAlpha(hand.pixel(x, 0)), 0) << x;
  EXPECT_EQ(qAlpha(hand.pixel(12, 1)), 255);
}

}  // namespace
}  // namespace sessiya::testing
