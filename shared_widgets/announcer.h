#pragma once

#include <QWidget>

namespace sessiya {

// A notification a screen reader reads as it appears: no size, nothing drawn.
class SpokenNotice : public QWidget {
  Q_OBJECT

 public:
  explicit SpokenNotice(QWidget* window);

  // Shows `text` anew, so that the reader reads it even when it is the same as before.
  void say(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Makes a screen reader read what a window shows after the game changed it. Orca reads a
// focus change by itself: the focused control's name, then its description. It drops a
// focus event for the control it is already on, and it cannot read the name and
// description changes Qt 6.4 sends, so for a control that keeps the focus the window's
// notification says them.
class Announcer {
 public:
  explicit Announcer(QWidget* window);

  // Moves the focus to `target`, whose accessible name and description are already what
  // the reader should say, and has them read once.
  void focus(QWidget* target);

  // Whether a reader listens: an assistive technology is attached, or one is assumed, for a
  // test that has none to attach.
  static bool listened();
  static void assumeListener(bool assumed);

 private:
  SpokenNotice* notice_;  // owned by the window
};

}  // namespace sessiya
