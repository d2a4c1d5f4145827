// The dialing controller on a fake clock, with the RAS substitute's engine as its RAS:
// dial, redial, keep connection, hang up, refusals and the event sounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "accounting/time_records.h"
#include "mainform_fixture.h"
#include "hotkeys/hotkeys.h"
#include "commands/command_ids.h"
#include "rassim/rassim.h"

namespace {

class DialingTest : public MainformTest {
 protected:
  DialingTest()
      : MainformTest(
            "[Good]\nStepDelayMs=0\nServerIP=127.7.7.7\n"
            "[Busy]\nOutcome=busy\nStepDelayMs=0\n"
            "[Slow]\nStepDelayMs=200\n"
            "[Ringing]\nStepDelayMs=60000\n"
            "[Ghost]\nOutcome=vanish\nStepDelayMs=0\n"
            "[Refused]\nOutcome=refuse\n"
            "[Lingers]\nStepDelayMs=0\nDropLingerMs=60000\n") {}

  // Starts the program and dials `entry` as the user would: select it, press Dial.
  Tmainform& DialFromStart(const std::string& entry) {
    Tmainform& form = Start();
    form.CnListSelectItem(entry);
    form.Dial1Click();
    return form;
  }

  // Drops every live line, as the substitute's control file allows from outside.
  void DropTheLine() {
    // Written whole and then renamed, so the substitute never reads half a command.
    const auto control = std::filesystem::path(phonebook_.Path()).parent_path() / "rassim.ctl";
    const auto part = control.string() + ".part";
    std::ofstream(part) << "drop *\n";
    std::filesystem::rename(part, control);
  }

  bool Eventually(const std::function<bool()>& done) { return ui_.RunUntil(done); }
};

// The error RAS gives for a drop goes into the session's record; a hang-up has none.
TEST_F(DialingTest, ADropsRasCodeIsRecordedWithItsSessionAndAHangUpHasNone) {
  Tmainform& form = DialFromStart("Lingers");
  const auto online = [&] { return form.Dialing().Online(); };
  ASSERT_TRUE(Eventually(online));
  DropTheLine();
  ASSERT_TRUE(Eventually([&] { return !online(); }));
  form.Dial1Click();
  ASSERT_TRUE(Eventually(online));
  form.HangUp1Click();
  const std::string& sessions = files_.content["C:\\Tarvolin\\Sessions.csv"];
  EXPECT_NE(sessions.find(",Lingers,dropped by the line,619,"), std::string::npos) << sessions;
  EXPECT_NE(sessions.find(",Lingers,hung up by the user,,"), std::string::npos) << sessions;
}

// With notices on, the window shown: the line's own drop, its return and a redial that gives
// up each tell once; a hang-up the user or a schedule asked for tells nothing.
TEST_F(DialingTest, NoticesTellOfDropsReturnsAndGivingUpButNotOfHangUpsAsked) {
  Tmainform& form = DialFromStart("Lingers");
  form.Settings().CkbNotices = true;
  form.Dialing().SetKeepConnection(true);
  const auto online = [&] { return form.Dialing().Online(); };
  ASSERT_TRUE(Eventually(online));
  DropTheLine();
  ASSERT_TRUE(Eventually([&] { return view_.balloons.size() == 2; }));
  EXPECT_EQ(view_.balloons[0], "Lingers went offline: dropped by the line.");
  EXPECT_EQ(view_.balloons[1],
            "Lingers is back online; the line had gone down: dropped by the line.");
  form.HangUp1Click();
  form.Dial1Click();
  ASSERT_TRUE(Eventually(online));
  form.Dialing().RunAsProgram([&] { form.HangUp1Click(); });
  form.CnListSelectItem("Busy");
  form.Settings().UdStopAfterFailures = 2;
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return view_.balloons.size() == 3; }));
  EXPECT_EQ(view_.balloons[2], "Busy: Redialing stopped after 2 failed attempts in a row.");
  // A new dial over the line up tells nothing, nor does the user's dial after a drop.
  form.Dialing().SetKeepConnection(false);
  form.CnListSelectItem("Good");
  form.Dial1Click();
  ASSERT_TRUE(Eventually(online));
  form.Dial1Click();
  ASSERT_TRUE(Eventually(online));
  rassim::Drop("Good");
  ASSERT_TRUE(Eventually([&] { return !online(); }));
  form.Dial1Click();
  ASSERT_TRUE(Eventually(online));
  ASSERT_EQ(view_.balloons.size(), 4u);
  EXPECT_EQ(view_.balloons[3], "Good went offline: dropped by the line.");

  form.Settings().CkbNotices = false;
  form.Dialing().SetKeepConnection(true);
  rassim::Drop("Good");
  ASSERT_TRUE(Eventually(online));  // Keep dialed it again
  EXPECT_EQ(view_.balloons.size(), 4u);
}

