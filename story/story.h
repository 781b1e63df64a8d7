#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules.h"
#include "scene.h"
#include "screen_state.h"
#include "story_host.h"

namespace sessiya {

// A rule the step carried out, for the story map and the tests.
struct FiredRule {
  std::int16_t option;
  std::int16_t move;
  const Rule* rule;  // null when the pair has no list or no rule held
};

// The story: the main window's screen state, the move counter `hod`, the option in
// progress `bb`, and the step that turns a button press into the next scene.
class Story {
 public:
  explicit Story(StoryHost& host);

  const ScreenState& screen() const { return screen_; }
  std::int16_t hod() const { return hod_; }
  std::int16_t bb() const { return bb_; }

  // Form_Load: the move count starts at 0.
  void formLoad();
  // CommandN_Click for option 1 … 4.
  void press(int option);
  // m_new_Click: back to the opening scene with the move count at 0.
  void newAttempt();
  // The dialog's second "Да!": the game-over scene S20, written without a reset.
  void confirmFinalAnswer();

  // The attempt in progress as a short text, for a page that must come back to it.
  std::string snapshot() const;
  // On a story just loaded: plays again the attempt a snapshot holds. Anything that is not
  // a snapshot's text, or asks for a move the screen did not offer, is refused: false, and
  // the story is left as it was.
  bool restore(std::string_view text);

  // The rules the last press carried out, outermost first.
  const std::vector<FiredRule>& lastPress() const { return last_press_; }

 private:
  bool replay(char move, bool last);
  void processChoice();
  void neutralReset();
  bool holds(const RuleTest& test) const;
  void carryOut(const RuleAction& action);
  void applyScene(const Scene& scene, bool with_picture);
  void loadPicture(std::string_view reference);

  StoryHost& host_;
  ScreenState screen_;
  std::int16_t hod_ = 0;
  std::int16_t bb_ = 0;
  std::vector<FiredRule> last_press_;
  // The moves since the game or the attempt began: 'N' a new attempt (first only), '1' … '4'
  // a press, 'F' the final answer (last only).
  std::string moves_;
};

// The opening scene as the window's stored layout shows it, before any picture is read.
ScreenState openingScreen();

}  // namespace sessiya
