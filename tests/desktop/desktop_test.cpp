// The windows on a real X server, as the window system and the player's hand deliver events:
// the published titles, and the dialog's activation with real, fast clicks, with another
// program in between.
#include <sys/resource.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

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

std::vector<xcb_window_t> windowList(xcb_window_t window, const char* name) {
  const auto cookie =
      xcb_get_property(connection(), 0, window, atom(name), XCB_ATOM_WINDOW, 0, 256);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
      xcb_get_property_reply(connection(), cookie, nullptr), &free);
  if (!reply) return {};
  const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
  return {ids, ids + xcb_get_property_value_length(reply.get()) / sizeof(xcb_window_t)};
}

xcb_window_t root() { return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root; }
xcb_window_t id(QWidget* window) { return static_cast<xcb_window_t>(window->winId()); }

bool viewable(QWidget* window) {
  std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> reply(
      xcb_get_window_attributes_reply(connection(),
                                      xcb_get_window_attributes(connection(), id(window)), nullptr),
      &free);
  return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool xdotool(const QStringList& arguments) {
  return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
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

TEST_F(Desktop, TheDialogIsAnOrdinaryWindowThatAClickSendsBehind) {
  player.press(2);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(player.form->dialog()));
  waitForWindowSystem();
  EXPECT_TRUE(windowList(id(player.form->dialog()), "WM_TRANSIENT_FOR").empty());
  const std::vector<xcb_window_t> type =
      windowList(id(player.form->dialog()), "_NET_WM_WINDOW_TYPE");
  EXPECT_TRUE(type.empty() || type == std::vector{atom("_NET_WM_WINDOW_TYPE_NORMAL")});
  realClick(bareMainWindowPoint(player));
  const std::vector<xcb_window_t> stacking = windowList(root(), "_NET_CLIENT_LIST_STACKING");
  if (stacking.empty()) return;  // no window manager keeps one
  const auto at = [&](QWidget* window) { return std::ranges::find(stacking, id(window)); };
  ASSERT_NE(at(player.form->dialog()), stacking.end());
  EXPECT_GT(at(player.form.get()), at(player.form->dialog())) << "the dialog stays above";
}

TEST_F(Desktop, AMinimisedDialogComesBackWhenShownAgain) {
  player.press(2);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(player.form->dialog()));
  waitForWindowSystem();
  ASSERT_TRUE(
      xdotool({QStringLiteral("windowminimize"), QString::number(id(player.form->dialog()))}));
  waitForWindowSystem();
  player.menu("m_new");
  realClick(player.form->centralWidget(), kOptionButtons[1]);
  EXPECT_TRUE(waitUntil([this] { return viewable(player.form->dialog()); }));
  EXPECT_TRUE(waitUntil([this] { return player.form->dialog()->isActiveWindow(); }));
  EXPECT_FALSE(player.form->dialog()->isMinimized());
}

// With the keyboard focus following the pointer, as X gives it where no window manager
// runs, the window gets the keys but is never the active one (a window manager may give the
// focus back at once).
TEST_F(Desktop, CtrlNAndCtrlQWorkInAWindowThatIsNotActive) {
  realClick(player.form->centralWidget(), kOptionButtons[0]);
  ASSERT_NE(player.caption("Label1"), text(sceneKey(S01)));
  xcb_set_input_focus(connection(), XCB_INPUT_FOCUS_POINTER_ROOT, XCB_INPUT_FOCUS_POINTER_ROOT,
                      XCB_CURRENT_TIME);
  xcb_flush(connection());
  waitForWindowSystem();
  ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+n")}));
  EXPECT_TRUE(waitUntil([this] { return player.caption("Label1") == text(sceneKey(S01)); }));
  QTimer::singleShot(0, [] { xdotool({QStringLiteral("key"), QStringLiteral("ctrl+q")}); });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QApplication::exec(), 0) << "Ctrl+Q did not end the program";
}

// The game itself, as installed, under a limit on the size of the files it may write: the
// ending found is not kept, and the game goes on instead of being ended by the system.
TEST_F(Desktop, TheGameOutlivesAFileSizeLimit) {
  QTemporaryDir config;
  const QString record = config.filePath(QStringLiteral("sessiya/endings.txt"));
  QDir().mkpath(config.filePath(QStringLiteral("sessiya")));
  QFile file(record);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("sessiya endings 1\nS20\n");
  file.close();
  QProcess game;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
  game.setProcessEnvironment(environment);
  game.setChildProcessModifier([] {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 10;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  });
  game.start(QStringLiteral(SESSIYA_GAME), {});
  ASSERT_TRUE(game.waitForStarted());
  QProcess search;
  search.start(QStringLiteral("xdotool"),
               {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                QStringLiteral("--pid"), QString::number(game.processId())});
  ASSERT_TRUE(search.waitForFinished(10'000));
  const QString window = QString::fromLatin1(search.readAllStandardOutput()).split('\n')[0];
  ASSERT_FALSE(window.isEmpty()) << "the game showed no window";
  ASSERT_TRUE(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}));
  ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("300"),
                       QStringLiteral("2"), QStringLiteral("1")}));  // options 3 and 1: an ending
  game.waitForFinished(2000);
  const QString said = QString::fromLocal8Bit(game.readAllStandardError());
  EXPECT_EQ(game.state(), QProcess::Running) << said.toStdString();
  EXPECT_TRUE(said.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << said.toStdString();
  game.kill();
  game.waitForFinished();
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "sessiya endings 1\nS20\n");
}

}  // namespace
}  // namespace sessiya::testing
