#pragma once

#include <string_view>

#include "announcer.h"
#include "option_buttons.h"

namespace sessiya {

// Tells a screen reader what a scene shows. Each option is named by its letter and text; the
// first one in reading order also carries the scene (epigraph, narrative, picture) and takes
// the focus, so the reader reads them together. At an ending no option is left: `surface`
// takes the focus and says the scene and how to start again with `new_attempt_command`.
// `announcer` has the focus change read; null moves the focus without a word, for a press
// whose dialog is what is to be heard.
void presentScene(const ScreenState& screen, const OptionButtons& buttons, QWidget* surface,
                  std::string_view new_attempt_command, Announcer* announcer);

}  // namespace sessiya