TEST_F(DialingTest, ConnectingLogsTheServerAndTwoDialCommandsStartOneDial) {
  Tmainform& form = DialFromStart("Good");
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  EXPECT_EQ(LogCount("Connecting to Good..."), 1);
  EXPECT_EQ(view_.online_label, "Online");
  EXPECT_EQ(view_.online_color, 0x33AA33u);
  EXPECT_EQ(view_.status, "Connected to server: 127.7.7.7");
  EXPECT_FALSE(form.Dialing().Dialing());
  EXPECT_TRUE(form.Dialing().WasConnected());
}

TEST_F(DialingTest, ABusyLineIsRedialedAfterTheRedialDelayAgainAndAgainUntilHangUp) {
  Tmainform& form = Start();
  // The wait for an answer ends while the redial is pending, and must not push it back.
  form.Settings().UdWaitTime = 3;
  form.Settings().UdRedialAfter = 5;
  form.CnListSelectItem("Busy");
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return LogCount("\tError  \tError:676 ") == 1; }));
  const uint64_t failed_at = clock_.Now();
  ASSERT_TRUE(Eventually([&] { return LogCount("Connecting to Busy...") == 2; }));
  EXPECT_GE(clock_.Now() - failed_at, 5000u);
  EXPECT_LT(clock_.Now() - failed_at, 5100u);
  ASSERT_TRUE(Eventually([&] { return LogCount("Connecting to Busy...") == 3; }));

  form.HangUp1Click();
  EXPECT_FALSE(form.Dialing().Dialing());
  Elapse(10000);
  EXPECT_EQ(LogCount("Connecting to Busy..."), 3);
  EXPECT_EQ(view_.online_label, "Offline");
}

TEST_F(DialingTest, HangingUpDuringADialLogsThe631ErrorAndNeverRedials) {
  Tmainform& form = DialFromStart("Slow");
  ASSERT_TRUE(Eventually([&] { return LogCount("Opening port") == 1; }));
  form.HangUp1Click();
  EXPECT_TRUE(form.Dialing().UserHungUp());
  ASSERT_TRUE(Eventually([&] { return LogCount("\tError  \t") == 1; }));
  EXPECT_EQ(LogCount("\tError  \tError:"), 0);  // 631 is logged with RAS's text alone
  EXPECT_TRUE(form.Dialing().RedialTimer().Enabled());
  Elapse(5000);
  EXPECT_FALSE(form.Dialing().RedialTimer().Enabled());
  EXPECT_EQ(LogCount("Connecting to Slow..."), 1);
  EXPECT_EQ(LogCount("Disconnected"), 1);
}

TEST_F(DialingTest, TheRedialHotkeyDuringADialLeavesTheNewDialToTheLastWordOfTheOld) {
  Tmainform& form = DialFromStart("Ringing");
  form.Settings().UdRedialAfter = 1;
  ASSERT_TRUE(Eventually([&] { return LogCount("Opening port") == 1; }));
  form.WMHotKey(kHotKeyRedialId);  // Hang Up, then Dial
  Elapse(5000);
  EXPECT_EQ(LogCount("\tError  \tThe port was disconnected by the user."), 1);
  EXPECT_EQ(LogCount("Connecting to Ringing..."), 2);
  EXPECT_TRUE(form.Dialing().Dialing());
  EXPECT_FALSE(form.Dialing().RedialTimer().Enabled());
}

TEST_F(DialingTest, AVanishedAttemptIsRedialedOnceTheWaitForAnAnswerIsOver) {
  Tmainform& form = Start();
  form.Settings().UdWaitTime = 3;
  form.CnListSelectItem("Ghost");
  form.Dial1Click();
  const uint64_t dialed_at = clock_.Now();
  ASSERT_TRUE(Eventually([&] { return LogCount("Connecting to Ghost...") == 2; }));
  EXPECT_GE(clock_.Now() - dialed_at, 6000u);  // the wait, then the redial delay
  EXPECT_LT(clock_.Now() - dialed_at, 6100u);
}

