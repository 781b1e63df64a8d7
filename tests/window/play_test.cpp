#include <QImageReader>
#include <QPushButton>

#include "picture_box.h"
#include "player.h"
#include "scene_catalogue.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

const char* const kOptionControls[] = {"Label3",   "Label4",   "Label5",   "Label6",
                                       "Command1", "Command2", "Command3", "Command4"};

QSize pictureFileSize(std::string_view reference) {
  return QImageReader(QStringLiteral(SESSIYA_PROGRAM_DIR "/") + text(reference.substr(1))).size();
}

TEST(Play, StartsWithTheOpeningSceneAndTheStartPicture) {
  Player player;
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
  EXPECT_EQ(player.caption("Label6"), text(*scene(S01).options[3]));
  for (const char* name : kOptionControls) EXPECT_TRUE(player.control(name)->isVisible()) << name;
  const auto* picture = player.control<PictureBox>("Picture1");
  EXPECT_EQ(picture->picture().size(), QSize(221, 154));
  EXPECT_EQ(picture->height(), 249);
  EXPECT_EQ(QApplication::focusWidget(), player.control("Command1"));
}

TEST(Play, AnEndingLeavesOnlyTheMenu) {
  Player player;
  player.pressAll({3, 1});  // the phone poll, then the drink that lasts till the call-up
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S03)));
  for (const char* name : kOptionControls) EXPECT_FALSE(player.control(name)->isVisible()) << name;
  const auto* picture = player.control<PictureBox>("Picture1");
  EXPECT_EQ(picture->height(), 349);
  EXPECT_EQ(picture->picture().size(), pictureFileSize("\\br_131.jpg"));

  // Where the buttons stood there is nothing left to press.
  for (int option = 1; option <= 4; ++option) player.press(option);
  EXPECT_EQ(player.form->story().hod(), 2);
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S03)));

  player.menu("m_new");
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
  for (const char* name : kOptionControls) EXPECT_TRUE(player.control(name)->isVisible()) << name;
  EXPECT_EQ(picture->height(), 249);
  EXPECT_EQ(picture->picture().size(), pictureFileSize("\\br_196.jpg"));
  player.press(1);
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S02)));
  EXPECT_EQ(player.form->story().hod(), 1);
}

TEST(Play, EveryPressShowsTheSceneTheStoryHolds) {
  Player player;
  player.pressAll({1, 1, 1, 1, 2, 1, 1, 2});  // through the tests to the bar, by a redirect
  const ScreenState& screen = player.form->story().screen();
  EXPECT_EQ(screen.key(), sceneKey(S22));
  const char* labels[] = {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(player.caption(labels[i]), text(screen.captions[i]));
  EXPECT_TRUE(player.control("Command2")->isVisible());
  EXPECT_FALSE(player.control("Command3")->isVisible());
  EXPECT_FALSE(player.control("Label5")->isVisible());
  EXPECT_EQ(player.control<PictureBox>("Picture1")->picture().size(), pictureFileSize("\\5oi.gif"));
}

TEST(Play, ATallPictureCoversTheRightHandOptionTexts) {
  Player player;
  player.pressAll({1, 1, 1, 3, 2});  // the canteen, then the run for the toilet: tall S15
  ASSERT_EQ(player.caption("Label1"), text(sceneKey(S15)));
  QWidget* area = player.form->centralWidget();
  // Label5 starts at 368 px; the picture box covers it from 432 px on, down to 349 px.
  EXPECT_EQ(area->childAt(440, 290)->objectName(), "Picture1");
  EXPECT_EQ(area->childAt(440, 340)->objectName(), "Picture1");
  player.menu("m_new");
  EXPECT_EQ(area->childAt(440, 290)->objectName(), "Label5");
}

}  // namespace
}  // namespace sessiya::testing
