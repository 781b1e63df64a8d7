#include <QTimer>

#include "player.h"
#include "scene_catalogue.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

QString question(const Player& player) {
  return player.form->dialog()->findChild<QLabel*>("Label1")->text();
}

TEST(Dialog, OpensOnAnswerBAndKeepsTheOpeningScene) {
  Player player;
  player.press(2);
  ASSERT_TRUE(player.dialogShown());
  EXPECT_EQ(question(player), "Итак ответ B?");
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
  EXPECT_TRUE(player.control("Command4")->isVisible());
  EXPECT_EQ(player.form->story().hod(), 1);
}

TEST(Dialog, TwoYesesEndTheAttempt) {
  Player player;
  player.press(2);
  player.answer(kYes);
  EXPECT_EQ(question(player), "Вы уверены?");
  // A screen reader hears the question with the dialog and with its "Да!" button.
  EXPECT_EQ(player.form->dialog()->accessibleDescription(), "Вы уверены?");
  EXPECT_EQ(player.form->dialog()->findChild<QWidget*>("Command1")->accessibleDescription(),
            "Вы уверены?");
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
  player.answer(kYes);
  EXPECT_FALSE(player.dialogShown());
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S20)));
  EXPECT_EQ(player.caption("Label2"), text(*scene(S20).narrative));
  for (const char* name :
       {"Label3", "Label4", "Label5", "Label6", "Command1", "Command2", "Command3", "Command4"}) {
    EXPECT_FALSE(player.control(name)->isVisible()) << name;
  }
  EXPECT_EQ(player.control("Picture1")->height(), 349);

  player.menu("m_new");
  player.press(2);  // a new attempt asks from the start again
  EXPECT_TRUE(player.dialogShown());
  EXPECT_EQ(question(player), "Итак ответ B?");
}

// "Не-а! Я пошутил!" and Escape, which acts as the close box.
void decline(Player& player, bool by_escape) {
  if (!by_escape) return player.answer(kNo);
  activate(player.form->dialog());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  QCoreApplication::processEvents();
}

TEST(Dialog, DecliningAtEitherStageOnlyHidesIt) {
  for (const bool by_escape : {false, true}) {
    for (int yeses = 0; yeses < 2; ++yeses) {
      SCOPED_TRACE(by_escape ? "Escape" : "Не-а!");
      Player player;
      player.press(2);
      for (int i = 0; i < yeses; ++i) player.answer(kYes);
      decline(player, by_escape);
      EXPECT_FALSE(player.dialogShown());
      EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
      EXPECT_EQ(player.form->story().hod(), 1);
      player.press(2);  // move 2 on the opening scene: the bought diploma
      EXPECT_EQ(player.caption("Label1"), text(sceneKey(S19)));
    }
  }
}

TEST(Dialog, GoingBackToTheMainWindowAsksAgain) {
  Player player;
  player.press(2);
  player.answer(kYes);
  activate(player.form.get());  // a click into the main window
  player.answer(kYes);
  EXPECT_TRUE(player.dialogShown());
  EXPECT_EQ(question(player), "Вы уверены?");
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
}

// What reaches the program between the first "Да!" and the next one, in the order a
// window system may deliver it.
enum class Delivered {
  kMainActivated,
  kMainPressed,
  kDialogActivated,
  kYesClicked,
  kLeftProgram,
  kDialogMinimised,
  kShownInactive,  // B again on a new attempt; the window system keeps the main window active
};

struct ActivationCase {
  const char* name;
  std::vector<Delivered> events;
  bool ends;  // the last "Да!" is the second one in a row: the game-over
};

class DialogActivation : public ::testing::TestWithParam<ActivationCase> {};

