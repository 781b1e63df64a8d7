#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "picture_folder.h"

namespace sessiya::testing {
namespace {

// A program folder `bin` with its data folder `share/sessiya` beside it, as installed.
class Installation : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(bin());
    std::filesystem::create_directories(data());
  }
  std::filesystem::path root() const { return dir_.path().toStdString(); }
  std::filesystem::path bin() const { return root() / "bin"; }
  std::filesystem::path data() const { return root() / "share" / "sessiya"; }
  static void putDefaultPictureIn(const std::filesystem::path& folder) {
    std::ofstream(folder / "br_196.jpg") << "picture";
  }

  QTemporaryDir dir_;
};

TEST_F(Installation, PicturesBesideTheProgramComeFirst) {
  putDefaultPictureIn(bin());
  putDefaultPictureIn(data());
  EXPECT_EQ(pictureFolder(bin(), "../share/sessiya"), bin());
}

TEST_F(Installation, ThenTheInstalledDataFolder) {
  putDefaultPictureIn(data());
  EXPECT_EQ(pictureFolder(bin(), "../share/sessiya"), data().lexically_normal());
}

TEST_F(Installation, WithNeitherThePicturesAreLookedForBesideTheProgram) {
  EXPECT_EQ(pictureFolder(bin(), "../share/sessiya"), bin());
}

}  // namespace
}  // namespace sessiya::testing
