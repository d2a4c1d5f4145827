// The one-second monitor: the keep-alive echo and its count, the tray hint, the
// addresses copied to the clipboard on connect, and the online time it keeps.
#include <gtest/gtest.h>

#include <algorithm>

#include "mainform_fixture.h"

namespace {

constexpr const char* kTimeCount = "C:\\Tarvolin\\TimeCount.CSV";
constexpr const char* kCheckpoint = "C:\\Tarvolin\\TimeCount.run";
constexpr const char* kSessions = "C:\\Tarvolin\\Sessions.csv";

class MonitorTest : public MainformTest {
 protected:
  MonitorTest() : MainformTest("[Good]\nStepDelayMs=0\nServerIP=127.0.0.1\nClientIP=127.0.0.2\n") {}

  Tmainform& StartOnline() {
    Tmainform& form = Start();
    form.Dial1Click();
    EXPECT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
    return form;
  }

  void Ticks(Tmainform& form, int count) {
    for (int i = 0; i < count; ++i)
      form.CheckTimerTimer();
  }
};

TEST_F(MonitorTest, TheKeepAliveEchoGoesEveryUdPingSrvMinutesOfTicksCountedWhileOn) {
  Tmainform& form = StartOnline();
  form.Settings().CkbPingSrv = true;
  form.Settings().UdPingSrv = 2;
  const int counted = form.KeepAliveEcho().PingTickCount();
  Ticks(form, 60 - counted);
  form.Settings().CkbPingSrv = false;  // off: the count holds
  Ticks(form, 500);
  form.Settings().CkbPingSrv = true;
  Ticks(form, 59);
  EXPECT_TRUE(network_.sent.empty());
  Ticks(form, 1);
  ASSERT_EQ(network_.sent.size(), 1u);
  EXPECT_EQ(network_.sent[0].address, 0x7F000001u);
  EXPECT_EQ(network_.sent[0].message.size(), 76u);

  // Without a line nothing goes out, but the ticks still count.
  form.HangUp1Click();
  Ticks(form, 120);
  EXPECT_EQ(network_.sent.size(), 1u);
  EXPECT_EQ(form.KeepAliveEcho().PingTickCount(), 0);
}

TEST_F(MonitorTest, WithoutIcmpTheEchoIsLoggedOnceAndEveryTickStillEnds) {
  network_.mode = IcmpMode::None;
  Tmainform& form = StartOnline();
  form.Settings().CkbPingSrv = true;
  Ticks(form, 3 * 60);
  EXPECT_EQ(LogCount("\tError  \tNo ICMP available\r\n"), 1);
  EXPECT_TRUE(prompts_.errors.empty());
  EXPECT_EQ(form.TrayIcon().Hint(), "Tarvolin [Good] - Online");
  form.HangUp1Click();
  Ticks(form, 1);
  EXPECT_EQ(form.TrayIcon().Hint(), "Tarvolin [Good] - Offline");
}

TEST_F(MonitorTest, TheChosenAddressesGoToTheClipboardOnConnectOnlyWhenAsked) {
  StartOnline();
  EXPECT_EQ(desktop_.clipboard_writes, 0);

  registry_.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", "CkbCopyIP", 1);
  registry_.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", "RgCopyIP", 2);
  StartOnline();
  EXPECT_EQ(desktop_.clipboard, "Server IP: 127.0.0.1\r\nClient IP: 127.0.0.2\r\n");

  registry_.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", "RgCopyIP", 1);
  StartOnline();
  EXPECT_EQ(desktop_.clipboard, "127.0.0.2\r\n");
  EXPECT_EQ(desktop_.clipboard_writes, 2);
}

TEST_F(MonitorTest, ASessionIsRecordedOnceAndItsTimeCountsTowardTodayAfterARestart) {
  Tmainform& form = StartOnline();
  Elapse(90000);
  const double session = form.Connections().Table()[0].SessionTime;
  EXPECT_NEAR(session * 86400, 90, 1.5);
  form.HangUp1Click();
  form.HangUp1Click();
  const std::string csv = files_.content[kTimeCount];
  ASSERT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1) << csv;
  EXPECT_NE(csv.find("\t\t\t\tGood\r\n"), std::string::npos) << csv;

  Tmainform& again = Start();
  EXPECT_NEAR(again.Connections().Table()[0].TodayTime * 86400, 90, 1.5);
}

TEST_F(MonitorTest, ASessionCutShortByAFailureIsRecoveredFromItsCheckpointOnce) {
  StartOnline();
  Elapse(45000);
  EXPECT_TRUE(files_.Exists(kCheckpoint));
  EXPECT_EQ(files_.content[kTimeCount], "");
  form_.reset();  // the program dies: no hang-up, no exit

  Start();
  const std::string csv = files_.content[kTimeCount];
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1) << csv;
  EXPECT_FALSE(files_.Exists(kCheckpoint));
  Start();
  EXPECT_EQ(files_.content[kTimeCount], csv);
}

// Killed between the two appends of a session's end: the other file gets the final figures
// from the checkpoint, not those of its last half-minute renewal. The read-outs show the
// figures the record was written with.
TEST_F(MonitorTest, AKillBetweenTheTwoAppendsLeavesTheSameFiguresInBoth) {
  files_.content["C:\\Tarvolin\\Entries.ini"] = "[Good]\r\nGeneralRate=3600\r\n";  // 1 a second
  Tmainform& form = StartOnline();
  form.Settings().ViewMode = kViewExpense;
  Elapse(45500);
  std::map<std::string, std::string> at_kill;
  files_.after_append = [&](const std::string& path) {
    if (path == kTimeCount)
      at_kill = files_.content;
  };
  form.HangUp1Click();
  files_.after_append = nullptr;
  const std::string seconds = [&] {
    const std::string line = files_.content[kSessions].substr(files_.content[kSessions].find("\n"));
    const size_t from = line.find(',', line.find(',') + 1) + 1;
    return line.substr(from, line.find(',', from) - from);
  }();
  // Half a second after the last tick, at 1 a second: the record's cost, not the tick's.
  const std::string cost = FormatMoney(std::stod(seconds), '.');
  EXPECT_EQ(cost, FormatMoney(form.Connections().Table()[0].SessionExpense, '.'));
  EXPECT_EQ(view_.readouts[0], cost);

  ASSERT_NE(at_kill[kTimeCount].find("Good"), std::string::npos);
  ASSERT_EQ(at_kill[kSessions].find("Good"), std::string::npos);  // between the two
  files_.content = at_kill;
  form_.reset();
  Start();
  EXPECT_NE(files_.content[kSessions].find("," + seconds + ","), std::string::npos)
      << files_.content[kSessions];
}

}  // namespace
