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
// It records each ending the first time the window shows it.
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
  void showCount();

  Items items_;
  QWidget& window_;
  std::filesystem::path program_dir_;
  EndingFile file_;
  EndingRecord record_;
  std::unique_ptr<EndingsWindow> list_window_;
};

}  // namespace sessiya
