#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "story.h"

namespace sessiya {

// One moment of a game: the story and whether the answer dialog is waiting.
struct Moment {
  Story story;
  bool dialog_open = false;
};

// What the player can do next: press a visible option, or answer the open dialog.
enum class PlayerMove : std::uint8_t {
  kOption1 = 1,
  kOption2,
  kOption3,
  kOption4,
  kConfirmTwice,  // "Да!" twice in a row: the game-over
  kDecline,       // "Не-а! Я пошутил!" or the close box
};

// The opening moment, before any press, as the window first shows it.
Moment openingMoment();
std::vector<PlayerMove> movesFrom(const Moment& moment);
Moment play(Moment moment, PlayerMove move);

// Whether the last press showed the dialog.
bool showedDialog(const Story& story);
// The scene the last press applied, directly or through a redirect; none where it found
// no rule, did nothing or showed the dialog.
std::optional<SceneId> appliedScene(const Story& story);

}  // namespace sessiya
