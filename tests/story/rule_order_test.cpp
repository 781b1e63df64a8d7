#include <gtest/gtest.h>

#include <cctype>

#include "recording_host.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

TEST(RuleOrder, GoingAbroadOnMove4IsDecidedByTheOptionTextBeforeTheKey) {
  RecordingHost host;
  Story story(host);
  // S05 at move 2, then a press with no rule: the key is still S05's and Label3 its text.
  pressAll(story, {4, 1, 4});
  ASSERT_EQ(story.screen().optionText(1), "За буго-о-ор!");
  story.press(1);
  EXPECT_EQ(story.lastPress()[0].rule->id, "4a");
  EXPECT_EQ(story.screen().key(), sceneKey(S08));
  EXPECT_TRUE(allOptionsHidden(story.screen()));
}

TEST(RuleOrder, AbroadFromTheFortuneTellerKeepsHerNarrative) {
  RecordingHost host;
  Story story(host);
  pressAll(story, {4, 1});  // the newspaper, then the curse lifted: S05 at move 2
  ASSERT_EQ(story.screen().key(), sceneKey(S05));
  const std::string fortune_teller = story.screen().narrative();

  story.press(1);  // move 3, otherwise: abroad
  EXPECT_EQ(story.screen().key(), sceneKey(S08));
  EXPECT_EQ(story.screen().narrative(), fortune_teller);
  EXPECT_EQ(story.screen().picture, "\\bugor.gif");
  EXPECT_TRUE(allOptionsHidden(story.screen()));
}

TEST(RuleOrder, BeerAfterTheBeardedAdviceKeepsTheDefaultPicture) {
  RecordingHost host;
  Story story(host);
  pressAll(story, {1, 1, 1, 2, 1});  // S07, the bar S22, the advice S10 at move 5
  ASSERT_EQ(story.screen().key(), sceneKey(S10));
  host.pictures.clear();

  story.press(2);  // move 6, otherwise: S24 without its picture
  EXPECT_EQ(story.lastPress()[0].rule->id, "6c");
  EXPECT_EQ(story.screen().key(), sceneKey(S24));
  EXPECT_EQ(story.screen().picture, kDefaultPicture);
  EXPECT_EQ(host.pictures, std::vector<std::string>{"\\br_196.jpg"});
  EXPECT_TRUE(allOptionsHidden(story.screen()));
}

TEST(RuleOrder, BeerInsteadOfTheCocktailShowsItsOwnPicture) {
  RecordingHost host;
  Story story(host);
  pressAll(story, {1, 1, 1, 2, 2});  // the bar S22, then a beer on move 5
  EXPECT_EQ(story.screen().key(), sceneKey(S24));
  EXPECT_EQ(story.screen().picture, "\\1g.gif");
}

// Swaps the case of the first Latin or Cyrillic letter of UTF-8 text.
std::string flipCaseOfFirstLetter(std::string text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (std::isalpha(byte)) {
      text[i] = static_cast<char>(std::isupper(byte) ? std::tolower(byte) : std::toupper(byte));
      return text;
    }
    if ((byte == 0xD0 || byte == 0xD1) && i + 1 < text.size()) {
      char32_t letter = ((byte & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      if (letter >= U'А' && letter <= U'Я') {
        letter += 0x20;
      } else if (letter >= U'а' && letter <= U'я') {
        letter -= 0x20;
      } else if (letter == U'Ё' || letter == U'ё') {
        letter ^= (U'Ё' ^ U'ё');
      } else {
        continue;
      }
      text[i] = static_cast<char>(0xC0 | (letter >> 6));
      text[i + 1] = static_cast<char>(0x80 | (letter & 0x3F));
      return text;
    }
  }
  ADD_FAILURE() << "no letter in " << text;
  return text;
}

// The key test compares every byte: near misses of a real key never pass.
struct NearMiss {
  const char* name;
  std::string (*alter)(std::string key);
};

class KeyTest : public ::testing::TestWithParam<NearMiss> {};

TEST_P(KeyTest, RejectsANearMiss) {
  for (const Scene& entry : kSceneCatalogue) {
    const std::string& key = sceneKey(entry.id);
    ASSERT_TRUE(isSceneKey(key, entry.id));
    EXPECT_FALSE(isSceneKey(GetParam().alter(key), entry.id)) << static_cast<int>(entry.id);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Story, KeyTest,
    ::testing::Values(NearMiss{"TrailingSpace", [](std::string key) { return key + ' '; }},
                      NearMiss{"LeadingSpace", [](std::string key) { return ' ' + key; }},
                      NearMiss{"OneSpaceMoreInTheRun",
                               [](std::string key) { return key.insert(key.find("  "), " "); }},
                      NearMiss{"OneSpaceFewerInTheRun",
                               [](std::string key) { return key.erase(key.find("  "), 1); }},
                      NearMiss{"CaseOfOneLetter", flipCaseOfFirstLetter},
                      NearMiss{"RunOfSpacesAsOneTab",
                               [](std::string key) {
                                 const auto start = key.find("  ");
                                 const auto end = key.find_first_not_of(' ', start);
                                 return key.replace(start, end - start, "\t");
                               }}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sessiya::testing
