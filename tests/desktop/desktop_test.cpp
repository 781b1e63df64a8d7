// The windows on a real X server, as the window system and the player's hand deliver events:
// the published titles, and the dialog's activation with real, fast clicks, with another
// program in between.
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QProcess>

#include "player.h"
#include "scene_catalogue.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

xcb_connection_t* connection() {
  return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t atom(const char* name) {
  const auto cookie = xcb_intern_atom(connection(), 0, static_cast<uint16_t>(strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
      xcb_intern_atom_reply(connection(), cookie, nullptr), &free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// A text property of the window as the window manager reads it.
std::string property(QWidget* window, const char* name) {
  QCoreApplication::processEvents();
  const auto cookie = xcb_get_property(connection(), 0, static_cast<xcb_window_t>(window->winId()),
                                       atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
      xcb_get_property_reply(connection(), cookie, nullptr), &free);
  if (!reply) return "<no reply>";
  return {static_cast<const char*>(xcb_get_property_value(reply.get())),
          static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

void waitForWindowSystem() {
  QTest::qWait(150);
  QCoreApplication::processEvents();
}

// A real click through the X server: press and release at once, as a quick hand does.
void realClick(QPoint global) {
  ASSERT_EQ(QProcess::execute(
                QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(global.x()),
                 QString::number(global.y()), QStringLiteral("click"), QStringLiteral("1")}),
            0);
  waitForWindowSystem();
}

// `area` is the client area the place is measured in.
void realClick(QWidget* area, const Place& place) {
  realClick(area->mapToGlobal(place.pixels().center()));
}

// A point of the main window's bare background that the dialog does not cover.
QPoint bareMainWindowPoint(const Player& player) {
  const QRect dialog = player.form->dialog()->frameGeometry();
  for (QPoint local : {QPoint(8, 40), QPoint(player.form->width() - 8, 40),
                       QPoint(8, player.form->height() - 8)}) {
    const QPoint global = player.form->mapToGlobal(local);
    if (!dialog.contains(global)) return global;
  }
  ADD_FAILURE() << "the dialog covers the main window";
  return {};
}

class Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
      GTEST_SKIP() << "needs an X server";
    }
  }
  // Opens the dialog and answers "Да!" once, by real clicks.
  void toSecondQuestion() {
    realClick(player.form->centralWidget(), kOptionButtons[1]);
    ASSERT_TRUE(player.dialogShown());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(player.form->dialog()));
    waitForWindowSystem();
    realClick(player.form->dialog(), kYes);
    ASSERT_EQ(question(), "Вы уверены?");
  }
  QString question() const { return player.form->dialog()->findChild<QLabel*>("Label1")->text(); }

  Player player;
};

TEST_F(Desktop, EachWindowPublishesExactlyItsOwnTitle) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(player.form.get()));
  EXPECT_EQ(property(player.form.get(), "_NET_WM_NAME"), "");
  EXPECT_EQ(property(player.form.get(), "WM_NAME"), "");
  player.press(2);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(player.form->dialog()));
  EXPECT_EQ(property(player.form->dialog(), "_NET_WM_NAME"), "Кестрин");
}

TEST_F(Desktop, AClickIntoTheMainWindowBringsBackTheFirstQuestion) {
  toSecondQuestion();
  realClick(bareMainWindowPoint(player));
  realClick(player.form->dialog(), kYes);
  EXPECT_TRUE(player.dialogShown());
  EXPECT_EQ(question(), "Вы уверены?");
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S01)));
}

TEST_F(Desktop, ComingBackFromAnotherProgramKeepsTheSecondQuestion) {
  toSecondQuestion();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QPoint other_corner = screen.bottomRight() - QPoint(160, 160);
  QProcess other;
  other.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--other-program"), QString::number(other_corner.x()),
               QString::number(other_corner.y())});
  ASSERT_TRUE(other.waitForReadyRead(5000)) << "the other program did not show its window";
  waitForWindowSystem();
  realClick(other_corner + QPoint(60, 60));
  ASSERT_TRUE(waitUntil([] { return QGuiApplication::focusWindow() == nullptr; }))
      << "the other program did not become active";
  realClick(player.form->dialog(), kYes);
  other.kill();
  other.waitForFinished();
  EXPECT_FALSE(player.dialogShown());
  EXPECT_EQ(player.caption("Label1"), text(sceneKey(S20)));
}

}  // namespace
}  // namespace sessiya::testing