TEST_F(DialingTest, AnAttemptStillRingingWhenTheWaitIsOverIsLeftAlone) {
  Tmainform& form = Start();
  form.Settings().UdWaitTime = 3;
  form.CnListSelectItem("Ringing");
  form.Dial1Click();
  Elapse(4000);
  EXPECT_FALSE(form.Dialing().WaitTimeTimer().Enabled());  // its one tick has run
  EXPECT_FALSE(form.Dialing().RedialTimer().Enabled());
  EXPECT_TRUE(form.Dialing().Dialing());
  EXPECT_EQ(LogCount("Connecting to Ringing..."), 1);
}

TEST_F(DialingTest, KeepConnectionRedialsADroppedLineAtOnceButNotAfterHangUp) {
  Tmainform& form = Start();
  form.KeepConnection1Click();
  form.CnListSelectItem("Good");
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  DropTheLine();
  ASSERT_TRUE(Eventually([&] { return !form.Dialing().Online(); }));
  // The redial started in the same tick that noticed the drop.
  EXPECT_EQ(LogCount("Connecting to Good..."), 2);
  EXPECT_TRUE(form.Dialing().Dialing());
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));

  form.HangUp1Click();
  Elapse(5000);
  EXPECT_EQ(LogCount("Connecting to Good..."), 2);
  EXPECT_FALSE(form.Dialing().Online());
}

// RAS's disconnection notification runs the redial at once; without it, the monitor's
// next tick does. Either way a drop is acted on once.
TEST_F(DialingTest, ADropIsRedialedAtOnceOnRasWordAndAtTheNextTickWithoutIt) {
  Tmainform& form = Start();
  form.KeepConnection1Click();
  form.CnListSelectItem("Good");
  const auto redial_delay = [&](int dials) {
    EXPECT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
    const uint64_t dropped_at = clock_.Now();
    rassim::Drop("*");
    EXPECT_TRUE(Eventually([&] { return LogCount("Connecting to Good...") == dials; }));
    return clock_.Now() - dropped_at;
  };
  form.Dial1Click();
  EXPECT_LE(redial_delay(2), 1u);

  // A RAS without the notification: the binding stays on the library it has.
  loader_.RemoveExport("rasapi32.dll", "RasConnectionNotificationA");
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  form.Dial1Click();  // a line that comes up without asking for the word
  EXPECT_GT(redial_delay(4), 1u);
  EXPECT_EQ(std::count(loader_.load_attempts.begin(), loader_.load_attempts.end(), "rnaph.dll"), 0);

  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  Elapse(3000);
  EXPECT_EQ(LogCount("Connecting to Good..."), 4);
  int sessions = 0;
  TimeRecordReader reader([&](const TimeRecordView&) { ++sessions; });
  reader.Feed(files_.content["C:\\Tarvolin\\TimeCount.CSV"]);
  EXPECT_EQ(sessions, 3);  // two drops and the line the user's second dial replaced
}

// A modem lets go of the line a while after the hang-up, and RAS may show a dropped line
// as disconnected, with its error, before it forgets it.
TEST_F(DialingTest, AHangUpUnderWayIsNoDropButALineShownDisconnectedIsOne) {
  phonebook_.Write(
      "[Modem]\nStepDelayMs=0\nHangUpDelayMs=300\n"
      "[Lingers]\nStepDelayMs=0\nDropLingerMs=60000\n");
  files_.content["C:\\Tarvolin\\Actions.ini"] = "[c]\r\nFileName=down\r\nWhenDisconnected=1\r\n";
  Tmainform& form = Start();
  form.Settings().CkbEnableAllActions = true;
  const auto downs = [&] {
    return std::count_if(shell_.started.begin(), shell_.started.end(),
                         [](const FakeShell::Start& start) { return start.file == "down"; });
  };
  form.KeepConnection1Click();
  form.CnListSelectItem("Modem");
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  // Fake time runs on while the hang-up is awaited, so the monitor ticks inside the wait.
  clock_.SetAutoAdvance(100);
  form.HangUp1Click();
  clock_.SetAutoAdvance(0);
  Elapse(3000);
  EXPECT_EQ(downs(), 1);
  EXPECT_EQ(LogCount("did not confirm the hang-up"), 0);
  EXPECT_EQ(LogCount("Connecting to Modem..."), 1);

  form.CnListSelectItem("Lingers");
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  rassim::Drop("Lingers");
  EXPECT_TRUE(Eventually([&] { return LogCount("Connecting to Lingers...") == 2; }));
  EXPECT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  EXPECT_EQ(downs(), 2);
}

