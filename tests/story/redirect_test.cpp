#include <gtest/gtest.h>

#include "recording_host.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

// Each redirect of the story: the presses that reach it, the scene the nested run
// applies and the move count the redirect leaves behind.
struct RedirectCase {
  const char* name;
  std::vector<int> presses;  // the last press redirects
  std::int16_t option;       // the list that redirects
  std::string_view rule;
  std::int16_t nested_option;
  std::int16_t nested_move;
  SceneId shown;
  std::int16_t hod;
};

class Redirect : public ::testing::TestWithParam<RedirectCase> {};

TEST_P(Redirect, RunsTheTargetListOnceAndKeepsItsMove) {
  const RedirectCase& c = GetParam();
  RecordingHost host;
  Story story(host);
  for (std::size_t i = 0; i + 1 < c.presses.size(); ++i) story.press(c.presses[i]);
  host.pictures.clear();
  story.press(c.presses.back());

  ASSERT_EQ(story.lastPress().size(), 2u);
  const FiredRule& outer = story.lastPress()[0];
  const FiredRule& nested = story.lastPress()[1];
  ASSERT_NE(outer.rule, nullptr);
  EXPECT_EQ(outer.option, c.option);
  EXPECT_EQ(outer.rule->id, c.rule);
  EXPECT_EQ(outer.rule->action.kind, RuleAction::Kind::kRedirect);
  ASSERT_NE(nested.rule, nullptr);
  EXPECT_EQ(nested.option, c.nested_option);
  EXPECT_EQ(nested.move, c.nested_move);
  EXPECT_EQ(nested.rule->action.kind, RuleAction::Kind::kApply);

  EXPECT_EQ(story.screen().key(), sceneKey(c.shown));
  EXPECT_EQ(appliedScene(story), c.shown);
  EXPECT_EQ(story.hod(), c.hod);
  EXPECT_EQ(story.bb(), 0);
  // Two runs of the step: two neutral resets, each loading the default picture.
  std::vector<std::string> loads(2, std::string(kDefaultPicture));
  if (!scene(c.shown).picture.empty()) loads.emplace_back(scene(c.shown).picture);
  EXPECT_EQ(host.pictures, loads);
}

INSTANTIATE_TEST_SUITE_P(
    Story, Redirect,
    ::testing::Values(
        RedirectCase{"Option1PhonesFriendsFromS29", {4, 3, 1}, 1, "3c", 3, 1, S28, 1},
        RedirectCase{"Option1FlushesFromS14", {1, 1, 1, 3, 2, 1, 1}, 1, "7b", 2, 6, S26, 6},
        RedirectCase{"Option2AsksMoreFromS04", {1, 1, 2}, 2, "3b", 3, 1, S28, 1},
        RedirectCase{"Option2SearchesOnFromS18", {3, 2, 2}, 2, "3c", 1, 3, S07, 3},
        RedirectCase{"Option2CelebratesFromS16", {1, 1, 1, 1, 2, 1, 1, 2}, 2, "8a", 2, 4, S22, 4},
        RedirectCase{"Option3CallsFriendsFromS02", {1, 3}, 3, "2a", 3, 1, S28, 1},
        RedirectCase{"Option3TrustsTheAbbreviationFromS28", {3, 3}, 3, "2b", 1, 3, S07, 3},
        RedirectCase{"Option3SearchesFromMemoryInS04", {1, 1, 3}, 3, "3a", 2, 2, S18, 2},
        RedirectCase{"Option3AdmitsEverythingOnMove6", {1, 1, 1, 1, 2, 3}, 3, "6a", 1, 7, S16, 7}),
    [](const auto& info) { return info.param.name; });

TEST(Redirect, NextPressCountsFromTheRewrittenMove) {
  RecordingHost host;
  Story story(host);
  pressAll(story, {4, 3, 1});  // S32, S29, then the phone poll S28 at move 1
  ASSERT_EQ(story.hod(), 1);
  story.press(2);  // move 2 in S28: the institute of fertilisers and poisons
  EXPECT_EQ(story.screen().key(), sceneKey(S18));
  EXPECT_EQ(story.hod(), 2);
}

TEST(Redirect, CelebrationEndsNextDoorWhileTheFortuneTellersAdviceIsShown) {
  RecordingHost host;
  Story story(host);
  // S05 at move 3 (newspaper, companion, curse), then presses with no rule up to move 7:
  // the caption beside option 2 still holds S05's text when the celebration redirects.
  pressAll(story, {4, 3, 2, 4, 4, 4, 4});
  ASSERT_EQ(story.screen().optionText(2), *scene(S05).options[1]);
  story.press(2);
  EXPECT_EQ(story.screen().key(), sceneKey(S21));
  EXPECT_EQ(story.hod(), 4);
  EXPECT_EQ(story.lastPress()[1].rule->id, "4a");
}

}  // namespace
}  // namespace sessiya::testing
