#include "key_choices.h"

namespace sessiya {
namespace {

struct KeyChoice {
  char16_t typed;
  int option;
};

constexpr KeyChoice kKeyChoices[] = {
    {u'1', 1}, {u'2', 3}, {u'3', 2}, {u'4', 4},  // digits in reading order
    {u'а', 1}, {u'a', 1}, {u'б', 3}, {u'в', 2}, {u'b', 2}, {u'г', 4},
};

// Row and column of each option's button in the two-by-two grid.
struct GridPlace {
  int row;
  int column;
};
constexpr GridPlace kGrid[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};

char16_t lowerCase(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я')) return c + 0x20;
  return c;
}

}  // namespace

int optionForKey(char16_t typed) {
  const char16_t key = lowerCase(typed);
  for (const KeyChoice& choice : kKeyChoices) {
    if (choice.typed == key) return choice.option;
  }
  return 0;
}

int optionBeside(int option, GridArrow arrow) {
  GridPlace place = kGrid[option - 1];
  switch (arrow) {
    case GridArrow::kLeft:
      --place.column;
      break;
    case GridArrow::kRight:
      ++place.column;
      break;
    case GridArrow::kUp:
      --place.row;
      break;
    case GridArrow::kDown:
      ++place.row;
      break;
  }
  for (int beside = 1; beside <= 4; ++beside) {
    if (kGrid[beside - 1].row == place.row && kGrid[beside - 1].column == place.column) {
      return beside;
    }
  }
  return 0;
}

char16_t spokenLetter(int option) {
  static constexpr char16_t kLetters[] = u"АВБГ";
  return kLetters[option - 1];
}

}  // namespace sessiya
