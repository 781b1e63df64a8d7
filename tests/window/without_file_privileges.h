#pragma once

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>

namespace sessiya::testing {

// Root reads and writes every file whatever its permissions, so a case about permissions
// proves nothing there. Run as root, the current case reruns alone in a child that has
// lost the privilege to override them, and passes when the child passes; true then, and
// the caller returns. False where file permissions already hold for this process.
inline bool rerunWithoutFilePrivileges() {
  if (geteuid() != 0 || prctl(PR_CAPBSET_READ, CAP_DAC_OVERRIDE, 0, 0, 0) != 1) return false;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  QProcess child;
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QStringLiteral("setpriv"),
              {QStringLiteral("--bounding-set"), QStringLiteral("-dac_override,-dac_read_search"),
               QCoreApplication::applicationFilePath(),
               QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
  const bool finished = child.waitForFinished(120'000);
  const std::string output = child.readAll().toStdString();
  EXPECT_TRUE(finished) << output;
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output;
  EXPECT_EQ(child.exitCode(), 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
  return true;
}

}  // namespace sessiya::testing
