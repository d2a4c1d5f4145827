// End to end: dialing, redialing a busy line, keeping a connection across a drop,
// hanging up during a dial and exiting while online.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver.h"
#include "commands/command_ids.h"

namespace {

class DialingE2E : public ::testing::Test {
 protected:
  int LogCount(const std::string& text) const { return app_.LogCount(text); }
  bool Online() const { return app_.Online(); }

  Tarvolin app_;
};

TEST_F(DialingE2E, DialConnectsAndShowsTheServer) {
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\nServerIP=127.0.2.1\n"));
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  // The online mark, the status and then the log line: the program's last step of the
  // connect is what is waited for.
  EXPECT_TRUE(WaitUntil([&] {
    return LogCount("\tMessage\tConnected to server: 127.0.2.1\r\n") == 1;
  })) << app_.ReadFile("DialLog.TXT");
  EXPECT_EQ(app_.Text(IDC_LBLSTATUS), "Connected to server: 127.0.2.1");
}

TEST_F(DialingE2E, ConnectingCopiesBothAddressesWhenAsked) {
  SetUserRegistryNumber("Software\\Tarvolin", "CkbCopyIP", 1);
  SetUserRegistryNumber("Software\\Tarvolin", "RgCopyIP", 2);
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\nServerIP=127.0.2.1\nClientIP=127.0.2.9\n"));
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  EXPECT_TRUE(WaitUntil([&] {
    return ClipboardText() == "Server IP: 127.0.2.1\r\nClient IP: 127.0.2.9\r\n";
  })) << ClipboardText();
}

TEST_F(DialingE2E, ASessionAppendsOneLineToTimeCountWhoseFieldsReadBack) {
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\n"));
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  ASSERT_TRUE(WaitUntil([&] { return app_.SessionSeconds() >= 3; }));
  app_.Click(IDC_BTNHANGUP);
  ASSERT_TRUE(WaitUntil([&] { return LogCount("\tMessage\tDisconnected") == 1; }));
  const std::string csv = app_.ReadFile("TimeCount.CSV");
  ASSERT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1) << csv;
  std::vector<std::string> fields;
  for (size_t at = 0, tabs; at <= csv.size(); at = tabs + 4) {
    tabs = std::min(csv.find("\t\t\t\t", at), csv.size());
    fields.push_back(csv.substr(at, tabs - at));
  }
  ASSERT_EQ(fields.size(), 4u) << csv;
  EXPECT_GT(std::stod(fields[0]), 45000);      // a date-time of this century
  EXPECT_GT(std::stod(fields[1]) * 86400, 2);  // the session's seconds
  EXPECT_LT(std::stod(fields[1]) * 86400, 60);
  EXPECT_EQ(fields[2], "0");  // no rate plan
  EXPECT_EQ(fields[3], "Home\r\n");

  // A new start shows today's time again.
  app_.Command(IDM_EXIT1);
  ASSERT_TRUE(app_.WaitForExit());
  app_.Start();
  ASSERT_TRUE(app_.WaitForMainWindow());
  // Today's read-out shows none at first, until the records are read.
  EXPECT_TRUE(WaitUntil([&] {
    const std::string today = app_.Text(IDC_LBLINFO2);
    return today.starts_with("00:00:") && today != "00:00:00";
  })) << app_.Text(IDC_LBLINFO2);
}

TEST_F(DialingE2E, ABusyLineIsRedialedUntilHangUp) {
  ASSERT_TRUE(app_.StartWith("[Busy]\nOutcome=busy\nStepDelayMs=10\n"));
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return LogCount("Connecting to Busy...") >= 2; }));
  EXPECT_GE(LogCount("\tError  \tError:676 "), 1);
  app_.Click(IDC_BTNHANGUP);
  ASSERT_TRUE(WaitUntil([&] { return LogCount("\tMessage\tDisconnected") == 1; }));
  const int dials = LogCount("Connecting to Busy...");
  // Longer than the redial delay.
  EXPECT_TRUE(HoldsFor([&] { return LogCount("Connecting to Busy...") == dials; }, 4500))
      << app_.ReadFile("DialLog.TXT");
}