TEST_P(DialogActivation, CountsTheWindowThePlayerPressedIn) {
  Player player;
  player.press(2);
  player.answer(kYes);
  Form2* dialog = player.form->dialog();
  for (Delivered event : GetParam().events) {
    switch (event) {
      case Delivered::kMainActivated:
        QApplication::setActiveWindow(player.form.get());
        break;
      case Delivered::kMainPressed:  // on the bare window, below the frame
        QTest::mouseClick(player.form->windowHandle(), Qt::LeftButton, {}, QPoint(100, 150));
        break;
      case Delivered::kDialogActivated:
        QApplication::setActiveWindow(dialog);
        break;
      case Delivered::kYesClicked:
        QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {}, kYes.pixels().center());
        break;
      case Delivered::kLeftProgram:
        QApplication::setActiveWindow(nullptr);
        break;
      case Delivered::kDialogMinimised:
        dialog->setWindowState(dialog->windowState() | Qt::WindowMinimized);
        break;
      case Delivered::kShownInactive:
        player.menu("m_new");
        player.form->showDialog();
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(player.form.get());
        break;
    }
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(player.dialogShown(), !GetParam().ends);
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(GetParam().ends ? S20 : S01)));
  if (!GetParam().ends) {
    EXPECT_EQ(question(player), "Вы уверены?");
  }
}

using enum Delivered;
INSTANTIATE_TEST_SUITE_P(
    Window, DialogActivation,
    ::testing::Values(
        ActivationCase{"ActivationsBeforeClicks",
                       {kMainActivated, kMainPressed, kDialogActivated, kYesClicked},
                       false},
        ActivationCase{"ActivationsAfterClicks",
                       {kMainPressed, kMainActivated, kYesClicked, kDialogActivated},
                       false},
        ActivationCase{"NoActivationAtAll", {kMainPressed, kYesClicked}, false},
        ActivationCase{
            "BackFromAnotherProgram", {kLeftProgram, kDialogActivated, kYesClicked}, true},
        ActivationCase{
            "ClickedBackFromAnotherProgram", {kLeftProgram, kYesClicked, kDialogActivated}, true},
        ActivationCase{
            "ShownAgainWithoutActivation", {kYesClicked, kShownInactive, kYesClicked}, false},
        ActivationCase{
            "ShownAgainWhileMinimised", {kDialogMinimised, kShownInactive, kYesClicked}, false}),
    [](const auto& info) { return info.param.name; });

TEST(Dialog, GameOverReplacesMovesMadeWhileItWaited) {
  Player player;
  player.press(2);
  player.pressAll({3, 1});  // the companion from the newspaper, then the friends' poll
  ASSERT_EQ(player.caption("Label1"), text(sceneKey(S28)));
  ASSERT_TRUE(player.dialogShown());
  const std::int16_t hod = player.form->story().hod();
  player.answer(kYes);
  player.answer(kYes);
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S20)));
  EXPECT_EQ(player.form->story().hod(), hod);
}

TEST(Dialog, ANewAttemptLeavesItWhereItIs) {
  Player player;
  player.press(2);
  player.answer(kYes);
  player.menu("m_new");
  EXPECT_TRUE(player.dialogShown());
  EXPECT_EQ(player.form->dialog()->stage(), 1);
}

TEST(Dialog, TheCloseBoxActsAsNo) {
  Player player;
  player.press(2);
  player.form->dialog()->close();
  QCoreApplication::processEvents();
  EXPECT_FALSE(player.dialogShown());
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
  player.press(4);  // no rule for option 4 on move 2: the opening texts stay
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
}

// Runs `act` inside the event loop and reports whether it ended the program.
bool endsTheProgram(const std::function<void()>& act) {
  QTimer::singleShot(0, act);
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
  return QApplication::exec() == 0;
}

TEST(Dialog, ExitCreatesItHiddenAndEndsTheProgram) {
  Player player;
  ASSERT_EQ(player.form->dialog(), nullptr);
  EXPECT_TRUE(endsTheProgram([&] { player.menu("m_end"); }));
  ASSERT_NE(player.form->dialog(), nullptr);
  EXPECT_FALSE(player.dialogShown());
}

TEST(Dialog, ClosingTheMainWindowHidesItAndEndsTheProgram) {
  Player player;
  player.press(2);
  ASSERT_TRUE(player.dialogShown());
  EXPECT_TRUE(endsTheProgram([&] { player.form->close(); }));
  EXPECT_FALSE(player.dialogShown());
}

}  // namespace
}  // namespace sessiya::testing
