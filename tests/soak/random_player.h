#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "player.h"

namespace sessiya::testing {

// One thing a player does to the two windows.
struct SoakEvent {
  enum class Kind : std::uint8_t {
    kClickOption,     // a click where option `parameter`'s button stands, shown or not
    kTypeKey,         // one of kTypedKeys
    kMenuNewAttempt,  // "Новая попытка"
    kAnswerYes,       // "Да!", if the dialog is open
    kAnswerNo,        // "Не-а! Я пошутил!", if the dialog is open
    kCloseDialog,     // the dialog's close box, if it is open
    kActivateMain,    // a click on the main window's title bar
    kActivateDialog,  // the same on the dialog's, if it is open
  };
  Kind kind;
  int parameter = 0;

  std::string describe() const;
};

// Events drawn from a seeded generator, the same for the same seed.
class EventSource {
 public:
  explicit EventSource(std::uint64_t seed) : random_(seed) {}
  SoakEvent next();

 private:
  std::mt19937_64 random_;
};

// Plays events on a game and checks after each what must always hold.
class RandomPlayer {
 public:
  explicit RandomPlayer(Player& player) : player_(player) {}
  void play(const SoakEvent& event);
  // What is wrong with the windows now, if anything.
  std::optional<std::string> problem() const;

 private:
  Player& player_;
};

// Plays `events` on a fresh game; the index of the first event after which something is
// wrong, with what, or nothing.
struct Failure {
  std::size_t index;
  std::string problem;
};
std::optional<Failure> replay(const std::vector<SoakEvent>& events);

// The shortest sequence found that still fails, from a failing one.
std::vector<SoakEvent> shrink(std::vector<SoakEvent> failing);

}  // namespace sessiya::testing
