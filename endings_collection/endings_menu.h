#pragma once

#include <QObject>
#include <filesystem>
#include <memory>

#include "ending_file.h"
#include "ending_record.h"
#include "screen_state.h"

class QAction;
class QMenu;
class QWidget;

namespace sessiya {

class EndingsWindow;

// The "Концовки" menu: the count found so far in its title, the list window and forgetting.
// It records each ending the first time the window shows it. Where the record cannot keep
// them, the title counts the endings not saved and the menu's first item says why.
class EndingsMenu : public QObject {
 public:
  struct Items {
    QMenu& menu;
    QAction& list;
    QAction& forget;
  };
  EndingsMenu(Items items, QWidget& window, std::filesystem::path program_dir, QString record_path);
  ~EndingsMenu() override;

  // Called after every change of the window's scene.
  void noteScreen(const ScreenState& screen);

  const EndingRecord& record() const { return record_; }
  EndingsWindow* listWindow() const { return list_window_.get(); }

 private:
  void showList();
  void askToForget();
  void forget();
  void keep(const EndingFile::Result& saved);
  QString count() const;
  void showCount();
  void refreshList();

  Items items_;
  QWidget& window_;
  std::filesystem::path program_dir_;
  EndingFile file_;
  EndingRecord record_;
  EndingRecord unsaved_;  // found in this game and not in the file
  RecordTrouble trouble_ = RecordTrouble::None;
  QAction* notice_;
  QAction* notice_separator_;
  std::unique_ptr<EndingsWindow> list_window_;
};

}  // namespace sessiya
