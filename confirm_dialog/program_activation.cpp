#include "program_activation.h"

#include <QApplication>
#include <QEvent>

namespace sessiya {

ProgramActivation::ProgramActivation() { qApp->installEventFilter(this); }

void ProgramActivation::shown(QWidget* window) { current_ = window; }

bool ProgramActivation::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (watched->isWidgetType()) cameTo(static_cast<QWidget*>(watched)->window());
      break;
    default:
      break;
  }
  return false;
}

void ProgramActivation::cameTo(QWidget* window) {
  if (window == current_) return;
  current_ = window;
  emit windowCameIn(window);
}

}  // namespace sessiya
