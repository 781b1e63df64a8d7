#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "recording_host.h"
#include "utf16_length.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

constexpr std::size_t kNarrativeBound = 500;  // Label2 neither grows nor scrolls
constexpr std::size_t kOptionBound = 116;     // Label3 … Label6

TEST(Catalogue, ListsEverySceneInOrder) {
  for (int i = 0; i < kSceneCount; ++i) {
    EXPECT_EQ(static_cast<int>(kSceneCatalogue[i].id), i + 1);
  }
}

TEST(Catalogue, EveryKeyIsDistinct) {
  std::set<std::string> keys;
  for (const Scene& entry : kSceneCatalogue) keys.insert(sceneKey(entry.id));
  EXPECT_EQ(keys.size(), static_cast<std::size_t>(kSceneCount));
}

TEST(Catalogue, EveryTextFitsItsBound) {
  for (const Scene& entry : kSceneCatalogue) {
    SCOPED_TRACE(static_cast<int>(entry.id));
    if (entry.narrative) {
      EXPECT_GT(utf16Length(*entry.narrative), 0u);
      EXPECT_LE(utf16Length(*entry.narrative), kNarrativeBound);
    }
    for (const SceneText& option : entry.options) {
      if (!option) continue;
      EXPECT_GT(utf16Length(*option), 0u);
      EXPECT_LE(utf16Length(*option), kOptionBound);
    }
  }
}

// A piece of an epigraph is words: no empty piece, no space at its ends, no run inside.
void expectWords(std::string_view piece) {
  EXPECT_FALSE(piece.empty());
  if (piece.empty()) return;
  EXPECT_NE(piece.front(), ' ') << piece;
  EXPECT_NE(piece.back(), ' ') << piece;
  EXPECT_EQ(piece.find("  "), std::string_view::npos) << piece;
}

TEST(Catalogue, EveryEpigraphIsQuotationSpacesAttribution) {
  for (const Scene& entry : kSceneCatalogue) {
    SCOPED_TRACE(static_cast<int>(entry.id));
    const Epigraph& epigraph = entry.epigraph;
    expectWords(epigraph.quotation);
    expectWords(epigraph.attribution);
    EXPECT_GE(epigraph.spaces, 3);
    EXPECT_LE(epigraph.spaces, 276);
    const bool split = entry.id == S01;
    EXPECT_EQ(!epigraph.quotation_end.empty(), split);
    if (split) {
      expectWords(epigraph.quotation_end);
      EXPECT_GE(epigraph.second_spaces, 3);
    }
    const std::string& key = sceneKey(entry.id);
    EXPECT_TRUE(key.starts_with(epigraph.quotation));
    EXPECT_TRUE(key.ends_with(std::string(split ? epigraph.second_spaces : epigraph.spaces, ' ')
                                  .append(epigraph.attribution)));
  }
}

// The row of `scene` in the epigraph sources table, split into its cells.
std::vector<std::string> sourceRow(const std::string& table, std::string_view scene) {
  const std::string start = "| " + std::string(scene) + " | ";
  const std::size_t at = table.find("\n" + start);
  if (at == std::string::npos) return {};
  std::string line = table.substr(at + 1, table.find('\n', at + 1) - at - 1);
  std::vector<std::string> cells;
  std::size_t from = 2;
  for (std::size_t bar; (bar = line.find(" | ", from)) != std::string::npos; from = bar + 3) {
    cells.push_back(line.substr(from, bar - from));
  }
  cells.push_back(line.substr(from, line.rfind(" |") - from));
  return cells;
}

// Every epigraph is listed with its source exactly as the game shows it, so a changed line
// cannot leave its citation behind.
TEST(Catalogue, EveryEpigraphHasItsSourceRow) {
  std::ifstream file(SESSIYA_EPIGRAPH_SOURCES);
  ASSERT_TRUE(file) << SESSIYA_EPIGRAPH_SOURCES;
  std::stringstream table;
  table << file.rdbuf();
  for (const Scene& entry : kSceneCatalogue) {
    const std::string scene =
        (entry.id < S10 ? "S0" : "S") + std::to_string(static_cast<int>(entry.id));
    SCOPED_TRACE(scene);
    const std::vector<std::string> cells = sourceRow(table.str(), scene);
    ASSERT_EQ(cells.size(), 5u);
    std::string shown(entry.epigraph.quotation);
    if (!entry.epigraph.quotation_end.empty())
      shown.append(" ").append(entry.epigraph.quotation_end);
    EXPECT_EQ(cells[1], shown);
    EXPECT_EQ(cells[2], entry.epigraph.attribution);
    EXPECT_FALSE(cells[3].empty());
    EXPECT_FALSE(cells[4].empty());
  }
}

TEST(Catalogue, OnlyTheOpeningSceneWritesTheFourthOption) {
  for (const Scene& entry : kSceneCatalogue) {
    EXPECT_EQ(entry.options[3].has_value(), entry.id == S01) << static_cast<int>(entry.id);
  }
}

TEST(Catalogue, TextsTheRulesCompareAreDistinct) {
  EXPECT_EQ(*scene(S05).options[0], "За буго-о-ор!");
  // Option 2 on move 4 recognises the fortune-teller's scene by this text alone.
  for (const Scene& entry : kSceneCatalogue) {
    if (entry.id == S05) continue;
    for (const SceneText& option : entry.options) {
      EXPECT_NE(option, scene(S05).options[1]) << static_cast<int>(entry.id);
      EXPECT_NE(option, scene(S05).options[0]) << static_cast<int>(entry.id);
    }
  }
}

TEST(Catalogue, NamesTheNineteenPictureFiles) {
  std::set<std::string_view> files{kDefaultPicture};
  std::set<SceneId> tall;
  for (const Scene& entry : kSceneCatalogue) {
    if (!entry.picture.empty()) files.insert(entry.picture);
    if (entry.tall) tall.insert(entry.id);
  }
  EXPECT_EQ(files, (std::set<std::string_view>{
                       "\\br_196.jpg", "\\66.jpg", "\\br_131.jpg", "\\sob.gif", "\\babka.jpg",
                       "\\bugor.gif", "\\64.jpg", "\\mat.gif", "\\roden01.jpg", "\\drs.gif",
                       "\\k6.jpg", "\\k1.jpg", "\\Safesex.jpg", "\\5oi.gif", "\\k3.jpg", "\\1g.gif",
                       "\\02toon.jpg", "\\Clausmj.jpg", "\\k5.jpg"}));
  EXPECT_EQ(tall, (std::set<SceneId>{S03, S12, S15, S20}));
}

}  // namespace
}  // namespace sessiya::testing
