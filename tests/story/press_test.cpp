#include <gtest/gtest.h>

#include <limits>

#include "recording_host.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

TEST(Press, StartsAtTheOpeningSceneWithTheStoredPicture) {
  RecordingHost host;
  Story story(host);
  story.formLoad();
  EXPECT_EQ(story.screen(), openingScreen());
  EXPECT_EQ(story.screen().key(), sceneKey(S01));
  EXPECT_TRUE(story.screen().picture.empty());
  EXPECT_TRUE(allOptionsVisible(story.screen()));
  EXPECT_EQ(story.hod(), 0);
  EXPECT_EQ(story.bb(), 0);
  EXPECT_TRUE(host.pictures.empty());
}

TEST(Press, EveryStepLoadsTheDefaultPictureFirst) {
  RecordingHost host;
  Story story(host);
  story.press(1);  // S02 with its own picture
  EXPECT_EQ(host.pictures, (std::vector<std::string>{"\\br_196.jpg", "\\66.jpg"}));
  EXPECT_EQ(story.screen().picture, "\\66.jpg");
  EXPECT_EQ(story.hod(), 1);
  EXPECT_EQ(story.bb(), 0);
}

TEST(Press, ATallSceneIsUndoneByTheNextStep) {
  RecordingHost host;
  Story story(host);
  pressAll(story, {3, 1});  // S28, then S03 which is tall
  EXPECT_EQ(story.screen().key(), sceneKey(S03));
  EXPECT_EQ(story.screen().picture_height, kTallPictureHeight);
  story.press(1);  // move 3 finds no rule for S03's key: 3d applies S08
  EXPECT_EQ(story.screen().picture_height, kDefaultPictureHeight);
}

// A press the story has no rule for: the previous captions stay, every option comes back.
struct NoRuleCase {
  const char* name;
  std::vector<int> before;  // presses that lead to the scene
  int option;               // the press that finds no rule
  SceneId shown;            // scene whose captions stay
  std::int16_t hod;
};

class NoRuleState : public ::testing::TestWithParam<NoRuleCase> {};

TEST_P(NoRuleState, KeepsCaptionsAndShowsEverything) {
  const NoRuleCase& c = GetParam();
  RecordingHost host;
  Story story(host);
  for (int option : c.before) story.press(option);
  const ScreenState before = story.screen();
  ASSERT_EQ(before.key(), sceneKey(c.shown));

  story.press(c.option);

  EXPECT_EQ(story.screen().captions, before.captions);
  EXPECT_TRUE(allOptionsVisible(story.screen()));
  EXPECT_EQ(story.screen().picture, kDefaultPicture);
  EXPECT_EQ(story.screen().picture_height, kDefaultPictureHeight);
  EXPECT_EQ(story.hod(), c.hod);
  EXPECT_EQ(story.bb(), 0);
  EXPECT_FALSE(appliedScene(story));
}

INSTANTIATE_TEST_SUITE_P(
    Story, NoRuleState,
    ::testing::Values(NoRuleCase{"Option4PastMove1", {1}, 4, S02, 2},
                      NoRuleCase{"Option1Move4OutsideS07", {4, 4, 4}, 1, S32, 4},
                      NoRuleCase{"Option1Move5OutsideItsScenes", {1, 1, 1, 4}, 1, S07, 5},
                      NoRuleCase{"Option2Move4OutsideS07", {4, 3, 4}, 2, S29, 4},
                      NoRuleCase{"Option2Move7OutsideS13AndS14", {4, 4, 4, 4, 4, 4}, 2, S32, 7},
                      NoRuleCase{"Option3Move8", {3, 3, 3, 3, 3}, 3, S16, 8},
                      NoRuleCase{"Option1Move9", {1, 1, 1, 1, 2, 1, 1, 4}, 1, S16, 9},
                      NoRuleCase{"Option2Move9", {1, 1, 1, 1, 2, 1, 1, 4}, 2, S16, 9}),
    [](const auto& info) { return info.param.name; });

TEST(Press, NoRuleStateShowsStaleCaptionsOfHiddenOptions) {
  RecordingHost host;
  Story story(host);
  pressAll(story, {1, 3});  // S02, then S28 through a redirect (hod back to 1)
  pressAll(story, {4, 4});  // no rule on moves 2 and 3; S28's captions stay
  pressAll(story, {4});     // move 4 for option 4: still nothing
  EXPECT_EQ(story.screen().key(), sceneKey(S28));
  // Label6 was hidden by S28 but still holds the opening scene's text.
  EXPECT_EQ(story.screen().optionText(4), *scene(S01).options[3]);
  EXPECT_TRUE(allOptionsVisible(story.screen()));
}

TEST(Press, CountsOnFromARedirectedMove) {
  RecordingHost host;
  Story story(host);
  pressAll(story, {1, 3});  // S02, then option 3 on move 2 redirects to move 1: S28
  EXPECT_EQ(story.screen().key(), sceneKey(S28));
  EXPECT_EQ(story.hod(), 1);
  story.press(1);  // move 2 again: the drink ending
  EXPECT_EQ(story.screen().key(), sceneKey(S03));
  EXPECT_EQ(story.hod(), 2);
}

