#include <QFile>
#include <QImageReader>
#include <QPushButton>
#include <QTemporaryDir>
#include <limits>

#include "captured_errors.h"
#include "picture_box.h"
#include "player.h"
#include "scene_catalogue.h"
#include "without_file_privileges.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

// Plays to the drink ending and back to a new attempt: five steps that read pictures.
void playToAnEndingAndBack(Player& player) {
  player.pressAll({3, 1});
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S03)));
  EXPECT_FALSE(player.control("Command1")->isVisible());
  player.menu("m_new");
  player.press(1);
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S02)));
  EXPECT_EQ(player.form->story().bb(), 0);
}

TEST(Faults, AMissingPictureIsReportedOnceHoweverOftenItIsNeeded) {
  QTemporaryDir folder;
  QFile::copy(SESSIYA_PROGRAM_DIR "/66.jpg", folder.filePath("66.jpg"));
  CapturedErrors errors;
  Player player(folder.path().toStdString());
  playToAnEndingAndBack(player);
  // The default and br_131.jpg are missing; 66.jpg is there and shown.
  EXPECT_EQ(errors.lines().size(), 2) << errors.lines().join('\n').toStdString();
  EXPECT_FALSE(player.control<PictureBox>("Picture1")->picture().isNull());
}

TEST(Faults, APictureInAnotherFormatIsShownByWhatItHolds) {
  QTemporaryDir folder;
  for (const char* name : {"br_196.jpg", "br_131.jpg"}) {
    QFile::copy(QStringLiteral(SESSIYA_PROGRAM_DIR "/") + name, folder.filePath(name));
  }
  QFile::copy(SESSIYA_PROGRAM_DIR "/sob.gif", folder.filePath("66.jpg"));  // a GIF named .jpg
  CapturedErrors errors;
  Player player(folder.path().toStdString());
  playToAnEndingAndBack(player);
  EXPECT_EQ(player.control<PictureBox>("Picture1")->picture().size(),
            QImageReader(SESSIYA_PROGRAM_DIR "/sob.gif").size());
  EXPECT_TRUE(errors.lines().isEmpty()) << errors.lines().join('\n').toStdString();
}

// Picture folders that cannot be read at all: the story plays on without pictures.
struct LostFolderCase {
  const char* name;
  std::function<QString(const QTemporaryDir&)> make;
  bool needs_permissions;
};

class LostFolder : public ::testing::TestWithParam<LostFolderCase> {};

TEST_P(LostFolder, TheStoryPlaysOnWithoutPictures) {
  if (GetParam().needs_permissions && rerunWithoutFilePrivileges()) return;
  QTemporaryDir scratch;
  const QString folder = GetParam().make(scratch);
  CapturedErrors errors;
  {
    Player player(folder.toStdString());
    playToAnEndingAndBack(player);
    EXPECT_TRUE(player.control<PictureBox>("Picture1")->picture().isNull());
  }
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(errors.lines().size(), 3) << errors.lines().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Window, LostFolder,
    ::testing::Values(
        LostFolderCase{"Missing",
                       [](const QTemporaryDir& scratch) { return scratch.filePath("gone"); },
                       false},
        LostFolderCase{"AFileInstead",
                       [](const QTemporaryDir& scratch) {
                         QFile file(scratch.filePath("file"));
                         if (file.open(QIODevice::WriteOnly)) file.write("not a folder");
                         return file.fileName();
                       },
                       false},
        LostFolderCase{"Unreadable",
                       [](const QTemporaryDir& scratch) {
                         for (const char* name : {"br_196.jpg", "br_131.jpg", "66.jpg"}) {
                           QFile::copy(QStringLiteral(SESSIYA_PROGRAM_DIR "/") + name,
                                       scratch.filePath(name));
                         }
                         QFile::setPermissions(scratch.path(), QFile::WriteOwner);
                         return scratch.path();
                       },
                       true}),
    [](const auto& info) { return info.param.name; });

TEST(Faults, MovesPastTheTopOfTheCountGoOn) {
  QTemporaryDir no_pictures;  // nothing to decode keeps the many presses quick
  CapturedErrors errors;
  Player player(no_pictures.path().toStdString());
  player.press(2);  // the dialog: every option stays on offer
  player.form->dialog()->hide();
  auto* option4 = player.control<QPushButton>("Command4");
  constexpr int kTop = std::numeric_limits<std::int16_t>::max();
  while (player.form->story().hod() < kTop) option4->click();  // past its only move: no rule
  const QStringList before = errors.lines();
  for (int press = 0; press < 3; ++press) player.press(4);
  EXPECT_EQ(player.form->story().hod(), kTop);
  EXPECT_EQ(player.form->story().bb(), 0);
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
  EXPECT_TRUE(option4->isVisible());
  ASSERT_EQ(errors.lines().size(), 2) << errors.lines().join('\n').toStdString();
  EXPECT_TRUE(errors.lines()[1].contains("32767"));
  EXPECT_EQ(before, errors.lines());  // said once, when the top was reached
}

}  // namespace
}  // namespace sessiya::testing
