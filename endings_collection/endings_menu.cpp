#include "endings_menu.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "endings_window.h"

namespace sessiya {
namespace {

// What the player reads where the endings found are not kept, by the reason.
struct Notice {
  RecordTrouble trouble;
  const char* text;
};
constexpr Notice kNotices[] = {
    {RecordTrouble::NewerVersion,
     "Запись концовок сделана новой версией игры: её не трогаем, а счёт ведём до выхода."},
    {RecordTrouble::NotAFile,
     "Концовки не сохранятся: вместо файла записи — канал или устройство."},
    {RecordTrouble::DiskFull, "Концовки не сохранились: файлу записи не хватило места."},
    {RecordTrouble::NoAccess, "Концовки не сохранились: в папку записи нельзя писать."},
    {RecordTrouble::DamagedNotKept,
     "Концовки не сохранились: испорченную запись не удалось отложить."},
    {RecordTrouble::LinkToFolder, "Концовки не сохранятся: вместо файла записи — ссылка на папку."},
    {RecordTrouble::NoHome, "Концовки не сохранятся: нет домашней папки, где хранить запись."},
    {RecordTrouble::NoFolder, "Концовки не сохранились: папку для записи не удалось создать."},
    {RecordTrouble::WriteFailed, "Концовки не сохранились: запись на диск не удалась."},
};

QString noticeFor(RecordTrouble trouble) {
  for (const Notice& notice : kNotices) {
    if (notice.trouble == trouble) return QString::fromUtf8(notice.text);
  }
  return {};
}

}  // namespace

EndingsMenu::EndingsMenu(Items items, QWidget& window, std::filesystem::path program_dir,
                         QString record_path)
    : items_(items),
      window_(window),
      program_dir_(std::move(program_dir)),
      file_(std::move(record_path)),
      notice_(new QAction(&items_.menu)),
      notice_separator_(items_.menu.insertSeparator(&items_.list)) {
  notice_->setObjectName(QStringLiteral("m_endings_notice"));
  items_.menu.insertAction(notice_separator_, notice_);
  keep(file_.load());
  // Readable in full, not greyed out: it opens the list, which says the same.
  connect(notice_, &QAction::triggered, this, &EndingsMenu::showList);
  connect(&items_.list, &QAction::triggered, this, &EndingsMenu::showList);
  connect(&items_.forget, &QAction::triggered, this, &EndingsMenu::askToForget);
  showCount();
}

EndingsMenu::~EndingsMenu() = default;

void EndingsMenu::noteScreen(const ScreenState& screen) {
  const std::optional<SceneId> ending = endingOnScreen(screen);
  if (!ending || !record_.add(*ending)) return;
  unsaved_.add(*ending);
  keep(file_.saveMerged(record_));
  showCount();
  refreshList();
}

// The record as the file gave it back, and whether what was found is on disk now.
void EndingsMenu::keep(const EndingFile::Result& saved) {
  record_ = saved.record;
  trouble_ = saved.trouble;
  if (trouble_ == RecordTrouble::None) unsaved_ = EndingRecord{};
}

QString EndingsMenu::count() const {
  QString count = QStringLiteral("%1 из %2").arg(record_.count()).arg(kEndingCount);
  if (unsaved_.count() > 0) count += QStringLiteral(" (не сохранено: %1)").arg(unsaved_.count());
  return count;
}

void EndingsMenu::showCount() {
  items_.menu.setTitle(QStringLiteral("&Концовки: ") + count());
  notice_->setText(noticeFor(trouble_));
  notice_->setVisible(trouble_ != RecordTrouble::None);
  notice_separator_->setVisible(notice_->isVisible());
}

void EndingsMenu::refreshList() {
  if (list_window_ && list_window_->isVisible()) {
    list_window_->showRecord(record_, count(), noticeFor(trouble_));
  }
}

void EndingsMenu::showList() {
  // With what another running game has found meanwhile; a trouble that is gone from the file
  // stays while endings found here are still not on disk.
  const EndingFile::Result loaded = file_.load();
  record_.merge(loaded.record);
  if (loaded.trouble != RecordTrouble::None || unsaved_.count() == 0) trouble_ = loaded.trouble;
  showCount();
  if (!list_window_) list_window_ = std::make_unique<EndingsWindow>(&window_, program_dir_);
  list_window_->showRecord(record_, count(), noticeFor(trouble_));
}

void EndingsMenu::askToForget() {
  auto* question = new QMessageBox(QMessageBox::Question, QStringLiteral("Концовки"),
                                   QStringLiteral("Забыть все найденные концовки? Счёт "
                                                  "начнётся с нуля."),
                                   QMessageBox::NoButton, &window_);
  question->setObjectName(QStringLiteral("forget_question"));
  QPushButton* yes = question->addButton(QStringLiteral("Забыть"), QMessageBox::AcceptRole);
  question->setDefaultButton(
      question->addButton(QStringLiteral("Оставить"), QMessageBox::RejectRole));
  question->setAttribute(Qt::WA_DeleteOnClose);
  connect(question, &QMessageBox::finished, this, [this, question, yes] {
    if (question->clickedButton() == yes) forget();
  });
  question->open();
}

void EndingsMenu::forget() {
  record_ = EndingRecord{};
  unsaved_ = EndingRecord{};
  trouble_ = file_.replace(record_);
  showCount();
  refreshList();
}

}  // namespace sessiya