TEST_F(DialingE2E, KeepConnectionRedialsALineDroppedFromOutside) {
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\n"));
  app_.Click(IDC_BTNKEEP);
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  app_.ControlRas("drop Home");
  // The monitor looks once a second.
  ASSERT_TRUE(WaitUntil([&] { return LogCount("Connecting to Home...") == 2; }));
  EXPECT_TRUE(WaitUntil([&] { return Online(); }));
}

// With the monitor's tick off, only RAS's disconnection notification can tell the program
// that the line went; RAS shows the dropped line as disconnected for a while before it
// forgets it.
TEST_F(DialingE2E, ADropReachesTheProgramThroughRasNotificationAlone) {
  SetEnvironmentVariableA("TARVOLIN_NO_TICK", "1");
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\nDropLingerMs=60000\n"));
  SetEnvironmentVariableA("TARVOLIN_NO_TICK", nullptr);
  app_.Click(IDC_BTNKEEP);
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  app_.ControlRas("drop Home");
  ASSERT_TRUE(WaitUntil([&] { return LogCount("Connecting to Home...") == 2; }));
  EXPECT_TRUE(WaitUntil([&] { return Online(); }));
}

TEST_F(DialingE2E, HangUpDuringADialEndsIt) {
  ASSERT_TRUE(app_.StartWith("[Slow]\nStepDelayMs=1000\n"));
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return LogCount("Opening port") == 1; }));
  app_.Click(IDC_BTNHANGUP);
  ASSERT_TRUE(WaitUntil([&] { return LogCount("\tError  \t") == 1; }));  // the 631 line
  EXPECT_EQ(app_.Text(IDC_LBLONLINE), "Offline");
  // Longer than the redial delay, and than the dial's remaining steps.
  EXPECT_TRUE(HoldsFor(
      [&] {
        return LogCount("Connecting to Slow...") == 1 && LogCount("Connected to server") == 0;
      },
      4500))
      << app_.ReadFile("DialLog.TXT");
}

TEST_F(DialingE2E, ExitWhileOnlineEndsTheProgramAndSavesTheSettings) {
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\n"));
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  app_.Command(IDM_EXIT1);
  ASSERT_TRUE(app_.WaitForExit());
  EXPECT_EQ(UserRegistryText("Software\\Tarvolin", "Rt_LastSelect"), "Home");
}

TEST_F(DialingE2E, RedialingStopsAfterTheChosenNumberOfFailuresInARow) {
  SetUserRegistryNumber("Software\\Tarvolin", "UdStopAfterFailures", 2);
  SetUserRegistryNumber("Software\\Tarvolin", "UdRedialAfter", 1);
  ASSERT_TRUE(app_.StartWith("[Busy]\nOutcome=busy\nStepDelayMs=0\n"));
  app_.Click(IDC_BTNDIAL);
  const std::string why = "Redialing stopped after 2 failed attempts in a row.";
  ASSERT_TRUE(WaitUntil([&] { return LogCount("\tError  \t" + why + "\r\n") == 1; }));
  EXPECT_EQ(app_.Text(IDC_LBLSTATUS), why);
  // Longer than the redial delay.
  EXPECT_TRUE(HoldsFor([&] { return LogCount("Connecting to Busy...") == 2; }, 2500))
      << app_.ReadFile("DialLog.TXT");
}

TEST_F(DialingE2E, ADetailedLogSaysWhyTheLineWentDown) {
  SetUserRegistryNumber("Software\\Tarvolin", "CkbDetailedLog", 1);
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=0\n"));
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  app_.Click(IDC_BTNHANGUP);
  ASSERT_TRUE(WaitUntil([&] { return LogCount("\tLine down: hung up by the user; ") == 1; }));
}

}  // namespace
