#include "story.h"

#include <limits>

#include "scene_catalogue.h"

namespace sessiya {
namespace {

// The first option a scene takes away; options above it go too.
int firstHiddenOption(Hidden hidden) {
  switch (hidden) {
    case Hidden::kNothing:
      return kOptionCount + 1;
    case Hidden::kOption4:
      return 4;
    case Hidden::kOptions3And4:
      return 3;
    case Hidden::kAll:
      return 1;
  }
  return kOptionCount + 1;
}

constexpr std::string_view kSnapshotHeader = "sessiya attempt 1\n";

// Stands in for the window while a snapshot is tried out.
class SilentHost : public StoryHost {
 public:
  void loadPicture(std::string_view) override {}
  void showDialog() override {}
};

void writeOpeningCaptions(ScreenState& screen) {
  const Scene& opening = scene(SceneId::S01);
  screen.captions[0] = sceneKey(SceneId::S01);
  screen.captions[1] = *opening.narrative;
  for (int option = 1; option <= kOptionCount; ++option) {
    screen.captions[option + 1] = *opening.options[option - 1];
  }
}

void showAllOptions(ScreenState& screen) {
  screen.option_label_visible.fill(true);
  screen.button_visible.fill(true);
}

}  // namespace

ScreenState openingScreen() {
  ScreenState screen;
  writeOpeningCaptions(screen);
  showAllOptions(screen);
  return screen;
}

Story::Story(StoryHost& host) : host_(host), screen_(openingScreen()) {}

void Story::formLoad() {
  hod_ = 0;
  moves_.clear();
}

void Story::press(int option) {
  moves_ += static_cast<char>('0' + option);
  last_press_.clear();
  // At the top of the 16-bit range the count stays put: the press is simply one more
  // move past the story's end.
  if (hod_ < std::numeric_limits<std::int16_t>::max()) ++hod_;
  bb_ = static_cast<std::int16_t>(option);
  processChoice();
}

void Story::newAttempt() {
  moves_ = "N";
  hod_ = 0;
  loadPicture(kDefaultPicture);
  screen_.picture_height = kDefaultPictureHeight;
  writeOpeningCaptions(screen_);
  showAllOptions(screen_);
}

void Story::confirmFinalAnswer() {
  moves_ += 'F';
  applyScene(scene(SceneId::S20), true);
}

std::string Story::snapshot() const { return std::string(kSnapshotHeader) + moves_ + '\n'; }

bool Story::restore(std::string_view text) {
  if (text.size() <= kSnapshotHeader.size() || !text.starts_with(kSnapshotHeader) ||
      !text.ends_with('\n')) {
    return false;
  }
  const std::string_view moves =
      text.substr(kSnapshotHeader.size(), text.size() - kSnapshotHeader.size() - 1);
  // Tried out first, so a refused snapshot leaves nothing half played.
  SilentHost silent;
  Story trial(silent);
  for (std::size_t i = 0; i < moves.size(); ++i) {
    if (!trial.replay(moves[i], i + 1 == moves.size()) || (moves[i] == 'N' && i != 0)) return false;
  }
  for (std::size_t i = 0; i < moves.size(); ++i) replay(moves[i], i + 1 == moves.size());
  return true;
}

bool Story::replay(char move, bool last) {
  if (move == 'N') {
    newAttempt();
  } else if (move == 'F' && last) {
    confirmFinalAnswer();
  } else if (move >= '1' && move <= '4' && screen_.button_visible[move - '1']) {
    press(move - '0');
  } else {
    return false;
  }
  return true;
}

void Story::processChoice() {
  neutralReset();
  const Rule* fired = nullptr;
  for (const Rule& candidate : ruleList(bb_, hod_)) {
    if (holds(candidate.test)) {
      fired = &candidate;
      break;
    }
  }
  last_press_.push_back({bb_, hod_, fired});
  if (fired != nullptr) carryOut(fired->action);
  bb_ = 0;
}

void Story::neutralReset() {
  showAllOptions(screen_);
  screen_.picture_height = kDefaultPictureHeight;
  loadPicture(kDefaultPicture);
}

bool Story::holds(const RuleTest& test) const {
  switch (test.kind) {
    case RuleTest::Kind::kNone:
      return true;
    case RuleTest::Kind::kKeyIs:
      return isSceneKey(screen_.key(), test.scene);
    case RuleTest::Kind::kOptionTextIs:
      return screen_.optionText(test.option) == *scene(test.scene).options[test.option - 1];
  }
  return false;
}

void Story::carryOut(const RuleAction& action) {
  switch (action.kind) {
    case RuleAction::Kind::kApply:
      applyScene(scene(action.scene), true);
      break;
    case RuleAction::Kind::kApplyWithoutPicture:
      applyScene(scene(action.scene), false);
      break;
    case RuleAction::Kind::kRedirect:
      if (action.sets_key) screen_.captions[0] = sceneKey(action.scene);
      bb_ = action.option;
      hod_ = action.move;
      processChoice();
      break;
    case RuleAction::Kind::kShowDialog:
      host_.showDialog();
      break;
    case RuleAction::Kind::kNothing:
      break;
  }
}

void Story::applyScene(const Scene& applied, bool with_picture) {
  if (with_picture && !applied.picture.empty()) loadPicture(applied.picture);
  if (applied.tall) screen_.picture_height = kTallPictureHeight;
  screen_.captions[0] = sceneKey(applied.id);
  if (applied.narrative) screen_.captions[1] = *applied.narrative;
  for (int option = 1; option <= kOptionCount; ++option) {
    if (const SceneText& text = applied.options[option - 1]) screen_.captions[option + 1] = *text;
  }
  for (int option = firstHiddenOption(applied.hidden); option <= kOptionCount; ++option) {
    screen_.option_label_visible[option - 1] = false;
    screen_.button_visible[option - 1] = false;
  }
}

void Story::loadPicture(std::string_view reference) {
  screen_.picture = reference;
  host_.loadPicture(reference);
}

}  // namespace sessiya
