#include "story_walk.h"

namespace sessiya {
namespace {

// The walk keeps no window: pictures and the dialog are the window's business.
class NoWindow : public StoryHost {
 public:
  void loadPicture(std::string_view) override {}
  void showDialog() override {}
};

NoWindow no_window;

}  // namespace

Moment openingMoment() {
  Moment opening{Story(no_window)};
  opening.story.formLoad();
  return opening;
}

bool showedDialog(const Story& story) {
  const std::vector<FiredRule>& fired = story.lastPress();
  return !fired.empty() && fired.back().rule != nullptr &&
         fired.back().rule->action.kind == RuleAction::Kind::kShowDialog;
}

std::optional<SceneId> appliedScene(const Story& story) {
  const std::vector<FiredRule>& fired = story.lastPress();
  if (fired.empty() || fired.back().rule == nullptr) return std::nullopt;
  const RuleAction& action = fired.back().rule->action;
  if (action.kind == RuleAction::Kind::kApply ||
      action.kind == RuleAction::Kind::kApplyWithoutPicture) {
    return action.scene;
  }
  return std::nullopt;
}

std::vector<PlayerMove> movesFrom(const Moment& moment) {
  std::vector<PlayerMove> moves;
  for (int option = 1; option <= kOptionCount; ++option) {
    if (moment.story.screen().button_visible[option - 1]) {
      moves.push_back(static_cast<PlayerMove>(option));
    }
  }
  if (moment.dialog_open) {
    moves.push_back(PlayerMove::kConfirmTwice);
    moves.push_back(PlayerMove::kDecline);
  }
  return moves;
}

Moment play(Moment moment, PlayerMove move) {
  switch (move) {
    case PlayerMove::kConfirmTwice:
      moment.story.confirmFinalAnswer();
      moment.dialog_open = false;
      break;
    case PlayerMove::kDecline:
      moment.dialog_open = false;
      break;
    default:
      moment.story.press(static_cast<int>(move));
      moment.dialog_open = moment.dialog_open || showedDialog(moment.story);
      break;
  }
  return moment;
}

}  // namespace sessiya