TEST(Press, AtTheTopOfTheCountStaysThereAndFindsNoRule) {
  RecordingHost host;
  Story story(host);
  constexpr int kTop = std::numeric_limits<std::int16_t>::max();
  for (int press = 0; press < kTop; ++press) story.press(4);
  ASSERT_EQ(story.hod(), kTop);
  const ScreenState before = story.screen();

  story.press(2);
  EXPECT_EQ(story.hod(), kTop);
  EXPECT_EQ(story.bb(), 0);
  EXPECT_EQ(story.screen(), before);
  ASSERT_EQ(story.lastPress().size(), 1u);
  EXPECT_EQ(story.lastPress()[0].move, kTop);
  EXPECT_EQ(story.lastPress()[0].rule, nullptr);
}

TEST(Press, NewAttemptAfterAnEndingRestartsTheCount) {
  RecordingHost host;
  Story story(host);
  pressAll(story, {3, 1});  // the drink ending, tall picture
  ASSERT_TRUE(allOptionsHidden(story.screen()));
  host.pictures.clear();

  story.newAttempt();
  ScreenState expected = openingScreen();
  expected.picture = kDefaultPicture;
  EXPECT_EQ(story.screen(), expected);
  EXPECT_EQ(host.pictures, std::vector<std::string>{"\\br_196.jpg"});
  EXPECT_EQ(story.hod(), 0);

  story.press(1);
  EXPECT_EQ(story.screen().key(), sceneKey(S02));
  EXPECT_EQ(story.hod(), 1);
}

TEST(Press, Option2FirstShowsTheDialogAndAppliesNothing) {
  RecordingHost host;
  Story story(host);
  story.press(2);
  EXPECT_EQ(host.dialogs_shown, 1);
  EXPECT_EQ(story.screen().captions, openingScreen().captions);
  EXPECT_TRUE(allOptionsVisible(story.screen()));
  EXPECT_EQ(story.screen().picture, kDefaultPicture);
  EXPECT_EQ(story.hod(), 1);
  EXPECT_EQ(story.bb(), 0);

  story.press(2);  // the dialog waits; this is move 2 in S01: the bought diploma
  EXPECT_EQ(story.screen().key(), sceneKey(S19));
}

TEST(Press, FinalAnswerWritesTheGameOverOverWhateverIsShown) {
  RecordingHost host;
  Story story(host);
  pressAll(story, {2, 3, 3});  // the dialog waits while two moves lead to S29 and S21
  const std::int16_t hod = story.hod();
  host.pictures.clear();

  story.confirmFinalAnswer();
  EXPECT_EQ(story.screen().key(), sceneKey(S20));
  EXPECT_EQ(story.screen().narrative(), *scene(S20).narrative);
  EXPECT_TRUE(allOptionsHidden(story.screen()));
  EXPECT_EQ(story.screen().picture, "\\k1.jpg");
  EXPECT_EQ(host.pictures, std::vector<std::string>{"\\k1.jpg"});
  EXPECT_EQ(story.screen().picture_height, kTallPictureHeight);
  EXPECT_EQ(story.hod(), hod);
}

TEST(Snapshot, BringsTheAttemptBackAsItWas) {
  const std::vector<std::vector<int>> attempts = {{}, {1, 3}, {3, 1}, {2, 3, 3}};
  for (bool fresh_attempt : {false, true}) {
    for (const std::vector<int>& presses : attempts) {
      RecordingHost host;
      Story story(host);
      if (fresh_attempt) story.newAttempt();
      for (int option : presses) story.press(option);
      if (presses.size() == 3) story.confirmFinalAnswer();

      RecordingHost again_host;
      Story again(again_host);
      ASSERT_TRUE(again.restore(story.snapshot())) << story.snapshot();
      EXPECT_EQ(again.screen(), story.screen()) << story.snapshot();
      EXPECT_EQ(again.hod(), story.hod());
      EXPECT_EQ(again.snapshot(), story.snapshot());
      EXPECT_LE(story.snapshot().size(), 30u);
    }
  }
}

TEST(Snapshot, RefusesAnythingDamagedAndLeavesTheStoryAlone) {
  for (const char* damaged :
       {"", "sessiya attempt 1\n", "sessiya attempt 2\n1\n", "sessiya attempt 1\n1", "garbage\n",
        "sessiya attempt 1\n15\n", "sessiya attempt 1\n1N\n", "sessiya attempt 1\nF1\n",
        "sessiya attempt 1\n134\n",  // S28 offers no option 4
        "sessiya attempt 1\n311\n",  // nothing after the drink ending
        "sessiya attempt 1\n1\n\n"}) {
    RecordingHost host;
    Story story(host);
    story.formLoad();
    EXPECT_FALSE(story.restore(damaged)) << damaged;
    EXPECT_EQ(story.screen(), openingScreen()) << damaged;
    EXPECT_TRUE(host.pictures.empty()) << damaged;
    EXPECT_EQ(story.snapshot(), "sessiya attempt 1\n\n");
  }
}

}  // namespace
}  // namespace sessiya::testing
