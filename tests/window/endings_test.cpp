#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>
#include <QAccessible>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QLockFile>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <csignal>
#include <optional>
#include <thread>

#include "captured_errors.h"
#include "ending_file.h"
#include "endings_menu.h"
#include "endings_window.h"
#include "player.h"
#include "scene_catalogue.h"
#include "without_file_privileges.h"

namespace sessiya::testing {
namespace {

// Paths from a new attempt to an ending.
const std::initializer_list<int> kToS03 = {3, 1};  // friends, then the drink

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

class Endings : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    path_ = EndingFile::standardPath();
  }

  static QString menuTitle(const Player& player) {
    return player.form->findChild<QMenu*>("m_endings")->title();
  }
  static QStringList listed(Player& player) {
    player.menu("m_found_endings");
    EndingsWindow* window = player.form->endings().listWindow();
    EXPECT_TRUE(window != nullptr && window->isVisible());
    QStringList rows{window->findChild<QLabel*>("found_count")->text()};
    const auto* list = window->findChild<QListWidget*>("endings_list");
    for (int row = 0; row < list->count(); ++row) rows << list->item(row)->text();
    return rows;
  }
  static void answerForget(Player& player, const QString& button) {
    player.menu("m_forget_endings");
    auto* question = player.form->findChild<QMessageBox*>("forget_question");
    ASSERT_NE(question, nullptr);
    QPointer<QMessageBox> asked = question;
    QAbstractButton* chosen = nullptr;
    for (QAbstractButton* candidate : question->buttons()) {
      if (candidate->text() == button) chosen = candidate;
    }
    ASSERT_NE(chosen, nullptr) << "no button " << button.toStdString();
    chosen->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(asked.isNull() || !asked->isVisible()) << "the question is still open";
  }

  QTemporaryDir config_;
  QString path_;
};

TEST_F(Endings, EachEndingIsRecordedOnceByPressAndByTheDialog) {
  Player player;
  EXPECT_EQ(menuTitle(player), "&Концовки: 0 из 14");
  EXPECT_FALSE(QFileInfo::exists(path_));  // nothing is written before an ending
  player.pressAll(kToS03);
  EXPECT_EQ(menuTitle(player), "&Концовки: 1 из 14");
  player.menu("m_new");
  player.press(2);
  player.answer(kYes);
  player.answer(kYes);
  player.menu("m_new");
  player.pressAll(kToS03);
  EXPECT_EQ(menuTitle(player), "&Концовки: 2 из 14");
  EXPECT_EQ(contents(path_), "sessiya endings 1\nS03\nS20\n");
  // The "Файл" menu keeps exactly its two items.
  EXPECT_EQ(player.form->findChild<QMenu*>("m_file")->actions().size(), 2);
}

TEST_F(Endings, TheRecordSurvivesARestartAndTheListShowsIt) {
  {
    Player first;
    first.pressAll(kToS03);
  }
  Player player;
  EXPECT_EQ(menuTitle(player), "&Концовки: 1 из 14");
  const QStringList rows = listed(player);
  ASSERT_EQ(rows.size(), 15);
  EXPECT_EQ(rows[0], "Найдено: 1 из 14");
  EXPECT_EQ(rows[1], "1. " + text(scene(SceneId::S03).ending_title));
  EXPECT_EQ(rows[2], "2. ???\nПодсказка: " + text(scene(SceneId::S06).ending_hint));
  EXPECT_FALSE(player.form->endings().listWindow()->findChild<QLabel*>("all_found")->isVisible());
  // A screen reader asks where each of the window's parts stands, the list's scroll-bar
  // holders among them, and Qt warns of nothing.
  static QStringList warned;
  const QtMessageHandler previous = qInstallMessageHandler(
      [](QtMsgType, const QMessageLogContext&, const QString& message) { warned << message; });
  int holders = 0;
  for (QWidget* part : player.form->endings().listWindow()->findChildren<QWidget*>()) {
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(part);
    if (read == nullptr || read->parent() == nullptr) continue;
    read->parent()->indexOfChild(read);
    if (part->objectName().startsWith("qt_scrollarea_") && part->findChild<QScrollBar*>()) {
      ++holders;
    }
  }
  qInstallMessageHandler(previous);
  EXPECT_GT(holders, 0);
  EXPECT_EQ(warned.join('\n').toStdString(), "");
  // Escape closes it, and it can be opened again.
  QTest::keyClick(player.form->endings().listWindow(), Qt::Key_Escape);
  EXPECT_FALSE(player.form->endings().listWindow()->isVisible());
  EXPECT_EQ(listed(player).size(), 15);
}

