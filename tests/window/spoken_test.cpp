#include <QAccessible>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include "announcer.h"
#include "player.h"
#include "spoken_scene.h"

namespace sessiya::testing {
namespace {

// The notification a window shows for a screen reader, and what it says; empty while hidden.
// Every window has one, so a window without it fails rather than says nothing.
QString notice(QWidget* window) {
  auto* shown = window->findChild<QWidget*>("SpokenNotice");
  EXPECT_NE(shown, nullptr) << "no notice in " << window->objectName().toStdString();
  if (shown == nullptr || !shown->isVisible()) return {};
  EXPECT_EQ(shown->size(), QSize(0, 0));  // nothing a sighted player sees
  const QAccessibleInterface* read = QAccessible::queryAccessibleInterface(shown);
  EXPECT_EQ(read->role(), QAccessible::Notification);
  return read->text(QAccessible::Name);
}

QString spokenScreen(const Player& player) {
  return text(spokenScene(player.form->story().screen()));
}

const QString kCue = text(attemptOverCue("Ctrl+N или пункт «Новая попытка» меню «Файл»"));

// A screen reader listens throughout these cases.
class Spoken : public ::testing::Test {
 protected:
  void SetUp() override { Announcer::assumeListener(true); }
  void TearDown() override { Announcer::assumeListener(false); }
};

// What every notice of a window shows at the moment.
QStringList allNotices(QWidget* window) {
  QStringList said;
  for (QWidget* shown : window->findChildren<SpokenNotice*>()) {
    if (shown->isVisible())
      said << QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name);
  }
  return said;
}

// Without one no notice is ever shown; one that attaches hears the very next move, and a
// menu's title as it opens.
TEST(SpokenWithoutReader, NothingIsNotifiedUntilOneAttaches) {
  ASSERT_FALSE(Announcer::listened());
  const QByteArray config = qgetenv("XDG_CONFIG_HOME");
  QTemporaryDir no_endings_yet;
  qputenv("XDG_CONFIG_HOME", no_endings_yet.path().toLocal8Bit());
  Player player;
  qputenv("XDG_CONFIG_HOME", config);
  player.type("1");
  auto* endings = player.control<QMenu>("m_endings");
  emit endings->aboutToShow();
  EXPECT_EQ(allNotices(player.form.get()), QStringList());
  Announcer::assumeListener(true);
  player.typeKey(Qt::Key_N, Qt::ControlModifier);
  EXPECT_TRUE(notice(player.form.get()).startsWith(spokenScreen(player)));
  emit endings->aboutToShow();
  EXPECT_TRUE(allNotices(player.form.get()).contains(QStringLiteral("Концовки: 0 из 14")));
  Announcer::assumeListener(false);
}

TEST_F(Spoken, AMoveUnderTheSameFocusIsNotified) {
  Player player;
  ASSERT_EQ(QApplication::focusWidget(), player.control("Command1"));
  player.type("1");
  EXPECT_EQ(QApplication::focusWidget(), player.control("Command1"));
  EXPECT_EQ(notice(player.form.get()), spokenScreen(player) + " А. Набрать номер");
  player.typeKey(Qt::Key_N, Qt::ControlModifier);  // the same scene again is said again
  EXPECT_TRUE(notice(player.form.get()).startsWith(spokenScreen(player)));
}

TEST_F(Spoken, AFocusChangeIsLeftToTheReader) {
  Player player;
  player.typeKey(Qt::Key_Right);
  player.typeKey(Qt::Key_Return);  // option 3 from its own button: the focus goes to option 1
  EXPECT_EQ(QApplication::focusWidget(), player.control("Command1"));
  EXPECT_EQ(player.control("Command1")->accessibleDescription(), spokenScreen(player));
  EXPECT_EQ(notice(player.form.get()), QString());
}

TEST_F(Spoken, AnEndingGivesTheFocusToThePlayingSurfaceWithTheCue) {
  Player player;
  player.pressAll({3, 1});  // the phone poll, then the drink that lasts till the call-up
  QWidget* surface = player.form->centralWidget();
  EXPECT_EQ(QApplication::focusWidget(), surface);
  EXPECT_TRUE(surface->isVisible());
  EXPECT_EQ(surface->accessibleDescription(), spokenScreen(player) + " " + kCue);
  player.menu("m_new");
  EXPECT_EQ(QApplication::focusWidget(), player.control("Command1"));
  EXPECT_EQ(surface->accessibleDescription(), QString());
}

TEST_F(Spoken, TheGameOverIsReadWhenTheMainWindowComesBack) {
  Player player;
  player.press(2);
  player.answer(kYes);
  player.answer(kYes);
  EXPECT_EQ(player.form->centralWidget()->accessibleDescription(),
            spokenScreen(player) + " " + kCue);
  EXPECT_EQ(player.form->focusWidget(), player.form->centralWidget());
  // Said once, by the focus the window gets back, and not before as well.
  EXPECT_EQ(notice(player.form.get()), QString());
}

TEST_F(Spoken, OpeningTheDialogLeavesTheSceneUnsaid) {
  Player player;
  player.type("3");
  ASSERT_TRUE(player.dialogShown());
  EXPECT_EQ(notice(player.form.get()), QString());
}

TEST_F(Spoken, TheSecondQuestionIsNotifiedAndForgottenWithTheDialog) {
  Player player;
  player.press(2);
  Form2* dialog = player.form->dialog();
  activate(dialog);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(notice(dialog), "Вы уверены? Да!");
  player.answer(kNo);
  player.menu("m_new");
  player.press(2);
  ASSERT_TRUE(player.dialogShown());
  EXPECT_EQ(notice(dialog), QString());  // shown with the dialog, it would be read again
}

}  // namespace
}  // namespace sessiya::testing
