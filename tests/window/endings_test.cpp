#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
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
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

#include "captured_errors.h"
#include "ending_file.h"
#include "endings_menu.h"
#include "endings_window.h"
#include "player.h"
#include "scene_catalogue.h"
#include "without_file_privileges.h"

// The record's system calls as the tests see them: these stand in for the C library's in this
// program, call it, and let a test fail a flush or act just before a rename.
namespace {
std::function<int(const std::string& path)> failed_flush;  // the error for a flush of `path`
// Runs before the next renames until it returns true, having acted.
std::function<bool(const char* from, const char* to, unsigned flags)> before_rename;

std::string openedPath(int fd) {
  char name[4096] = {};
  const ssize_t size =
      ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), name, sizeof name - 1);
  return size > 0 ? std::string(name, static_cast<std::size_t>(size)) : std::string();
}
}  // namespace

extern "C" int fsync(int fd) {
  static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  if (failed_flush) {
    if (const int error = failed_flush(openedPath(fd)); error != 0) {
      errno = error;
      return -1;
    }
  }
  return real(fd);
}

extern "C" int renameat2(int from_folder, const char* from, int to_folder, const char* to,
                         unsigned flags) noexcept {
  static const auto real = reinterpret_cast<int (*)(int, const char*, int, const char*, unsigned)>(
      ::dlsym(RTLD_NEXT, "renameat2"));
  const auto hook = std::exchange(before_rename, nullptr);
  if (hook && !hook(from, to, flags)) before_rename = hook;
  return real(from_folder, from, to_folder, to, flags);
}

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