QImage icon(const QListWidget* list, int row) {
  return list->item(row)->icon().pixmap(list->iconSize()).toImage();
}

// The list open while an ending is found: its row, its own picture, the count, the first row
// current; a row not found says what a screen reader should.
TEST_F(Endings, TheOpenListFollowsTheEndingsFound) {
  Player player;
  listed(player);
  const auto* list = player.form->endings().listWindow()->findChild<QListWidget*>("endings_list");
  const QImage not_found = icon(list, 0);
  player.pressAll(kToS03);
  player.menu("m_new");
  player.press(2);
  player.answer(kYes);
  player.answer(kYes);
  ASSERT_TRUE(list->isVisible());
  EXPECT_EQ(player.form->endings().listWindow()->findChild<QLabel*>("found_count")->text(),
            "Найдено: 2 из 14");
  EXPECT_EQ(list->item(0)->text(), "1. " + text(scene(SceneId::S03).ending_title));
  EXPECT_EQ(list->currentRow(), 0);
  const int s20 = static_cast<int>(std::ranges::find(endingsInStoryOrder(), SceneId::S20) -
                                   endingsInStoryOrder().begin());
  EXPECT_NE(icon(list, 0), not_found);
  EXPECT_NE(icon(list, 0), icon(list, s20)) << "one picture for every ending";
  EXPECT_EQ(list->item(1)->data(Qt::AccessibleTextRole).toString(),
            "2. Не найдена. Подсказка: " + text(scene(SceneId::S06).ending_hint));
}

TEST_F(Endings, ForgettingAsksFirstThenClearsTheRecord) {
  Player player;
  player.pressAll(kToS03);
  answerForget(player, "Оставить");
  EXPECT_EQ(menuTitle(player), "&Концовки: 1 из 14");
  answerForget(player, "Забыть");
  EXPECT_EQ(menuTitle(player), "&Концовки: 0 из 14");
  EXPECT_EQ(contents(path_), "sessiya endings 1\n");
  Player after_restart;
  EXPECT_EQ(menuTitle(after_restart), "&Концовки: 0 из 14");
}

TEST_F(Endings, TheListSaysWhenAllAreFound) {
  EndingRecord all;
  for (SceneId ending : endingsInStoryOrder()) all.add(ending);
  write(path_, QByteArray::fromStdString(all.text()));
  Player player;
  EXPECT_EQ(listed(player)[0], "Найдено: 14 из 14");
  EXPECT_TRUE(player.form->endings().listWindow()->findChild<QLabel*>("all_found")->isVisible());
}

TEST_F(Endings, TwoGamesAtOnceKeepEachOthersEndings) {
  Player first;
  Player second;
  first.pressAll(kToS03);
  second.press(2);
  second.answer(kYes);
  second.answer(kYes);
  EXPECT_EQ(contents(path_), "sessiya endings 1\nS03\nS20\n");
  EXPECT_EQ(menuTitle(second), "&Концовки: 2 из 14");
  EXPECT_EQ(listed(first)[0], "Найдено: 2 из 14");  // the list reads what the other found
}

struct DamagedFile {
  const char* name;
  QByteArray bytes;  // empty: a folder stands where the file should be
  const char* problem;
};

class DamagedEndings : public Endings, public ::testing::WithParamInterface<DamagedFile> {};

TEST_P(DamagedEndings, StartEmptyAndAreKeptBesideOnceAnEndingIsFound) {
  const DamagedFile& damaged = GetParam();
  // A folder of the player's and an earlier damaged copy already bear the kept copies' names.
  ASSERT_TRUE(QDir().mkpath(path_ + ".bak/mine"));
  write(path_ + ".bak.1", "earlier damage");
  if (damaged.bytes.isEmpty()) {
    ASSERT_TRUE(QDir().mkpath(path_ + "/inside"));
  } else {
    write(path_, damaged.bytes);
  }
  CapturedErrors errors;
  Player player;
  EXPECT_EQ(menuTitle(player), "&Концовки: 0 из 14");
  listed(player);  // reading it again says nothing new
  ASSERT_EQ(errors.lines().size(), 1) << errors.lines().join('\n').toStdString();
  EXPECT_TRUE(errors.lines()[0].contains(path_));
  EXPECT_TRUE(errors.lines()[0].contains(damaged.problem)) << errors.lines()[0].toStdString();
  if (!damaged.bytes.isEmpty()) {
    EXPECT_EQ(contents(path_), damaged.bytes);  // left alone
  }

  player.pressAll(kToS03);
  EXPECT_EQ(contents(path_), "sessiya endings 1\nS03\n");
  if (damaged.bytes.isEmpty()) {
    EXPECT_TRUE(QFileInfo::exists(path_ + ".bak.2/inside"));
  } else {
    EXPECT_EQ(contents(path_ + ".bak.2"), damaged.bytes);
  }
  EXPECT_TRUE(QFileInfo::exists(path_ + ".bak/mine"));
  EXPECT_EQ(contents(path_ + ".bak.1"), "earlier damage");
  EXPECT_EQ(menuTitle(player), "&Концовки: 1 из 14");
}

