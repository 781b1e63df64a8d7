#pragma once

#include <QString>

#include "key_choices.h"

namespace sessiya {

// The story library's key choices for Qt's typed text and key codes.

// The option a typed key chooses (see optionForKey of key_choices.h); 0 for any other key.
int optionForKey(const QString& typed);

// Whether the key is one of the four arrows that move the focus around the grid.
bool isGridArrow(int key);

// The button that stands in the grid next to option `option` in the arrow's direction,
// or 0 where the grid ends.
int optionBeside(int option, int arrow_key);

// The Cyrillic letter a screen reader says for option 1 … 4: А, В, Б, Г.
QString optionLetter(int option);

}  // namespace sessiya
