#include "option_grid.h"

#include <QPushButton>
#include <algorithm>

#include "option_keys.h"

namespace sessiya {

bool moveFocusInGrid(const OptionButtons& buttons, const ScreenState& screen, const QObject* from,
                     int arrow_key) {
  const auto button = std::find(buttons.begin(), buttons.end(), from);
  if (button == buttons.end() || !isGridArrow(arrow_key)) return false;
  const int beside = optionBeside(static_cast<int>(button - buttons.begin()) + 1, arrow_key);
  if (beside != 0 && screen.button_visible[beside - 1]) {
    buttons[beside - 1]->setFocus(Qt::TabFocusReason);
  }
  return true;
}

}  // namespace sessiya
