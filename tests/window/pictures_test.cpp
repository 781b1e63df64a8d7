#include <QFile>
#include <QTemporaryDir>

#include "captured_errors.h"
#include "picture_box.h"
#include "player.h"
#include "scene_catalogue.h"
#include "sharp_picture.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

// A program directory with every picture of the game, less some, plus some impostors.
class PictureFolder {
 public:
  using Replacements = std::vector<std::pair<const char*, QByteArray>>;

  explicit PictureFolder(const std::vector<const char*>& missing,
                         const Replacements& replaced = {}) {
    const QDir pictures(QStringLiteral(SESSIYA_PROGRAM_DIR));
    for (const QString& name : pictures.entryList({"*.jpg", "*.gif"}, QDir::Files)) {
      QFile::copy(pictures.filePath(name), dir_.filePath(name));
    }
    for (const char* name : missing) QFile::remove(dir_.filePath(name));
    for (const auto& [name, bytes] : replaced) {
      QFile file(dir_.filePath(name));
      if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
    }
  }
  std::filesystem::path path() const { return dir_.path().toStdString(); }

 private:
  QTemporaryDir dir_;
};

struct BrokenPictureCase {
  const char* name;
  std::vector<const char*> missing;
  PictureFolder::Replacements replaced;
  std::vector<int> presses;
  SceneId shown;
  int errors;  // lines on standard error during the last press
  bool picture_shown;
};

class BrokenPicture : public ::testing::TestWithParam<BrokenPictureCase> {};

TEST_P(BrokenPicture, TheStepCompletesAndSaysWhatIsWrongOnce) {
  const BrokenPictureCase& c = GetParam();
  PictureFolder folder(c.missing, c.replaced);
  Player player(folder.path());
  for (std::size_t i = 0; i + 1 < c.presses.size(); ++i) player.press(c.presses[i]);
  CapturedErrors errors;
  player.press(c.presses.back());

  EXPECT_EQ(player.form->story().bb(), 0);
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(c.shown)));
  EXPECT_EQ(player.caption("Label2"), text(player.form->story().screen().narrative()));
  const auto* picture = player.control<PictureBox>("Picture1");
  EXPECT_EQ(!picture->picture().isNull(), c.picture_shown);
  ASSERT_EQ(errors.lines().size(), c.errors) << errors.lines().join('\n').toStdString();
  for (const QString& line : errors.lines())
    EXPECT_TRUE(line.startsWith("sessiya: cannot show picture "));
}

INSTANTIATE_TEST_SUITE_P(
    Window, BrokenPicture,
    ::testing::Values(
        BrokenPictureCase{"MissingDefault", {"br_196.jpg"}, {}, {3}, S28, 1, false},
        BrokenPictureCase{
            "MissingDefaultUnseenUnderASceneOfItsOwn", {"br_196.jpg"}, {}, {1}, S02, 0, true},
        BrokenPictureCase{"MissingScenePicture", {"66.jpg"}, {}, {1}, S02, 1, false},
        BrokenPictureCase{
            "TextInsteadOfAPicture", {}, {{"br_196.jpg", "not a picture\n"}}, {3}, S28, 1, false},
        BrokenPictureCase{"EmptyFile", {}, {{"sob.gif", ""}}, {4, 1}, S05, 1, false},
        BrokenPictureCase{"TruncatedJpeg",
                          {},
                          {{"k5.jpg", QByteArray("\xFF\xD8\xFF\xE0", 4)}},
                          {4},
                          S32,
                          1,
                          false}),
    [](const auto& info) { return info.param.name; });

TEST(BrokenPicture, MissingGameOverPictureStillEndsTheAttempt) {
  PictureFolder folder({"k1.jpg"});
  Player player(folder.path());
  player.press(2);
  CapturedErrors errors;
  player.answer(kYes);
  player.answer(kYes);
  EXPECT_FALSE(player.dialogShown());
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S20)));
  EXPECT_FALSE(player.control("Command1")->isVisible());
  EXPECT_EQ(errors.lines().size(), 1);
}

TEST(Pictures, EachUseReadsTheFileAnew) {
  PictureFolder folder({});
  Player player(folder.path());
  player.press(1);  // S02 with its own picture
  ASSERT_FALSE(player.control<PictureBox>("Picture1")->picture().isNull());
  const QString file = QString::fromStdString(folder.path() / "66.jpg");
  QFile::remove(file);
  QFile::copy(QString::fromStdString(folder.path() / "64.jpg"), file);  // another picture
  player.menu("m_new");
  player.press(1);
  EXPECT_EQ(player.control<PictureBox>("Picture1")->picture().convertToFormat(QImage::Format_RGB32),
            QImage(file).convertToFormat(QImage::Format_RGB32));
  QFile::remove(file);
  player.menu("m_new");
  CapturedErrors errors;
  player.press(1);
  EXPECT_TRUE(player.control<PictureBox>("Picture1")->picture().isNull());
  EXPECT_EQ(errors.lines().size(), 1);
}