// No room left where the record lies: an 8 KB tmpfs filled up (the tests run as root), or a
// limit on the size of the files this process writes.
class FullDisk {
 public:
  FullDisk(const QString& path, const QByteArray& record, bool tmpfs)
      : folder_(QFile::encodeName(QFileInfo(path).absolutePath())),
        mounted_(tmpfs && ::mount("tmpfs", folder_, "tmpfs", 0, "size=8k") == 0) {
    EXPECT_EQ(mounted_, tmpfs) << "cannot mount a tmpfs: " << std::strerror(errno);
    write(path, record);
    if (mounted_) {
      const int filler = ::open(folder_ + "/filler", O_WRONLY | O_CREAT, 0600);
      while (::write(filler, folder_.constData(), 1) == 1) continue;
      ::close(filler);
      return;
    }
    if (tmpfs) return;
    std::signal(SIGXFSZ, SIG_IGN);  // as the game does: the real one is tested on the desktop
    ::getrlimit(RLIMIT_FSIZE, &limit_);
    const rlimit small{10, limit_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FullDisk() {
    if (mounted_) {
      ::umount2(folder_, MNT_DETACH);
    } else if (limit_.rlim_max != 0) {
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
const QByteArray kThree = "sessiya endings 1\nS03\nS06\nS20\n";
const char* const kNoRoom = "Концовки не сохранились: файлу записи не хватило места.";
const char* const kNotWritten = "Концовки не сохранились: запись на диск не удалась.";

// What a hostile world puts where the record lies, kept until the test ends, and what the
// test checks of it at the end.
struct World {
  QString path;
  std::optional<FullDisk> disk;
  std::optional<QLockFile> holder;
  std::vector<std::function<void()>> checks;
  ~World() {
    failed_flush = nullptr;
    before_rename = nullptr;
  }
  // A folder beside the configuration folder, the player's own.
  QString elsewhere(const QString& name) const {
    const QString folder = QFileInfo(path).dir().filePath("../" + name);
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
  }
};

// Fails the flush of the files or folders whose path `matches`.
void failFlushes(QRegularExpression matches) {
  failed_flush = [matches](const std::string& path) {
    return matches.match(QString::fromStdString(path)).hasMatch() ? EIO : 0;
  };
}

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
  for (const auto& check : world_.checks) check();
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
        // A copy that stalled, exchanged an older record into place and was killed: the newer
        // one is left beside, fresh, and read at once; a running copy may still be writing it.
        Hostile{"StalledCopysFreshLeftover",
                [](World& w) {
                  write(w.path, "sessiya endings 1\nS06\n");
                  write(w.path + ".Fr35hA", kOld);
                  w.checks.push_back([path = w.path] {
                    EXPECT_EQ(contents(path + ".Fr35hA"), kOld) << "deleted as if stale";
                  });
                },
                "&Концовки: 3 из 14", "", kThree},
        // Another copy writes between this one's read and its exchange.
        Hostile{"AnotherCopyWritesBeforeTheExchange",
                [](World& w) {
                  write(w.path, kOld);
                  before_rename = [path = w.path](const char*, const char*, unsigned flags) {
                    if (flags != RENAME_EXCHANGE) return false;
                    EndingRecord other;
                    other.add(SceneId::S06);
                    EndingFile(path).saveMerged(other);
                    return true;
                  };
                },
                "&Концовки: 3 из 14", "", kThree},
        // Two copies met the same damaged record: the other one has just moved it aside.
        Hostile{"AnotherCopyKeptTheDamageAside",
                [](World& w) {
                  write(w.path, "damaged");
                  before_rename = [](const char* from, const char* to, unsigned) {
                    return QByteArray(to).endsWith(".bak") && ::rename(from, to) == 0;
                  };
                  w.checks.push_back(
                      [path = w.path] { EXPECT_EQ(contents(path + ".bak"), "damaged"); });
                },
                "&Концовки: 1 из 14", "", "sessiya endings 1\nS03\n"},
        // A power cut after a flush that failed could lose the ending: it is not called saved.
        Hostile{"TemporaryFileNotFlushed",
                [](World& w) {
                  write(w.path, kOld);
                  failFlushes(QRegularExpression("endings\\.txt\\.\\w{6}$"));
                },
                "&Концовки: 2 из 14 (не сохранено: 1)", kNotWritten, kOld},
        Hostile{"FolderNotFlushed",
                [](World& w) {
                  write(w.path, kOld);
                  failFlushes(QRegularExpression("/window_tests$"));
                },
                "&Концовки: 2 из 14 (не сохранено: 1)", kNotWritten, kBoth},
        Hostile{"FolderNotFlushedAfterKeepingTheDamageAside",
                [](World& w) {
                  write(w.path, "damaged");
                  failFlushes(QRegularExpression("/window_tests$"));
                },
                "&Концовки: 1 из 14 (не сохранено: 1)",
                "Концовки не сохранились: испорченную запись не удалось отложить.",
                {}},
        // A chain of links: the record is the file at its end, its mode kept, the links stay.
        Hostile{"ChainOfLinks",
                [](World& w) {
                  const QString record = w.elsewhere("shared") + "/endings.txt";
                  write(record, kOld);
                  QFile::setPermissions(record, QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadGroup | QFile::ReadOther);
                  QFile::link("../shared/endings.txt", w.elsewhere("middle") + "/endings.txt");
                  QFile::link(w.elsewhere("middle") + "/endings.txt", w.path);
                  w.checks.push_back([path = w.path, record] {
                    EXPECT_TRUE(QFileInfo(path).isSymLink());
                    EXPECT_TRUE(QFileInfo(QFileInfo(path).symLinkTarget()).isSymLink());
                    EXPECT_EQ(contents(record), kBoth);
                    struct stat status {};
                    ::stat(QFile::encodeName(record), &status);
                    EXPECT_EQ(status.st_mode & 07777, 0644u);
                  });
                },
                "&Концовки: 2 из 14", "", kBoth},
        // A link to a folder of the player's: refused, never moved aside.
        Hostile{"LinkToAFolder",
                [](World& w) {
                  const QString folder = w.elsewhere("photos");
                  write(folder + "/mine.jpg", "mine");
                  QFile::link(folder, w.path);
                  w.checks.push_back([folder] {
                    EXPECT_EQ(contents(folder + "/mine.jpg"), "mine");
                    EXPECT_FALSE(QFileInfo::exists(folder + ".bak"));
                  });
                },
                "&Концовки: 1 из 14 (не сохранено: 1)",
                "Концовки не сохранятся: вместо файла записи — ссылка на папку.",
                {}},
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

// A folder for the record that cannot be made: the player reads why, as the system said it.
struct UnmadeFolder {
  const char* name;
  bool needs_permissions;
  QString (*make)(const QString& scratch);  // the configuration folder to use
  const char* notice;
  int error;
};

class UnmadeFolders : public Endings, public ::testing::WithParamInterface<UnmadeFolder> {};

TEST_P(UnmadeFolders, StopNothingAndSayWhy) {
  if (GetParam().needs_permissions && rerunWithoutFilePrivileges()) return;
  const QString config = GetParam().make(config_.path());
  qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
  CapturedErrors errors;
  {
    Player player;
    player.pressAll(kToS03);
    EXPECT_EQ(menuTitle(player), "&Концовки: 1 из 14 (не сохранено: 1)");  // for this game
    EXPECT_EQ(player.form->findChild<QAction*>("m_endings_notice")->text(), GetParam().notice);
  }
  ::umount2(QFile::encodeName(config), MNT_DETACH);
  ASSERT_FALSE(errors.lines().isEmpty());
  EXPECT_TRUE(errors.lines()[0].contains(std::strerror(GetParam().error)))
      << errors.lines()[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Window, UnmadeFolders,
    ::testing::Values(
        UnmadeFolder{"AFileInTheWay", false,
                     [](const QString& scratch) {
                       write(scratch + "/blocker", "");
                       return scratch + "/blocker";
                     },
                     "Концовки не сохранились: папку для записи не удалось создать.", ENOTDIR},
        UnmadeFolder{"NoRoom", false,
                     [](const QString& scratch) {
                       QDir().mkpath(scratch + "/full");
                       EXPECT_EQ(::mount("tmpfs", QFile::encodeName(scratch + "/full"), "tmpfs", 0,
                                         "size=8k,nr_inodes=1"),
                                 0)
                           << "cannot mount a tmpfs: " << std::strerror(errno);
                       return scratch + "/full";
                     },
                     kNoRoom, ENOSPC},
        UnmadeFolder{"NoPermission", true,
                     [](const QString& scratch) {
                       QDir().mkpath(scratch + "/locked");
                       QFile::setPermissions(scratch + "/locked",
                                             QFile::ReadOwner | QFile::ExeOwner);
                       return scratch + "/locked";
                     },
                     "Концовки не сохранились: в папку записи нельзя писать.", EACCES}),
    [](const auto& info) { return info.param.name; });

// The XDG Base Directory rules: a relative XDG_CONFIG_HOME is ignored; with no HOME either,
// the home folder is the user's own, never the root of the file system.
TEST_F(Endings, TheRecordLivesInTheUsersOwnConfigurationFolder) {
  const QByteArray home = qgetenv("HOME");
  const QString own = QFile::decodeName(::getpwuid(::geteuid())->pw_dir);
  qputenv("XDG_CONFIG_HOME", "relative/config");
  qputenv("HOME", config_.path().toLocal8Bit());
  EXPECT_EQ(EndingFile::standardPath(), config_.path() + "/.config/window_tests/endings.txt");
  qunsetenv("XDG_CONFIG_HOME");
  qunsetenv("HOME");
  EXPECT_EQ(EndingFile::standardPath(), own + "/.config/window_tests/endings.txt");
  qputenv("HOME", home);
  qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
}

}  // namespace
}  // namespace sessiya::testing
