#include "endings_window.h"

#include <QAccessible>
#include <QEvent>
#include <QImageReader>
#include <QPainter>
#include <QPushButton>

#include "picture_path.h"
#include "scene_catalogue.h"
#include "scroll_bar_holder.h"
#include "ui_endings_window.h"
#include "utf8_text.h"

namespace sessiya {
namespace {

// The ending's picture, or a blank square where it is unknown or cannot be read.
QIcon thumbnail(const std::filesystem::path& program_dir, const Scene* ending, int size) {
  QPixmap square(size, size);
  square.fill(QColor(0xE0, 0xE0, 0xE0));
  if (ending == nullptr) return QIcon(square);
  const std::string_view reference = ending->picture.empty() ? kDefaultPicture : ending->picture;
  QImageReader reader(QString::fromStdString(picturePath(program_dir, reference).string()));
  const QImage picture = reader.read();
  if (picture.isNull()) return QIcon(square);
  const QImage scaled = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QPainter painter(&square);  // centred on the square, so every row's text lines up
  painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
  painter.end();
  return QIcon(square);
}

}  // namespace

EndingsWindow::EndingsWindow(QWidget* parent, std::filesystem::path program_dir)
    : QDialog(parent),
      ui_(std::make_unique<Ui::EndingsWindow>()),
      program_dir_(std::move(program_dir)) {
  placeListScrollBarsBesideTheirList();
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::CustomizeWindowHint);
  ui_->buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
  connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  ui_->endings_list->installEventFilter(this);
}

EndingsWindow::~EndingsWindow() = default;

void EndingsWindow::showRecord(const EndingRecord& record, const QString& count,
                               const QString& notice) {
  ui_->found_count->setText(QStringLiteral("Найдено: ") + count);
  ui_->record_notice->setText(notice);
  ui_->record_notice->setVisible(!notice.isEmpty());
  ui_->all_found->setVisible(record.complete());
  ui_->endings_list->clear();
  const int icon_size = ui_->endings_list->iconSize().height();
  int number = 0;
  for (SceneId id : endingsInStoryOrder()) {
    const Scene& ending = scene(id);
    auto* item = new QListWidgetItem(ui_->endings_list);
    const QString place = QString::number(++number) + QStringLiteral(". ");
    if (record.contains(id)) {
      item->setText(place + fromUtf8(ending.ending_title));
      item->setIcon(thumbnail(program_dir_, &ending, icon_size));
    } else {
      const QString hint = QStringLiteral("Подсказка: ") + fromUtf8(ending.ending_hint);
      item->setText(place + QStringLiteral("???\n") + hint);
      item->setData(Qt::AccessibleTextRole, place + QStringLiteral("Не найдена. ") + hint);
      item->setIcon(thumbnail(program_dir_, nullptr, icon_size));
    }
  }
  ui_->endings_list->setCurrentRow(0);
  ui_->endings_list->setAccessibleDescription(
      (ui_->found_count->text() + QLatin1Char(' ') + notice).trimmed());
  if (isVisible()) return;
  QDialog::show();
  raise();
  activateWindow();
  ui_->endings_list->setFocus();
}

// Coming into the list, Qt reports its current row as focused first and the list itself last,
// so a screen reader names the list and never reads the row it is on: the row comes again.
bool EndingsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && QAccessible::isActive()) {
    QMetaObject::invokeMethod(this, &EndingsWindow::readCurrentRow, Qt::QueuedConnection);
  }
  return QDialog::eventFilter(watched, event);
}

void EndingsWindow::readCurrentRow() {
  QListWidget* list = ui_->endings_list;
  if (!list->hasFocus() || list->currentRow() < 0) return;
  QAccessibleEvent focus(list, QAccessible::Focus);
  focus.setChild(list->currentRow());  // one column, no headers: the row is the child's index
  QAccessible::updateAccessibility(&focus);
}

}  // namespace sessiya
