#include <gtest/gtest.h>

#include "recording_host.h"
#include "spoken_scene.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

struct EpigraphCase {
  const char* name;
  const char* key;
  const char* spoken;
};

class SpokenEpigraph : public ::testing::TestWithParam<EpigraphCase> {};

TEST_P(SpokenEpigraph, ClosesUpTheRunsAndEndsTheSentence) {
  EXPECT_EQ(spokenEpigraph(GetParam().key), GetParam().spoken);
}

INSTANTIATE_TEST_SUITE_P(
    Story, SpokenEpigraph,
    ::testing::Values(EpigraphCase{"TwoRuns", "Лёд     тронулся!      Бендер",
                                   "Лёд тронулся! Бендер."},
                      EpigraphCase{"ClosingMarkKept", "Всё?    Нет!", "Всё? Нет!"},
                      EpigraphCase{"QuoteMarkCloses", "Он:    «Да»", "Он: «Да»"},
                      EpigraphCase{"EdgeSpaces", "  Тише  ", "Тише."},
                      EpigraphCase{"Empty", "", ""}),
    [](const auto& info) { return info.param.name; });

TEST(SpokenScene, ReadsEveryCatalogueEpigraphWithoutItsRuns) {
  for (const Scene& entry : kSceneCatalogue) {
    const std::string spoken = spokenEpigraph(sceneKey(entry.id));
    EXPECT_EQ(spoken.find("  "), std::string::npos) << static_cast<int>(entry.id);
    // the attribution closes what is said, with at most a full stop after it
    const std::string_view attribution = entry.epigraph.attribution;
    ASSERT_FALSE(attribution.empty()) << static_cast<int>(entry.id);
    std::string_view said = spoken;
    if (said.ends_with('.') && !attribution.ends_with('.')) said.remove_suffix(1);
    EXPECT_TRUE(said.ends_with(attribution)) << spoken;
  }
}

TEST(SpokenScene, SaysTheEpigraphTheNarrativeAndThePicture) {
  RecordingHost host;
  Story story(host);
  story.press(1);  // S02, with a picture of its own
  const std::string spoken = spokenScene(story.screen());
  EXPECT_TRUE(
      spoken.starts_with(spokenEpigraph(sceneKey(S02)).append(" ").append(*scene(S02).narrative)));
  EXPECT_TRUE(spoken.ends_with("."));
  EXPECT_NE(spoken.find("На картинке: "), std::string::npos);
  EXPECT_NE(spokenScene(openingScreen()).find("На картинке: "), std::string::npos);
}

TEST(SpokenScene, TheCueNamesHowToStartAgain) {
  EXPECT_EQ(attemptOverCue("Ctrl+N"), "Эта попытка окончена. Новую начинает Ctrl+N.");
}

}  // namespace
}  // namespace sessiya::testing
