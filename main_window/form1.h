#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "announcer.h"
#include "link_clicks.h"
#include "option_buttons.h"
#include "published_title.h"
#include "scene_pictures.h"
#include "story.h"

namespace Ui {
class Form1;
}

namespace sessiya {

class EndingsMenu;
class Form2;
class WrapLabel;

// The main window: draws what the story holds and feeds it the player's presses.
class Form1 : public QMainWindow, public StoryHost {
  Q_OBJECT

 public:
  // `program_dir` is where the scene pictures lie.
  explicit Form1(std::filesystem::path program_dir);
  ~Form1() override;

  const Story& story() const { return story_; }
  // The dialog, once something has created it.
  Form2* dialog() const { return form2_.get(); }
  EndingsMenu& endings() const { return *endings_; }

  void loadPicture(std::string_view reference) override;
  void showDialog() override;

  // The dialog's second "Да!": the game-over scene.
  void confirmFinalAnswer();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void m_new_Click();
  void m_end_Click();
  void Form_Unload();
  void Label7_Click();
  void Label9_Click();
  void Label7_MouseMove();
  void Label9_MouseMove();
  void paintLinksRed();  // Frame1_, Label1_ and Label2_MouseMove
  void Form_MouseMove();
  void OpenDocument(const QString& target);
  void OpenWithOwner(QWidget* owner, const QString& target);

  void press(int option);
  void setHandCursors();
  void render();
  void showPendingPicture();
  std::string newAttemptCommand() const;
  void endProgram();
  Form2& form2();

  std::unique_ptr<Ui::Form1> ui_;
  std::filesystem::path program_dir_;
  Story story_;
  std::array<WrapLabel*, 6> captions_;  // Label1 … Label6
  OptionButtons buttons_;
  Announcer announcer_;
  SpokenNotice* menu_notice_ = new SpokenNotice(this);
  std::unique_ptr<Form2> form2_;
  std::unique_ptr<EndingsMenu> endings_;
  std::optional<std::string> pending_picture_;  // loaded by the story, not yet read
  ScenePictures scene_pictures_;
  std::set<std::string> reported_pictures_;  // each unreadable picture is reported once
  bool reported_top_move_ = false;
  bool dialog_opened_ = false;  // by the press being drawn
  bool hand_cursors_asked_ = false;
  LinkClicks link_clicks_;
  PublishedTitle published_title_{*this};
};

}  // namespace sessiya
