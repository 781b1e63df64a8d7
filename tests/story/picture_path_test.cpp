#include <gtest/gtest.h>

#include "picture_path.h"

namespace sessiya::testing {
namespace {

struct PathCase {
  const char* name;
  const char* program_dir;
  const char* reference;
  const char* expected;
};

class PicturePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(PicturePath, NamesTheFileBesideTheProgram) {
  const PathCase& c = GetParam();
  EXPECT_EQ(sessiya::picturePath(c.program_dir, c.reference), std::filesystem::path(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Story, PicturePath,
                         ::testing::Values(PathCase{"Default", "/opt/sessiya", "\\br_196.jpg",
                                                    "/opt/sessiya/br_196.jpg"},
                                           PathCase{"LetterCaseKept", "/opt/sessiya",
                                                    "\\Safesex.jpg", "/opt/sessiya/Safesex.jpg"},
                                           PathCase{"DirectoryWithTrailingSeparator",
                                                    "/opt/sessiya/", "\\drs.gif",
                                                    "/opt/sessiya/drs.gif"},
                                           PathCase{"RootDirectory", "/", "\\k1.jpg", "/k1.jpg"},
                                           PathCase{"CyrillicDirectory", "/home/студент/игры",
                                                    "\\66.jpg", "/home/студент/игры/66.jpg"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sessiya::testing
