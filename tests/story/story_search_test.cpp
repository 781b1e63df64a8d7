// Plays every sequence of presses from the opening scene, with the dialog's answers
// wherever it is open, and checks what the player sees after every step.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

#include "recording_host.h"
#include "rule_tables.h"
#include "story_walk.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

// Past move 8 no option has a rule list, so deeper moments only repeat the no-rule state.
constexpr std::int16_t kDeepestMoveExplored = 10;

std::string fingerprint(const Moment& moment) {
  const ScreenState& screen = moment.story.screen();
  std::string print;
  for (const std::string& caption : screen.captions) print.append(caption).push_back('\n');
  for (int i = 0; i < kOptionCount; ++i) {
    print.push_back(screen.option_label_visible[i] ? 'L' : 'l');
    print.push_back(screen.button_visible[i] ? 'C' : 'c');
  }
  print.append(screen.picture).append(std::to_string(screen.picture_height));
  print.append(std::to_string(moment.story.hod())).push_back(moment.dialog_open ? 'D' : 'd');
  return print;
}

class StorySearch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const Moment opening = openingMoment();
    std::deque<Moment> queue{opening};
    std::set<std::string> seen{fingerprint(opening)};
    reached_.insert(S01);
    while (!queue.empty()) {
      const Moment moment = queue.front();
      queue.pop_front();
      if (moment.story.hod() >= kDeepestMoveExplored) continue;
      for (PlayerMove move : movesFrom(moment)) {
        Moment next = play(moment, move);
        ++steps_;
        if (move == PlayerMove::kConfirmTwice) {
          checkGameOver(next.story);
        } else if (move != PlayerMove::kDecline) {
          checkPress(moment.story.screen(), next.story);
        }
        if (seen.insert(fingerprint(next)).second) queue.push_back(std::move(next));
      }
    }
    states_ = seen.size();
  }

  static void checkPress(const ScreenState& before, const Story& story) {
    const ScreenState& screen = story.screen();
    EXPECT_EQ(story.bb(), 0);
    EXPECT_TRUE(screen.picture_height == kDefaultPictureHeight ||
                screen.picture_height == kTallPictureHeight);
    for (const FiredRule& fired : story.lastPress()) {
      if (fired.rule != nullptr) fired_.insert(fired.rule);
    }
    const std::optional<SceneId> applied = appliedScene(story);
    if (!applied) {
      // Only the neutral reset: the no-rule state, or the dialog shown over it.
      EXPECT_EQ(screen.captions, before.captions);
      EXPECT_TRUE(allOptionsVisible(screen));
      EXPECT_EQ(screen.picture, kDefaultPicture);
      EXPECT_EQ(screen.picture_height, kDefaultPictureHeight);
      return;
    }
    const Scene& shown = scene(*applied);
    reached_.insert(shown.id);
    EXPECT_EQ(screen.key(), sceneKey(shown.id));
    EXPECT_EQ(screen.picture_height, shown.tall ? kTallPictureHeight : kDefaultPictureHeight);
    if (allOptionsHidden(screen)) {
      endings_.insert(shown.id);
      return;
    }
    // A scene that goes on has written every option text it leaves on screen.
    for (int option = 1; option <= kOptionCount; ++option) {
      EXPECT_EQ(screen.option_label_visible[option - 1], screen.button_visible[option - 1]);
      if (!screen.option_label_visible[option - 1]) continue;
      ASSERT_TRUE(shown.options[option - 1].has_value()) << static_cast<int>(shown.id);
      EXPECT_EQ(screen.optionText(option), *shown.options[option - 1]);
    }
  }

  static void checkGameOver(const Story& story) {
    const ScreenState& screen = story.screen();
    EXPECT_EQ(screen.key(), sceneKey(S20));
    EXPECT_EQ(screen.narrative(), *scene(S20).narrative);
    EXPECT_TRUE(allOptionsHidden(screen));
    EXPECT_EQ(screen.picture, scene(S20).picture);
    EXPECT_EQ(screen.picture_height, kTallPictureHeight);
    EXPECT_EQ(story.bb(), 0);
  }

  static inline std::set<SceneId> reached_;
  static inline std::set<SceneId> endings_;
  static inline std::set<const Rule*> fired_;
  static inline std::size_t states_ = 0;
  static inline std::size_t steps_ = 0;
};

TEST_F(StorySearch, ReachesEveryScene) {
  std::set<SceneId> all;
  for (const Scene& entry : kSceneCatalogue) all.insert(entry.id);
  EXPECT_EQ(reached_, all);
  std::cout << "explored " << states_ << " states through " << steps_ << " steps\n";
}

TEST_F(StorySearch, ExactlyTheFourteenEndingsHideEveryOption) {
  const std::set<SceneId> endings{S03, S06, S08, S11, S12, S17, S19,
                                  S20, S21, S24, S25, S26, S27, S31};
  EXPECT_EQ(endings_, endings);
  for (const Scene& entry : kSceneCatalogue) {
    EXPECT_EQ(entry.ends(), endings.contains(entry.id)) << static_cast<int>(entry.id);
  }
}

TEST_F(StorySearch, EveryRuleFires) {
  for (const RuleTable* table : {&kOption1Rules, &kOption2Rules, &kOption3Rules, &kOption4Rules}) {
    for (std::span<const Rule> list : *table) {
      for (const Rule& rule : list) EXPECT_TRUE(fired_.contains(&rule)) << rule.id;
    }
  }
}

}  // namespace
}  // namespace sessiya::testing
