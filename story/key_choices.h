#pragma once

#include <cstdint>

namespace sessiya {

// The option a typed character chooses, in the order a Russian reader reads the grid
// А Б / В Г: 1 or А is option 1, 2 or Б option 3, 3 or В option 2, 4 or Г option 4 (Latin
// A and B stand for А and В, as on the buttons), in either case. 0 for any other character.
int optionForKey(char16_t typed);

enum class GridArrow : std::uint8_t { kLeft, kRight, kUp, kDown };

// The button that stands in the grid next to option `option` in the arrow's direction,
// or 0 where the grid ends.
int optionBeside(int option, GridArrow arrow);

// The options in reading order: Command1, Command3, Command2, Command4.
inline constexpr int kReadingOrder[] = {1, 3, 2, 4};

// The Cyrillic letter a screen reader says for option 1 … 4: А, В, Б, Г.
char16_t spokenLetter(int option);

}  // namespace sessiya
