#include <QFile>
#include <QTemporaryDir>

#include "captured_errors.h"
#include "picture_box.h"
#include "player.h"
#include "scene_catalogue.h"

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
  QFile::remove(QString::fromStdString(folder.path() / "66.jpg"));
  player.menu("m_new");
  CapturedErrors errors;
  player.press(1);
  EXPECT_TRUE(player.control<PictureBox>("Picture1")->picture().isNull());
  EXPECT_EQ(errors.lines().size(), 1);
}

}  // namespace
}  // namespace sessiya::testing