QByteArray fileBytes(const char* name) {
  QFile file(QStringLiteral(SESSIYA_PROGRAM_DIR "/") + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// This run's screen: ctest runs the tests below on a plain and on a double-density one.
qreal screenRatio(const QWidget* widget) {
  const qreal ratio = widget->devicePixelRatioF();
  EXPECT_TRUE(ratio == 1.0 || ratio == 2.0) << ratio;
  return ratio;
}

struct SharpPictureCase {
  const char* name;
  std::vector<const char*> missing;
  PictureFolder::Replacements replaced;
  qreal shown_ratio_plain;   // of the picture shown on a plain screen
  qreal shown_ratio_double;  // and on one of double density
  int errors;                // lines on standard error during the press
};

class SharpPicture : public ::testing::TestWithParam<SharpPictureCase> {};

TEST_P(SharpPicture, IsShownOnSharpScreensWhereItIsSoundAndThePlainOneOtherwise) {
  const SharpPictureCase& c = GetParam();
  PictureFolder folder(c.missing, c.replaced);
  Player player(folder.path());
  CapturedErrors errors;
  player.press(1);  // S02 with 66.jpg

  const auto* box = player.control<PictureBox>("Picture1");
  EXPECT_EQ(box->size(), QSize(241, 249));
  const QImage& shown = box->shownPicture();
  const qreal ratio = screenRatio(box) == 2.0 ? c.shown_ratio_double : c.shown_ratio_plain;
  EXPECT_EQ(shown.devicePixelRatio(), ratio);
  EXPECT_EQ(shown.size(), box->picture().size() * ratio);
  EXPECT_EQ(shown.deviceIndependentSize(), QSizeF(box->picture().size()));
  if (ratio == 1.0) {
    EXPECT_EQ(shown.cacheKey(), box->picture().cacheKey());
  }
  EXPECT_EQ(errors.lines().size(), c.errors) << errors.lines().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Window, SharpPicture,
    ::testing::Values(
        SharpPictureCase{"Beside", {}, {}, 1, 2, 0},
        SharpPictureCase{"Missing", {"66@2x.jpg"}, {}, 1, 1, 0},
        SharpPictureCase{"TextInsteadOfAPicture", {}, {{"66@2x.jpg", "not a picture\n"}}, 1, 1, 0},
        SharpPictureCase{
            "TruncatedJpeg", {}, {{"66@2x.jpg", QByteArray("\xFF\xD8\xFF\xE0", 4)}}, 1, 1, 0},
        SharpPictureCase{"PlainSize", {}, {{"66@2x.jpg", fileBytes("66.jpg")}}, 1, 1, 0},
        // The plain picture is the one of record: without it nothing is shown.
        SharpPictureCase{"PlainMissing", {"66.jpg"}, {}, 1, 1, 1}),
    [](const auto& info) { return info.param.name; });

TEST(SharpPicture, LiesBesideThePlainOneUnderItsNameWithAt2x) {
  const std::pair<const char*, const char*> names[] = {{"/game/k1.jpg", "/game/k1@2x.jpg"},
                                                       {":/start.jpg", ":/start@2x.jpg"},
                                                       {"/game.d/picture", "/game.d/picture@2x"}};
  for (const auto& [plain, sharp] : names) EXPECT_EQ(sharpPicturePath(plain), sharp) << plain;
}

// The layout and the cut-off stay as they are: the box keeps its size on screen and shows
// the top of the picture, pixel for pixel of the screen.
TEST(SharpPicture, IsDrawnAtTheSizeOfThePlainOneAndAtTheScreensResolution) {
  Player player;
  player.pressAll({3, 1});  // S03: the tall br_131.jpg in a tall box
  const auto* box = player.control<PictureBox>("Picture1");
  ASSERT_EQ(box->size(), QSize(241, 349));
  const QPixmap drawn = const_cast<PictureBox*>(box)->grab();
  EXPECT_EQ(drawn.deviceIndependentSize(), QSizeF(box->size()));
  const QImage& shown = box->shownPicture();
  ASSERT_EQ(shown.devicePixelRatio(), screenRatio(box));
  ASSERT_EQ(drawn.size(), shown.size());
  QImage drawn_pixels = drawn.toImage().convertToFormat(QImage::Format_RGB32);
  QImage shown_pixels = shown.convertToFormat(QImage::Format_RGB32);
  drawn_pixels.setDevicePixelRatio(1);
  shown_pixels.setDevicePixelRatio(1);
  EXPECT_EQ(drawn_pixels, shown_pixels);
}

TEST(SharpPicture, StartAndDialogPicturesHaveTheirsCompiledIn) {
  Player player;
  const auto* start = player.control<PictureBox>("Picture1");
  EXPECT_EQ(start->shownPicture().size(), QSize(221, 154) * screenRatio(start));
  player.press(2);
  ASSERT_TRUE(player.dialogShown());
  const auto* dialog = player.form->dialog()->findChild<PictureBox*>("Picture1");
  EXPECT_EQ(dialog->shownPicture().size(), QSize(286, 205) * screenRatio(dialog));
}

}  // namespace
}  // namespace sessiya::testing