TEST_F(DialingTest, ADetailedLogSaysWhyEachSessionEndedAndHowLongItLasted) {
  Tmainform& form = Start();
  form.Settings().CkbDetailedLog = true;
  form.KeepConnection1Click();
  form.CnListSelectItem("Good");
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  Elapse(65000);
  rassim::Drop("*");
  ASSERT_TRUE(Eventually(
      [&] { return LogCount("Connecting to Good...") == 2 && form.Dialing().Online(); }));
  Elapse(2000);
  form.Dial1Click();  // a new dial over the line that is up
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  form.HangUp1Click();
  EXPECT_EQ(LogCount("\tLine down: dropped by the line; the session lasted 00:01:05.\r\n"), 1);
  EXPECT_EQ(LogCount("\tLine down: hung up for a new dial; the session lasted 00:00:02.\r\n"), 1);
  EXPECT_EQ(LogCount("\tLine down: hung up by the user; the session lasted 00:00:00.\r\n"), 1);

  // A failed attempt names its error; without the option none of these lines is written.
  form.CnListSelectItem("Busy");
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return LogCount("\tLine down: error 676 ") == 1; }));
  EXPECT_EQ(LogCount("; no session.\r\n"), 1);
  // So do an attempt that vanished and one hung up while it dials.
  form.CnListSelectItem("Ghost");
  form.Dial1Click();
  ASSERT_TRUE(Eventually(
      [&] { return LogCount("\tLine down: the attempt vanished; no session.\r\n") == 1; }));
  form.CnListSelectItem("Ringing");
  form.Dial1Click();
  Elapse(1000);
  form.HangUp1Click();
  EXPECT_EQ(LogCount("\tLine down: hung up by the user; no session.\r\n"), 1);
  EXPECT_EQ(LogCount("; no session.\r\n"), 3);
  form.Settings().CkbDetailedLog = false;
  form.CnListSelectItem("Good");
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  form.HangUp1Click();
  EXPECT_EQ(LogCount("Line down: "), 6);
}

TEST_F(DialingTest, WithoutKeepConnectionADroppedLineGoesOffline) {
  Tmainform& form = DialFromStart("Good");
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  DropTheLine();
  ASSERT_TRUE(Eventually([&] { return !form.Dialing().Online(); }));
  Elapse(100000);  // past the end of the wait for an answer, too
  EXPECT_EQ(LogCount("Connecting to Good..."), 1);
  EXPECT_EQ(view_.online_label, "Offline");
}

TEST_F(DialingTest, ARefusedDialIsLoggedNotRedialedAndTheNextDialWorks) {
  Tmainform& form = DialFromStart("Refused");
  EXPECT_EQ(LogCount("\tError  \tError:633 "), 1);
  EXPECT_FALSE(form.Dialing().Dialing());
  Elapse(100000);  // longer than the wait for an answer
  EXPECT_EQ(LogCount("Connecting to Refused..."), 1);

  form.CnListSelectItem("Good");
  form.Dial1Click();
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
}

TEST_F(DialingTest, DialingWhileOnlineEndsTheSessionOfTheLineThatWasUpFirst) {
  Tmainform& form = DialFromStart("Good");
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  Elapse(5000);
  form.Dial1Click();  // the same entry again: the line is hung up and dialed anew
  EXPECT_EQ(view_.online_label, "Dialing");
  ASSERT_TRUE(Eventually([&] { return form.Dialing().Online(); }));
  Elapse(3000);
  form.CnListSelectItem("Ringing");
  form.Dial1Click();
  form.CnListSelectItem("Busy");
  form.Dial1Click();  // refused while ringing: the dial under way keeps its name
  form.HangUp1Click();

  std::vector<std::pair<std::string, double>> sessions;
  TimeRecordReader reader([&](const TimeRecordView& record) {
    sessions.emplace_back(record.entry, std::round(record.duration * 86400));
  });
  reader.Feed(files_.content["C:\\Tarvolin\\TimeCount.CSV"]);
  const std::vector<std::pair<std::string, double>> expected = {{"Good", 5}, {"Good", 3}};
  EXPECT_EQ(sessions, expected);
  EXPECT_EQ(form.Dialing().LastDialedEntry(), "Ringing");
}

