#pragma once

class QEvent;
class QObject;

namespace sessiya {

// A click on a contact link is a left press and a release over the same link. The second
// click of a double-click arrives as a double-click event, which opens nothing.
class LinkClicks {
 public:
  // Follows one mouse event on `link`; true where it completes a click on it.
  bool completesClick(QObject* link, QEvent* event);

 private:
  QObject* pressed_link_ = nullptr;  // the link a left button went down on
};

}  // namespace sessiya
