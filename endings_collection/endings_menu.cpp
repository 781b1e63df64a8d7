#include "endings_menu.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "endings_window.h"

namespace sessiya {

EndingsMenu::EndingsMenu(Items items, QWidget& window, std::filesystem::path program_dir,
                         QString record_path)
    : items_(items),
      window_(window),
      program_dir_(std::move(program_dir)),
      file_(std::move(record_path)),
      record_(file_.load()) {
  connect(&items_.list, &QAction::triggered, this, &EndingsMenu::showList);
  connect(&items_.forget, &QAction::triggered, this, &EndingsMenu::askToForget);
  showCount();
}

EndingsMenu::~EndingsMenu() = default;

void EndingsMenu::noteScreen(const ScreenState& screen) {
  const std::optional<SceneId> ending = endingOnScreen(screen);
  if (!ending || !record_.add(*ending)) return;
  record_ = file_.saveMerged(record_);
  showCount();
  if (list_window_ && list_window_->isVisible()) list_window_->showRecord(record_);
}

void EndingsMenu::showCount() {
  items_.menu.setTitle(
      QStringLiteral("&Концовки: %1 из %2").arg(record_.count()).arg(kEndingCount));
}

void EndingsMenu::showList() {
  record_.merge(file_.load());  // with what another running game has found meanwhile
  showCount();
  if (!list_window_) list_window_ = std::make_unique<EndingsWindow>(&window_, program_dir_);
  list_window_->showRecord(record_);
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
  file_.replace(record_);
  showCount();
  if (list_window_ && list_window_->isVisible()) list_window_->showRecord(record_);
}

}  // namespace sessiya
