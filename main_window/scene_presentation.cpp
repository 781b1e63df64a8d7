#include "scene_presentation.h"

#include <QPushButton>

#include "key_choices.h"
#include "option_keys.h"
#include "spoken_scene.h"
#include "utf8_text.h"

namespace sessiya {

void presentScene(const ScreenState& screen, const OptionButtons& buttons, QWidget* surface,
                  std::string_view new_attempt_command, Announcer* announcer) {
  QPushButton* first = nullptr;
  for (int option : kReadingOrder) {
    if (screen.button_visible[option - 1]) {
      first = buttons[option - 1];
      break;
    }
  }
  const QString scene = fromUtf8(spokenScene(screen));
  for (int option = 1; option <= kOptionCount; ++option) {
    QPushButton* button = buttons[option - 1];
    button->setAccessibleName(optionLetter(option) + QStringLiteral(". ") +
                              QString::fromStdString(screen.optionText(option)));
    button->setAccessibleDescription(button == first ? scene : QString());
  }
  surface->setAccessibleDescription(
      first ? QString() : scene + QLatin1Char(' ') + fromUtf8(attemptOverCue(new_attempt_command)));
  QWidget* focus = first ? static_cast<QWidget*>(first) : surface;
  if (announcer) {
    announcer->focus(focus);
  } else {
    focus->setFocus(Qt::OtherFocusReason);
  }
}

}  // namespace sessiya
