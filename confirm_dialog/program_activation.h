#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace sessiya {

// Which of the program's own windows the player is in. A window comes in when the window
// system activates it coming from another window of the program, or as soon as the player
// presses a mouse button in it: the press counts first, whatever order the platform
// delivers activation and mouse events in. Leaving the program and coming back to the same
// window is no change.
class ProgramActivation : public QObject {
  Q_OBJECT

 public:
  ProgramActivation();

  // The window was shown and so came in, whether or not the window system activates it.
  void shown(QWidget* window);

 signals:
  void windowCameIn(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void cameTo(QWidget* window);

  QPointer<QWidget> current_;
};

}  // namespace sessiya
