#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ending_record.h"
#include "scene_catalogue.h"
#include "story_walk.h"
#include "utf16_length.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

TEST(Endings, EveryEndingHasATitleAndAHintAndNoOtherSceneHas) {
  std::set<SceneId> listed(endingsInStoryOrder().begin(), endingsInStoryOrder().end());
  EXPECT_EQ(listed.size(), static_cast<std::size_t>(kEndingCount));
  for (const Scene& entry : kSceneCatalogue) {
    SCOPED_TRACE(static_cast<int>(entry.id));
    EXPECT_EQ(listed.contains(entry.id), entry.ends());
    EXPECT_EQ(entry.ending_title.empty(), !entry.ends());
    EXPECT_EQ(entry.ending_hint.empty(), !entry.ends());
    EXPECT_LE(utf16Length(entry.ending_title), 40u);
  }
}

// Every path of the story, to a depth that reaches all fourteen endings: the window's
// screen names the ending exactly where every option is gone.
TEST(Endings, TheScreenNamesTheEndingItShows) {
  std::set<SceneId> seen;
  std::vector<Moment> frontier{openingMoment()};
  for (int depth = 0; depth < 8 && !frontier.empty(); ++depth) {
    std::vector<Moment> next;
    for (const Moment& moment : frontier) {
      for (PlayerMove move : movesFrom(moment)) {
        Moment after = play(moment, move);
        const std::optional<SceneId> ending = endingOnScreen(after.story.screen());
        const bool open = std::ranges::any_of(after.story.screen().button_visible,
                                              [](bool visible) { return visible; });
        EXPECT_EQ(ending.has_value(), !open);
        if (ending) {
          EXPECT_TRUE(isSceneKey(after.story.screen().key(), *ending));
          seen.insert(*ending);
        } else {
          next.push_back(std::move(after));
        }
      }
    }
    frontier = std::move(next);
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kEndingCount));
}

TEST(EndingRecord, KeepsEachEndingOnceAndRoundTrips) {
  EndingRecord record;
  EXPECT_TRUE(record.add(S20));
  EXPECT_FALSE(record.add(S20));
  EXPECT_TRUE(record.add(S03));
  EXPECT_EQ(record.count(), 2);
  EXPECT_EQ(record.text(), "sessiya endings 1\nS03\nS20\n");
  EXPECT_EQ(EndingRecord::parse(record.text()).record, record);
  EXPECT_EQ(EndingRecord::parse("sessiya endings 1\n").record, EndingRecord{});
  // As an editor may save it: a byte order mark, "\r\n" line ends.
  EXPECT_EQ(EndingRecord::parse("\xEF\xBB\xBFsessiya endings 1\r\nS20\r\nS03\r\n").record, record);

  EndingRecord other;
  other.add(S31);
  other.add(S03);
  record.merge(other);
  EXPECT_EQ(record.text(), "sessiya endings 1\nS03\nS20\nS31\n");
}

TEST(EndingRecord, CompleteWithAllFourteen) {
  EndingRecord record;
  for (SceneId ending : endingsInStoryOrder()) {
    EXPECT_FALSE(record.complete());
    record.add(ending);
  }
  EXPECT_TRUE(record.complete());
}

struct DamagedCase {
  const char* name;
  std::string_view text;
  std::string_view problem;
  bool newer = false;
};

class DamagedRecord : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedRecord, IsRefusedWithItsReason) {
  const EndingRecord::Parsed parsed = EndingRecord::parse(GetParam().text);
  EXPECT_FALSE(parsed.record.has_value());
  EXPECT_NE(parsed.problem.find(GetParam().problem), std::string::npos) << parsed.problem;
  EXPECT_EQ(parsed.newer, GetParam().newer);
}

INSTANTIATE_TEST_SUITE_P(
    Story, DamagedRecord,
    ::testing::Values(DamagedCase{"Empty", "", "empty"},
                      DamagedCase{"Garbage", "\x89PNG\r\n\x1a\n", "does not start"},
                      DamagedCase{"TruncatedLastLine", "sessiya endings 1\nS03\nS2", "cut off"},
                      DamagedCase{"UnknownName", "sessiya endings 1\nS99\n", "\"S99\" names"},
                      DamagedCase{"NotAnEnding", "sessiya endings 1\nS01\n", "\"S01\" names"},
                      DamagedCase{"NewerFormat", "sessiya endings 2\nS03\n", "newer version", true},
                      DamagedCase{"VersionZero", "sessiya endings 0\n", "does not start"},
                      DamagedCase{"BlankLine", "sessiya endings 1\n\nS03\n", "\"\" names"},
                      DamagedCase{"CutOffCarriageReturn", "sessiya endings 1\r\nS03\r", "cut off"},
                      DamagedCase{"ControlCharacters", "sessiya endings 1\n\x1b]0;\xc2\x9b\\\xff\n",
                                  "\"\\x1b]0;\\xc2\\x9b\\\\xff\" names"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sessiya::testing
