#include "link_clicks.h"

#include <QMouseEvent>
#include <QWidget>

namespace sessiya {

bool LinkClicks::completesClick(QObject* link, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) pressed_link_ = link;
      return false;
    case QEvent::MouseButtonDblClick:
      pressed_link_ = nullptr;
      return false;
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const bool clicked =
          pressed_link_ == link && mouse->button() == Qt::LeftButton &&
          static_cast<QWidget*>(link)->rect().contains(mouse->position().toPoint());
      pressed_link_ = nullptr;
      return clicked;
    }
    default:
      return false;
  }
}

}  // namespace sessiya
