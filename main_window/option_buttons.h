#pragma once

#include <array>

#include "screen_state.h"

class QPushButton;

namespace sessiya {

// Command1 … Command4.
using OptionButtons = std::array<QPushButton*, kOptionCount>;

}  // namespace sessiya
