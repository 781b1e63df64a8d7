#include "option_keys.h"

namespace sessiya {
namespace {

struct ArrowKey {
  int key;
  GridArrow arrow;
};

constexpr ArrowKey kArrows[] = {
    {Qt::Key_Left, GridArrow::kLeft},
    {Qt::Key_Right, GridArrow::kRight},
    {Qt::Key_Up, GridArrow::kUp},
    {Qt::Key_Down, GridArrow::kDown},
};

}  // namespace

int optionForKey(const QString& typed) {
  if (typed.size() != 1) return 0;
  return optionForKey(char16_t(typed.at(0).unicode()));
}

bool isGridArrow(int key) {
  for (const ArrowKey& arrow : kArrows) {
    if (arrow.key == key) return true;
  }
  return false;
}

int optionBeside(int option, int arrow_key) {
  for (const ArrowKey& arrow : kArrows) {
    if (arrow.key == arrow_key) return optionBeside(option, arrow.arrow);
  }
  return 0;
}

QString optionLetter(int option) { return QString(QChar(spokenLetter(option))); }

}  // namespace sessiya
