#include <QPushButton>
#include <QTimer>

#include "player.h"
#include "scene_catalogue.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

QString focused() {
  return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// A key typed on the opening scene and the scene it leads to (S01 stays for the dialog).
struct KeyCase {
  const char* name;
  const char16_t* typed;
  SceneId shown;
  bool dialog;
};

class OptionKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(OptionKey, ChoosesInReadingOrder) {
  const KeyCase& c = GetParam();
  Player player;
  player.type(QString::fromUtf16(c.typed));
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(c.shown)));
  EXPECT_EQ(player.dialogShown(), c.dialog);
  EXPECT_EQ(player.form->story().hod(), 1);
  EXPECT_EQ(player.form->story().bb(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Window, OptionKey,
    ::testing::Values(KeyCase{"Digit1", u"1", S02, false}, KeyCase{"Digit2", u"2", S28, false},
                      KeyCase{"Digit3", u"3", S01, true}, KeyCase{"Digit4", u"4", S32, false},
                      KeyCase{"CyrillicA", u"а", S02, false}, KeyCase{"CapitalA", u"А", S02, false},
                      KeyCase{"LatinA", u"a", S02, false}, KeyCase{"CyrillicBe", u"б", S28, false},
                      KeyCase{"CyrillicVe", u"в", S01, true}, KeyCase{"LatinB", u"B", S01, true},
                      KeyCase{"CyrillicGe", u"г", S32, false}),
    [](const auto& info) { return info.param.name; });

TEST(Keyboard, AKeyForAHiddenOptionDoesNothing) {
  Player player;
  player.type("1");  // S02 hides option 4
  for (const char16_t* typed : {u"4", u"г", u"7", u"x"}) player.type(QString::fromUtf16(typed));
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S02)));
  EXPECT_EQ(player.form->story().hod(), 1);
}

TEST(Keyboard, ArrowsWalkTheVisibleGridAndEnterOrSpacePresses) {
  Player player;
  EXPECT_EQ(focused(), "Command1");
  const std::pair<Qt::Key, const char*> walk[] = {
      {Qt::Key_Right, "Command3"}, {Qt::Key_Down, "Command4"},
      {Qt::Key_Left, "Command2"},  {Qt::Key_Down, "Command2"},  // the grid ends
      {Qt::Key_Up, "Command1"},    {Qt::Key_Left, "Command1"}};
  for (const auto& [arrow, expected] : walk) {
    player.typeKey(arrow);
    EXPECT_EQ(focused(), expected);
  }
  player.typeKey(Qt::Key_Right);
  player.typeKey(Qt::Key_Return);  // option 3: the phone poll
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S28)));
  EXPECT_EQ(focused(), "Command1");

  player.typeKey(Qt::Key_Down);
  player.typeKey(Qt::Key_Right);  // option 4 is hidden in S28: the focus stays
  EXPECT_EQ(focused(), "Command2");
  player.typeKey(Qt::Key_Space);  // option 2 on move 2 in S28: the institute of poisons
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S18)));
  EXPECT_EQ(player.form->story().hod(), 2);
}

// Keys go to the active window: once the dialog is answered, the game's again.
TEST(Keyboard, KeysAfterTheDialogReachTheWindow) {
  Player player;
  player.press(2);
  player.answer(kNo);
  ASSERT_FALSE(player.dialogShown());
  player.type("1");  // option 1 on move 2: abroad
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S05)));
}

TEST(Keyboard, MenuShortcuts) {
  Player player;
  player.type("2");
  player.typeKey(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
  EXPECT_EQ(player.form->story().hod(), 0);
  QTimer::singleShot(0, [&] { player.typeKey(Qt::Key_Q, Qt::ControlModifier); });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QApplication::exec(), 0);
}

TEST(Keyboard, DialogAnswersEnterOnItsFocusedButton) {
  Player player;
  player.type("3");
  Form2* dialog = player.form->dialog();
  ASSERT_TRUE(player.dialogShown());
  activate(dialog);
  auto enter = [] {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
  };
  ASSERT_EQ(focused(), "Command1");
  enter();
  EXPECT_EQ(dialog->findChild<QLabel*>("Label1")->text(), "Вы уверены?");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(focused(), "Command2");
  enter();
  EXPECT_FALSE(player.dialogShown());
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
}

}  // namespace
}  // namespace sessiya::testing
