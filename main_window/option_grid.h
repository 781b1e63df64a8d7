#pragma once

#include <QObject>

#include "option_buttons.h"

namespace sessiya {

// The arrow keys move the focus around the 2×2 grid of options, skipping nothing: where the
// grid ends or the neighbour is hidden, the focus stays. False where `from` is no option
// button or the key is no grid arrow, so that the key goes on as usual.
bool moveFocusInGrid(const OptionButtons& buttons, const ScreenState& screen, const QObject* from,
                     int arrow_key);

}  // namespace sessiya
