#pragma once

#include <cstdint>
#include <string_view>

namespace sessiya {

// What moving the mouse over a part of the main window does to the two link colours.
enum class LinkHover : std::uint8_t {
  kNone,         // no mouse-move handler: nothing changes
  kMailBlue,     // Label7_MouseMove
  kWebsiteBlue,  // Label9_MouseMove
  kBothRed,      // Frame1_MouseMove, Label1_MouseMove, Label2_MouseMove
  kMailRedOnly,  // Form_MouseMove: Label9 keeps its colour
};

// The handler of the control named `control`; an empty name is the bare window.
LinkHover linkHoverOver(std::string_view control);

}  // namespace sessiya