INSTANTIATE_TEST_SUITE_P(
    Window, DamagedEndings,
    ::testing::Values(
        DamagedFile{"Garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10), "does not start"},
        DamagedFile{"Truncated", "sessiya endings 1\nS03\nS2", "cut off"},
        DamagedFile{"UnknownEnding", "sessiya endings 1\nS42\n", "names no ending"},
        DamagedFile{"ControlCharacters", "sessiya endings 1\n\x1b[2J\n", "\"\\x1b[2J\" names"},
        DamagedFile{"Folder", {}, "folder"}),
    [](const auto& info) { return info.param.name; });

// No room left where the record lies: an 8 KB tmpfs filled up where one can be mounted (CI runs
// as root), else a limit on the size of the files this process writes.
class FullDisk {
 public:
  FullDisk(const QString& path, const QByteArray& record, bool tmpfs)
      : folder_(QFile::encodeName(QFileInfo(path).absolutePath())),
        mounted_(tmpfs && ::mount("tmpfs", folder_, "tmpfs", 0, "size=8k") == 0) {
    write(path, record);
    if (mounted_) {
      const int filler = ::open(folder_ + "/filler", O_WRONLY | O_CREAT, 0600);
      while (::write(filler, folder_.constData(), 1) == 1) continue;
      ::close(filler);
      return;
    }
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &limit_);
    const rlimit small{10, limit_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FullDisk() {
    if (mounted_) {
      ::umount2(folder_, MNT_DETACH);
    } else {
      ::setrlimit(RLIMIT_FSIZE, &limit_);
      std::signal(SIGXFSZ, SIG_DFL);
    }
  }

 private:
  QByteArray folder_;
  bool mounted_;
  rlimit limit_{};
};

// Fails a test that blocks on a pipe rather than hanging it: after three seconds it opens the
// pipes among `paths` for writing, which frees whoever waits to read them.
class Watchdog {
 public:
  explicit Watchdog(const QStringList& paths)
      : thread_([this, paths] {
          for (int tick = 0; !done_; ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            for (const QString& path : paths) {
              struct stat status {};
              if (tick < 300 || ::lstat(QFile::encodeName(path), &status) != 0 ||
                  !S_ISFIFO(status.st_mode)) {
                continue;
              }
              const int pipe = ::open(QFile::encodeName(path), O_WRONLY | O_NONBLOCK);
              if (pipe < 0) continue;  // nobody waits on it
              fired_ = true;
              ::close(pipe);
            }
          }
        }) {}
  ~Watchdog() {
    done_ = true;
    thread_.join();
  }
  bool fired() const { return fired_; }

 private:
  std::atomic<bool> done_ = false;
  std::atomic<bool> fired_ = false;
  std::thread thread_;
};

const QByteArray kOld = "sessiya endings 1\nS20\n";
const QByteArray kBoth = "sessiya endings 1\nS03\nS20\n";
const char* const kNoRoom = "Концовки не сохранились: файлу записи не хватило места.";

// What a hostile world puts where the record lies, kept until the test ends.
struct World {
  QString path;
  std::optional<FullDisk> disk;
  std::optional<QLockFile> holder;
};

struct Hostile {
  const char* name;
  void (*setUp)(World& world);
  const char* title;   // after the first ending
  const char* notice;  // the menu's first item, "" where all is saved
  QByteArray record;   // the record's bytes afterwards; empty where it is no file
};

class HostileEndings : public Endings, public ::testing::WithParamInterface<Hostile> {
 protected:
  World world_;
};

TEST_P(HostileEndings, LoseNothingAndStopNothing) {
  world_.path = path_;
  ASSERT_TRUE(QDir().mkpath(QFileInfo(path_).absolutePath()));
  GetParam().setUp(world_);
  const Watchdog watchdog({path_, path_ + ".lock"});
  CapturedErrors errors;
  Player player;
  QElapsedTimer waited;
  waited.start();
  player.pressAll(kToS03);
  EXPECT_LT(waited.elapsed(), 1000);
  EXPECT_EQ(menuTitle(player), GetParam().title);
  const auto* notice = player.form->findChild<QAction*>("m_endings_notice");
  EXPECT_EQ(notice->isVisible() ? notice->text() : QString(), GetParam().notice);
  listed(player);
  EXPECT_EQ(player.form->endings().listWindow()->findChild<QLabel*>("record_notice")->text(),
            GetParam().notice);
  if (!GetParam().record.isEmpty()) {
    EXPECT_EQ(contents(path_), GetParam().record);
  }
  EXPECT_FALSE(QFileInfo::exists(path_ + ".Xy12Zw"));
  EXPECT_FALSE(watchdog.fired());
}

INSTANTIATE_TEST_SUITE_P(
    Window, HostileEndings,
    ::testing::Values(
        Hostile{"FullDisk", [](World& w) { w.disk.emplace(w.path, kOld, true); },
                "&Концовки: 2 из 14 (не сохранено: 1)", kNoRoom, kOld},
        // A write that fails half-way: a record truncated, then written, would be lost.
        Hostile{"FileSizeLimit", [](World& w) { w.disk.emplace(w.path, kOld, false); },
                "&Концовки: 2 из 14 (не сохранено: 1)", kNoRoom, kOld},
        Hostile{"PipeForRecord",
                [](World& w) { ::mkfifo(QFile::encodeName(w.path), 0600); },
                "&Концовки: 1 из 14 (не сохранено: 1)",
                "Концовки не сохранятся: вместо файла записи — канал или устройство.",
                {}},
        Hostile{"PipeForLock",
                [](World& w) {
                  write(w.path, kOld);
                  ::mkfifo(QFile::encodeName(w.path + ".lock"), 0600);
                },
                "&Концовки: 2 из 14", "", kBoth},
        Hostile{"StalledLockHolder",
                [](World& w) {
                  write(w.path, kOld);
                  w.holder.emplace(w.path + ".lock");
                  w.holder->tryLock();
                },
                "&Концовки: 2 из 14", "", kBoth},
        // A copy killed before its rename left its new record beside the old one.
        Hostile{"KilledCopysLeftover",
                [](World& w) {
                  write(w.path + ".Xy12Zw", kOld);
                  const utimbuf hour_ago{time(nullptr) - 3600, time(nullptr) - 3600};
                  ::utime(QFile::encodeName(w.path + ".Xy12Zw"), &hour_ago);
                },
                "&Концовки: 2 из 14", "", kBoth},
        Hostile{"NewerVersion", [](World& w) { write(w.path, "sessiya endings 2\nS20\n"); },
                "&Концовки: 1 из 14 (не сохранено: 1)",
                "Запись концовок сделана новой версией игры: её не трогаем, а счёт ведём до "
                "выхода.",
                "sessiya endings 2\nS20\n"},
        Hostile{"ByteOrderMarkAndCrLf",
                [](World& w) { write(w.path, "\xEF\xBB\xBFsessiya endings 1\r\nS20\r\n"); },
                "&Концовки: 2 из 14", "", kBoth}),
    [](const auto& info) { return info.param.name; });

TEST_F(Endings, AnUnreadableFileStopsNothing) {
  if (rerunWithoutFilePrivileges()) return;
  write(path_, "sessiya endings 1\nS03\n");
  QFile::setPermissions(path_, {});
  CapturedErrors errors;
  Player player;
  EXPECT_EQ(menuTitle(player), "&Концовки: 0 из 14");
  EXPECT_EQ(errors.lines().size(), 1);
  player.press(2);
  player.answer(kYes);
  player.answer(kYes);
  EXPECT_EQ(menuTitle(player), "&Концовки: 1 из 14");
}

TEST_F(Endings, AFolderThatCannotBeWrittenStopsNothing) {
  write(config_.path() + "/sessiya-blocker", "");
  qputenv("XDG_CONFIG_HOME", (config_.path() + "/sessiya-blocker").toLocal8Bit());
  CapturedErrors errors;
  Player player;
  player.pressAll(kToS03);
  EXPECT_EQ(menuTitle(player), "&Концовки: 1 из 14 (не сохранено: 1)");  // for this game
  ASSERT_FALSE(errors.lines().isEmpty());
  EXPECT_TRUE(errors.lines()[0].contains("cannot write")) << errors.lines()[0].toStdString();
}

}  // namespace
}  // namespace sessiya::testing
