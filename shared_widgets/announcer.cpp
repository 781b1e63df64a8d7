#include "announcer.h"

#include <QAccessibleWidget>
#include <QApplication>

namespace sessiya {
namespace {

bool listener_assumed = false;

QAccessibleInterface* noticeAccessible(const QString& class_name, QObject* object) {
  if (class_name != QLatin1String(SpokenNotice::staticMetaObject.className())) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}

}  // namespace

SpokenNotice::SpokenNotice(QWidget* window) : QWidget(window) {
  static const bool role_installed = [] {
    QAccessible::installFactory(noticeAccessible);
    return true;
  }();
  Q_UNUSED(role_installed);
  setObjectName(QStringLiteral("SpokenNotice"));
  setGeometry(0, 0, 0, 0);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
  window->installEventFilter(this);
}

// A notice left showing would be read again, stale, when its window is next shown.
bool SpokenNotice::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Hide && watched == parent()) hide();
  return QWidget::eventFilter(watched, event);
}

void SpokenNotice::say(const QString& text) {
  hide();
  setAccessibleName(text);
  show();
}

Announcer::Announcer(QWidget* window) : notice_(new SpokenNotice(window)) {}

void Announcer::focus(QWidget* target) {
  if (QApplication::focusWidget() != target) {
    // The reader hears this focus change now, or when the window next becomes active.
    target->setFocus(Qt::OtherFocusReason);
    return;
  }
  // Nobody listens without an assistive technology: the notice would only cost a repaint.
  // One that attaches later hears the next move.
  if (!listened()) return;
  const QAccessibleInterface* read = QAccessible::queryAccessibleInterface(target);
  QString said = read->text(QAccessible::Description);
  const QString name = read->text(QAccessible::Name);
  if (!said.isEmpty() && !name.isEmpty()) said += QLatin1Char(' ');
  notice_->say(said + name);
}

bool Announcer::listened() { return listener_assumed || QAccessible::isActive(); }

void Announcer::assumeListener(bool assumed) { listener_assumed = assumed; }

}  // namespace sessiya