TEST_F(DialingTest, KeepFromTheButtonAndEachMenuTogglesOneStateThatTheMenusShow) {
  Tmainform& form = Start();
  const int updates = view_.keep_updates;
  form.ControlClick(IDC_BTNKEEP);
  EXPECT_TRUE(form.Settings().CkbKeepConnection);
  EXPECT_TRUE(view_.keep);
  EXPECT_TRUE(form.Commands().Checked(Command::KeepConnection));
  form.ControlClick(IDM_KEEPCONNECTION2);
  EXPECT_FALSE(form.Settings().CkbKeepConnection);
  EXPECT_FALSE(view_.keep);
  EXPECT_FALSE(form.Commands().Checked(Command::KeepConnection));
  form.ControlClick(IDM_KEEPCONNECTION1);
  EXPECT_TRUE(form.Settings().CkbKeepConnection);
  EXPECT_EQ(view_.keep_updates, updates + 3);

  // A command without a handler is greyed and does nothing.
  const CommandTable unbound;
  EXPECT_FALSE(unbound.Enabled(Command::HelpTopic));
  EXPECT_FALSE(unbound.Run(Command::HelpTopic));
  EXPECT_TRUE(form.Commands().Enabled(Command::Dial));
}

TEST_F(DialingTest, OnlyExistingWaveFilesOfAnEnabledSoundPlay) {
  Tmainform& form = Start();
  files_.content["C:\\Sounds\\ring.WAV"] = "";
  files_.content["C:\\Sounds\\ring.mp3"] = "";
  form.Settings().ConnectSoundFile = "C:\\Sounds\\ring.WAV";
  form.Dialing().PlayEventSound(EventSound::Connect);
  form.Settings().ConnectSoundFile = "C:\\Sounds\\ring.mp3";
  form.Dialing().PlayEventSound(EventSound::Connect);
  form.Settings().ErrorSoundFile = "C:\\Sounds\\missing.wav";
  form.Dialing().PlayEventSound(EventSound::Error);
  form.Settings().DisconnectSoundFile = "C:\\Sounds\\ring.WAV";
  form.Settings().EnableDisconnectSound = false;
  form.Dialing().PlayEventSound(EventSound::Disconnect);
  EXPECT_EQ(sound_.played, std::vector<std::string>{"C:\\Sounds\\ring.WAV"});
}

}  // namespace

namespace {

// A registry that notes, at the first settings write, whether the line was already gone.
class WatchingRegistry : public FakeRegistry {
 public:
  bool WriteInt(RegRoot root, const std::string& key, const std::string& name,
                uint32_t value) override {
    if (check && !checked) {
      checked = true;
      line_gone_at_first_write = check();
    }
    return FakeRegistry::WriteInt(root, key, name, value);
  }
  std::function<bool()> check;
  bool checked = false;
  bool line_gone_at_first_write = false;
};

class ExitTest : public DialingTest {
 protected:
  WatchingRegistry watching_;
};

// The session it ends is recorded, with or without the log.
TEST_F(ExitTest, ExitWhileOnlineHangsUpBeforeAnySettingIsWritten) {
  const MainPorts ports = MainPortsBuilder(ports_).WithRegistry(watching_).Build();
  FakeMainView view;
  Tmainform form(ports, view, {});
  form.FormCreate();
  form.CnListSelectItem("Good");
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  const RasHandle line = form.DialUp().ConnectionHandle();
  watching_.check = [&] {
    TRasConnStatusA status{};
    status.dwSize = kRasConnStatusSize;
    return ras_.RasGetConnectStatusA(line, &status) == kRasInvalidHandle;
  };
  form.Settings().CkbWriteLogs = false;
  form.Exit1Click();
  EXPECT_EQ(view.close_requests, 1);
  EXPECT_TRUE(form.FormClose());
  EXPECT_TRUE(watching_.checked);
  EXPECT_TRUE(watching_.line_gone_at_first_write);
  EXPECT_EQ(LogCount("Disconnected"), 0);  // no log line for the hang-up at exit
  EXPECT_NE(files_.content["C:\\Tarvolin\\Sessions.csv"].find(",Good,the program was closed,"),
            std::string::npos);
  EXPECT_FALSE(files_.Exists("C:\\Tarvolin\\TimeCount.run"));
  // RAS's word that the line ended is no drop: the window it would update is going.
  Elapse(10);
  EXPECT_EQ(view.online_label, "Online");
}

}  // namespace
