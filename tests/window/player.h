#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWindow>
#include <memory>

#include "form1.h"
#include "form2.h"

namespace sessiya::testing {

inline constexpr int kTwipsPerPixel = 15;

// A place in a window's client area, in twips as the stored layout gives it.
struct Place {
  int left, top, width, height;
  QRect pixels() const {
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
            height / kTwipsPerPixel};
  }
};

inline bool waitUntil(const std::function<bool()>& condition) {
  for (int round = 0; round < 100 && !condition(); ++round) {
    QCoreApplication::processEvents();
    QTest::qWait(5);
  }
  return condition();
}

// The window comes to the front as a click into it would bring it.
inline void activate(QWidget* window) {
  if (window->isActiveWindow()) return;
  window->activateWindow();
  ASSERT_TRUE(waitUntil([window] { return window->isActiveWindow(); }));
}

// Clicks as a player does: at a point of the window's client area, reaching whatever is
// drawn there (nothing happens where a hidden control used to be).
inline void clickAt(QWidget* window, QWidget* client_area, QPoint point) {
  activate(window);
  const QPoint in_window = client_area->mapTo(window, point);
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, in_window);
  QCoreApplication::processEvents();
}

inline void moveMouseTo(QWidget* window, QWidget* client_area, QPoint point) {
  QTest::mouseMove(window->windowHandle(), client_area->mapTo(window, point));
  QCoreApplication::processEvents();
}

// Where the option buttons stand in the main window, in twips.
inline constexpr Place kOptionButtons[] = {
    {480, 4080, 375, 495}, {480, 5040, 375, 495}, {4920, 4080, 375, 495}, {4920, 5040, 375, 495}};
// The dialog's two buttons: "Да!" and "Не-а! Я пошутил!".
inline constexpr Place kYes{4920, 2280, 1455, 735};
inline constexpr Place kNo{7080, 2280, 1455, 735};

// The main window of a game in progress, with the pictures of `program_dir`.
class Player {
 public:
  explicit Player(const std::filesystem::path& program_dir = SESSIYA_PROGRAM_DIR)
      : form(std::make_unique<Form1>(program_dir)) {
    form->show();
    activate(form.get());
  }
  ~Player() {
    if (form->dialog() != nullptr) form->dialog()->hide();
  }

  void press(int option) {
    clickAt(form.get(), form->centralWidget(), kOptionButtons[option - 1].pixels().center());
  }
  void pressAll(std::initializer_list<int> options) {
    for (int option : options) press(option);
  }
  void answer(const Place& button) {
    ASSERT_NE(form->dialog(), nullptr);
    clickAt(form->dialog(), form->dialog(), button.pixels().center());
  }
  // Types as the player does: where the window system sends the keys, into whatever holds the
  // keyboard focus of the active window. With no window of the game active they reach nothing.
  void type(const QString& typed) {
    if (QWidget* focus = keyboardFocus()) {
      QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, typed, Qt::NoModifier);
    }
    QCoreApplication::processEvents();
  }
  void typeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QWidget* focus = keyboardFocus()) QTest::keyClick(focus, key, modifiers);
    QCoreApplication::processEvents();
  }
  void menu(const char* item) {
    form->findChild<QAction*>(item)->trigger();
    QCoreApplication::processEvents();
  }

  template <typename Widget = QWidget>
  Widget* control(const char* name) const {
    return form->findChild<Widget*>(name);
  }
  QString caption(const char* label) const { return control<QLabel>(label)->text(); }
  bool dialogShown() const {
    return form->dialog() != nullptr && form->dialog()->isVisible() &&
           !form->dialog()->isMinimized();
  }

  std::unique_ptr<Form1> form;

 private:
  static QWidget* keyboardFocus() {
    return QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
  }
};

inline QString text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace sessiya::testing
