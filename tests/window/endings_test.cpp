#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "captured_errors.h"
#include "ending_file.h"
#include "endings_menu.h"
#include "endings_window.h"
#include "player.h"
#include "scene_catalogue.h"

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
    for (QAbstractButton* candidate : question->buttons()) {
      if (candidate->text() == button) candidate->click();
    }
    QCoreApplication::processEvents();
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
  // Escape closes it, and it can be opened again.
  QTest::keyClick(player.form->endings().listWindow(), Qt::Key_Escape);
  EXPECT_FALSE(player.form->endings().listWindow()->isVisible());
  EXPECT_EQ(listed(player).size(), 15);
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
    EXPECT_TRUE(QFileInfo::exists(path_ + ".bak/inside"));
  } else {
    EXPECT_EQ(contents(path_ + ".bak"), damaged.bytes);
  }
  EXPECT_EQ(menuTitle(player), "&Концовки: 1 из 14");
}

INSTANTIATE_TEST_SUITE_P(
    Window, DamagedEndings,
    ::testing::Values(DamagedFile{"Garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10),
                                  "does not start"},
                      DamagedFile{"Truncated", "sessiya endings 1\nS03\nS2", "cut off"},
                      DamagedFile{"UnknownEnding", "sessiya endings 1\nS42\n", "names no ending"},
                      DamagedFile{"Folder", {}, "folder"}),
    [](const auto& info) { return info.param.name; });

TEST_F(Endings, AnUnreadableFileStopsNothing) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
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
