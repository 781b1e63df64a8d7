#include <gtest/gtest.h>

#include <QApplication>

#include "private_config.h"
#include "quiet_offscreen.h"

int main(int argc, char* argv[]) {
  sessiya::testing::quietOffscreenRaise();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  sessiya::testing::usePrivateConfigFolder();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
