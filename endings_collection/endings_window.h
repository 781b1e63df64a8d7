#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>

#include "ending_record.h"

namespace Ui {
class EndingsWindow;
}

namespace sessiya {

// The list of all fourteen endings in story order: found ones with their title and a
// thumbnail of their picture, the others as "???" with a hint of where their path begins.
class EndingsWindow : public QDialog {
 public:
  EndingsWindow(QWidget* parent, std::filesystem::path program_dir);
  ~EndingsWindow() override;

  // Fills the list from `record` under its `count` ("1 из 14"), with `notice` where the record
  // is not kept, and brings the window up, or refreshes it if it is up.
  void showRecord(const EndingRecord& record, const QString& count, const QString& notice);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void readCurrentRow();

  std::unique_ptr<Ui::EndingsWindow> ui_;
  std::filesystem::path program_dir_;
};

}  // namespace sessiya
