#include "option_keys.h"

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

}  // namespace

int optionForKey(const QString& typed) {
  if (typed.size() != 1) return 0;
  const char16_t key = typed.toLower().at(0).unicode();
  for (const KeyChoice& choice : kKeyChoices) {
    if (choice.typed == key) return choice.option;
  }
  return 0;
}

bool isGridArrow(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

int optionBeside(int option, int arrow_key) {
  GridPlace place = kGrid[option - 1];
  switch (arrow_key) {
    case Qt::Key_Left:
      --place.column;
      break;
    case Qt::Key_Right:
      ++place.column;
      break;
    case Qt::Key_Up:
      --place.row;
      break;
    case Qt::Key_Down:
      ++place.row;
      break;
    default:
      return 0;
  }
  for (int beside = 1; beside <= 4; ++beside) {
    if (kGrid[beside - 1].row == place.row && kGrid[beside - 1].column == place.column) {
      return beside;
    }
  }
  return 0;
}

QString optionLetter(int option) {
  static const char16_t kLetters[] = u"АВБГ";
  return QString(QChar(kLetters[option - 1]));
}

}  // namespace sessiya
