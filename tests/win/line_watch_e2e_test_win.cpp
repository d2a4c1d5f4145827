// End to end: a line that is up while nothing passes, and a sleep in which the line drops.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "driver.h"
#include "commands/command_ids.h"

namespace {

class LineWatchE2E : public ::testing::Test {
 protected:
  int LogCount(const std::string& text) const { return app_.LogCount(text); }
  bool Online() const { return app_.Online(); }

  void Set(const char* name, uint32_t value) {
    SetUserRegistryNumber("Software\\Tarvolin", name, value);
  }

  Tarvolin app_;
};

// The first echo goes out a minute after the start and is answered: the watch arms, as
// the detailed log says. Then answers are held back, so the echo of the second minute goes
// unanswered and at the third the line, which receives nothing, is dead.
TEST_F(LineWatchE2E, ALineWithoutAnswersOrDataIsHungUpAndKeepDialsAgain) {
  Set("CkbPingSrv", 1);
  Set("UdPingSrv", 1);
  Set("CkbDeadLine", 1);
  Set("UdDeadLineEchoes", 1);
  Set("CkbKeepConnection", 1);
  Set("CkbDetailedLog", 1);
  const std::string hold = app_.Dir() + "echo.hold";
  SetEnvironmentVariableA("TARVOLIN_ECHO_HOLD", hold.c_str());
  ASSERT_TRUE(app_.StartWith("[Quiet]\nStepDelayMs=10\nRecvBps=0\nSendBps=0\n"));
  SetEnvironmentVariableA("TARVOLIN_ECHO_HOLD", nullptr);
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  ASSERT_TRUE(WaitUntil([&] { return LogCount("the dead-line watch is armed.") == 1; }, 130000))
      << app_.ReadFile("DialLog.TXT");
  EXPECT_EQ(LogCount("No answer to"), 0);
  app_.WriteFile("echo.hold", "");
  ASSERT_TRUE(WaitUntil(
      [&] { return LogCount("No answer to 1 keep-alive echo and no data received") == 1; }, 130000))
      << app_.ReadFile("DialLog.TXT");
  EXPECT_TRUE(WaitUntil([&] { return LogCount("Connecting to Quiet...") == 2 && Online(); }));
}

TEST_F(LineWatchE2E, ASleepEndsTheSessionAndALineLostInItIsRedialedAfterTheSettleTime) {
  Set("CkbResumeCheck", 1);
  Set("UdResumeSettle", 2);
  Set("CkbKeepConnection", 1);
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\n"));
  app_.Click(IDC_BTNDIAL);
  const ULONGLONG dialed = GetTickCount64();
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  ASSERT_TRUE(WaitUntil([&] { return app_.SessionSeconds() >= 2; }));
  app_.PostToMain(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  // The session ends at the suspend; its record waits in the checkpoint for the wake.
  ASSERT_TRUE(WaitUntil([&] {
    return app_.ReadFile("TimeCount.run").find("the computer went to sleep") != std::string::npos;
  }));
  const double longest = (GetTickCount64() - dialed) / 1000.0;
  const std::string held = app_.ReadFile("TimeCount.run");
  EXPECT_EQ(app_.ReadFile("TimeCount.CSV"), "");
  // Asleep, the line goes as the machine wakes.
  app_.ControlRas("drop Home");
  ASSERT_TRUE(WaitUntil([&] { return !app_.FileExists("rassim.ctl"); }));
  app_.PostToMain(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  ASSERT_TRUE(WaitUntil([&] { return !Online(); }));
  EXPECT_EQ(LogCount("Connecting to Home..."), 1);
  EXPECT_TRUE(WaitUntil([&] { return LogCount("Connecting to Home...") == 2 && Online(); }));
  // One record, of the length the suspend gave it, and a drop: lost during the sleep.
  const std::string csv = app_.ReadFile("TimeCount.CSV");
  ASSERT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1) << csv;
  EXPECT_EQ(csv, held.substr(0, held.find("\t\t\t\t", held.find("Home"))) + "\r\n");
  const double seconds = std::stod(csv.substr(csv.find("\t\t\t\t") + 4)) * 86400;
  EXPECT_GT(seconds, 1);
  EXPECT_LT(seconds, longest);
  EXPECT_NE(app_.ReadFile("Sessions.csv").find(",Home,lost during a sleep,"), std::string::npos)
      << app_.ReadFile("Sessions.csv");
}

}  // namespace
