// The main controller: start-up order, the connection log, the single-instance message,
// closing and exiting.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "mainform_fixture.h"

namespace {

TEST(DialLogFormat, LinesHaveTimeKindAndTextBetweenTwoTabsAndKindColours) {
  EXPECT_EQ(FormatLogLine("09:05:01", LogKind::Message, "Opening port"),
            "09:05:01\tMessage\tOpening port\r\n");
  EXPECT_EQ(FormatLogLine("9:05:01 PM", LogKind::Error, "Error:676 The line is busy."),
            "9:05:01 PM\tError  \tError:676 The line is busy.\r\n");
  EXPECT_EQ(LogColor(LogKind::Message), 0xFF0000u);  // blue
  EXPECT_EQ(LogColor(LogKind::Error), 0x1029ECu);    // RGB(236,41,16)
}

// A registry whose writes join the view's journal, so that start-up's order shows.
class JournalRegistry : public FakeRegistry {
 public:
  explicit JournalRegistry(std::vector<std::string>& journal) : journal_(journal) {}
  bool WriteText(RegRoot root, const std::string& key, const std::string& name,
                 const std::string& value) override {
    journal_.push_back("write " + name);
    return FakeRegistry::WriteText(root, key, name, value);
  }
  bool WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                   const std::string& bytes) override {
    journal_.push_back("write " + name);
    return FakeRegistry::WriteBinary(root, key, name, bytes);
  }

 private:
  std::vector<std::string>& journal_;
};

TEST_F(MainformTest, StartupLoadsWhatEachStepNeedsBeforeThatStepAndDialsLast) {
  files_.content[kLogPath] = "an earlier run\r\n";
  files_.content["C:\\Tarvolin\\Entries.ini"] = "[Second]\r\nUserName=bob\r\n";
  JournalRegistry registry(view_.journal);
  registry.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", "CkbKeepConnection", 1);
  registry.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", "CkbAutoDial", 1);
  registry.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", "Left", 123);
  registry.FakeRegistry::WriteText(RegRoot::CurrentUser, "Software\\Tarvolin", "Rt_LastSelect",
                                   "Second");
  Tmainform form(MainPortsBuilder(ports_).WithRegistry(registry).Build(), view_, {"AutoDial"});
  form.FormCreate();

  std::vector<std::string> journal;
  std::ranges::copy_if(view_.journal, std::back_inserter(journal), [](const std::string& entry) {
    return !entry.starts_with("write AutoDialDllName") && !entry.starts_with("write AutoDialFcn");
  });
  EXPECT_EQ(journal,
            (std::vector<std::string>{"online Offline", "write ProgName", "title Tarvolin",
                                      "write EnableAutoDial", "rows", "keep on", "online Dialing",
                                      "status Connecting to Second..."}));
  // The settings were loaded before the window was placed and the list was built.
  EXPECT_EQ(view_.left, 123);
  ASSERT_EQ(view_.rows.size(), 2u);
  EXPECT_TRUE(view_.rows[1].Selected);
  EXPECT_EQ(view_.rows[1].UserName, "bob");
  // The earlier run's log went before this run's first line.
  EXPECT_EQ(Log(), "12:34:56\tMessage\tConnecting to Second...\r\n");
  // The profile reached the phonebook before the dial.
  std::string user;
  form.DialUp().GetEntryUserName(user);
  EXPECT_EQ(user, "bob");
  EXPECT_TRUE(form.Dialing().Dialing());
}

TEST_F(MainformTest, WriteDialLogUpdatesTheStatusAlwaysAndReportsOnlyTheFirstFailure) {
  auto& form = Start();
  form.Log().WriteDialLog("Opening port", LogKind::Message);
  form.Log().WriteDialLog("Error:676 busy", LogKind::Error);
  EXPECT_EQ(files_.content[kLogPath],
            "12:34:56\tMessage\tOpening port\r\n12:34:56\tError  \tError:676 busy\r\n");
  EXPECT_EQ(view_.status, "Error:676 busy");
  EXPECT_EQ(view_.status_color, LogColor(LogKind::Error));

  files_.writable = false;
  form.Log().WriteDialLog("first lost line", LogKind::Message);
  form.Log().WriteDialLog("second lost line", LogKind::Message);
  ASSERT_EQ(prompts_.errors.size(), 1u);
  EXPECT_NE(prompts_.errors[0].find(kLogPath), std::string::npos);
  EXPECT_NE(prompts_.errors[0].find("Access denied."), std::string::npos);
  EXPECT_EQ(view_.status, "second lost line");
  EXPECT_EQ(view_.status_color, LogColor(LogKind::Message));

  files_.writable = true;
  form.Settings().CkbWriteLogs = false;
  form.Log().WriteDialLog("not logged", LogKind::Error);
  EXPECT_EQ(view_.status, "not logged");
  EXPECT_EQ(files_.content[kLogPath].find("not logged"), std::string::npos);
}

TEST_F(MainformTest, AnEarlierLogThatCannotBeDeletedIsEmptiedElseTheFirstWriteSaysSo) {
  files_.content[kLogPath] = "an earlier run\r\n";
  files_.undeletable.insert(kLogPath);
  Start().Log().WriteDialLog("first", LogKind::Message);
  EXPECT_EQ(Log(), "12:34:56\tMessage\tfirst\r\n");
  EXPECT_TRUE(prompts_.errors.empty());

  // Not even emptied: the first write's one box says so.
  files_.content[kLogPath] = "an earlier run\r\n";
  files_.writable = false;
  Tmainform& form = Start();
  form.Log().WriteDialLog("first", LogKind::Message);
  form.Log().WriteDialLog("second", LogKind::Message);
  ASSERT_EQ(prompts_.errors.size(), 1u);
  EXPECT_NE(prompts_.errors[0].find("earlier run C:\\Tarvolin\\DialLog.TXT could not be removed"),
            std::string::npos);
}

TEST_F(MainformTest, ViewLogsOpensTheLogOrSaysThereIsNone) {
  auto& form = Start();
  form.ViewLogs1Click();
  EXPECT_EQ(prompts_.information, std::vector<std::string>{"No logs exist."});
  EXPECT_TRUE(shell_.opened.empty());
  form.Log().WriteDialLog("something", LogKind::Message);
  form.ViewLogs1Click();
  EXPECT_EQ(shell_.opened, std::vector<std::string>{kLogPath});
}

TEST_F(MainformTest, ClosingHidesUnlessExitWasChosenAndTheShowMessageBringsItBack) {
  auto& form = Start();
  EXPECT_FALSE(form.FormClose());
  EXPECT_TRUE(form.HiddenToTray());
  EXPECT_FALSE(view_.visible);

  form.UserMessage(7);  // unknown requests are ignored
  EXPECT_FALSE(view_.visible);
  form.UserMessage(0);
  EXPECT_TRUE(view_.visible);
  EXPECT_FALSE(form.HiddenToTray());
  EXPECT_EQ(view_.raised, 1);

  form.Exit1Click();
  EXPECT_EQ(view_.close_requests, 1);
  EXPECT_TRUE(form.FormClose());
  EXPECT_TRUE(form.Dialing().UserHungUp());
}

TEST_F(MainformTest, ExitDuringAVersionCheckEndsItWithoutAWord) {
  auto& form = Start();
  network_.while_getting = [&form] { form.Exit1Click(); };
  form.CheckNewVersion1Click();
  EXPECT_EQ(network_.cancels, 1);
  EXPECT_TRUE(prompts_.errors.empty());
  EXPECT_EQ(view_.close_requests, 1);
}

TEST_F(MainformTest, AutoDialArgumentAndDialMessageDialTheFirstEntryOnce) {
  auto& form = Start({"AutoDial"});
  EXPECT_TRUE(form.Dialing().Dialing());
  EXPECT_FALSE(form.Dialing().UserHungUp());
  EXPECT_EQ(files_.content[kLogPath], "12:34:56\tMessage\tConnecting to First...\r\n");
  form.UserMessage(1);  // already dialing: no second dial
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  EXPECT_EQ(view_.online_label, "Online");
  const std::string log = files_.content[kLogPath];
  EXPECT_EQ(log.find("Connecting to First..."), log.rfind("Connecting to First..."));
  EXPECT_EQ(view_.status, "Connected to server: 127.0.0.1");
  EXPECT_NE(log.find("\tMessage\tConnected to server: 127.0.0.1\r\n"), std::string::npos);
}

TEST_F(MainformTest, TheCompanionsRequestSelectsItsEntryByExactNameAndDialsIt) {
  auto& form = Start();
  EXPECT_EQ(form.DialEntryRequest("second"), kDialRequestUnknown);
  EXPECT_EQ(form.DialEntryRequest(""), kDialRequestUnknown);
  EXPECT_FALSE(form.Dialing().Dialing());
  EXPECT_EQ(form.DialUp().Entry, "First");

  // An entry the list does not show yet is found by a refresh.
  phonebook_.Write("[First]\nStepDelayMs=0\n[Second]\nStepDelayMs=0\n[Third]\nStepDelayMs=0\n");
  EXPECT_EQ(form.DialEntryRequest("Third"), kDialRequestDialing);
  EXPECT_EQ(view_.marked, 2);
  EXPECT_EQ(form.Connections().Table()[2].Selected, true);
  EXPECT_EQ(form.Connections().Table()[0].Selected, false);
  EXPECT_TRUE(form.Dialing().Dialing());
  EXPECT_EQ(LogCount("Connecting to Third..."), 1);
  EXPECT_EQ(form.DialEntryRequest("Third"), kDialRequestDialing);
  EXPECT_EQ(form.DialEntryRequest("First"), kDialRequestDeclined);
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));

  // One line at a time: the line's own entry is online, another is declined and stays
  // unselected.
  EXPECT_EQ(form.DialEntryRequest("Third"), kDialRequestOnline);
  EXPECT_EQ(form.DialEntryRequest("First"), kDialRequestDeclined);
  EXPECT_EQ(form.Connections().Table()[0].Selected, false);
  EXPECT_EQ(LogCount("Connecting to "), 1);
}

TEST_F(MainformTest, ArgumentsOtherThanAutoDialInExactCaseDoNotDial) {
  auto& form = Start({"autodial", "/AutoDial"});
  EXPECT_FALSE(form.Dialing().Dialing());
}

}  // namespace

namespace {

// A system without RAS: every entry point is missing.
class NoRasLoader : public LibraryLoader {
 public:
  Library Load(const std::string&) override { return nullptr; }
  void* Find(Library, const std::string&) override { return nullptr; }
  void Free(Library) override {}
};

TEST_F(MainformTest, WithoutRasTheMonitorSaysSoOnceAndKeepsTicking) {
  NoRasLoader no_ras;
  RasApi ras(no_ras);
  const MainPorts ports = MainPortsBuilder(ports_).WithRas(ras).Build();
  Tmainform form(ports, view_, {});
  for (int tick = 0; tick < 9; ++tick)
    form.CheckTimerTimer();
  EXPECT_EQ(prompts_.errors, std::vector<std::string>{"Error opening rasapi.dll\n"});
}

}  // namespace

namespace {

TEST_F(MainformTest, UsageOpensOnEveryConnectionWithItsOwnBudgetAndTheRecordFiles) {
  files_.content["C:\\Tarvolin\\Entries.ini"] = "[Second]\r\nBudgetVolume=250\r\n";
  Tmainform& form = Start();
  EXPECT_TRUE(form.Commands().Run(Command::Usage));
  ASSERT_TRUE(view_.usage);
  EXPECT_EQ(view_.usage->ConnectionChoices(),
            (std::vector<std::string>{"All connections", "First", "Second"}));
  view_.usage->Choose(2, 1, 0);
  EXPECT_EQ(view_.usage->Charts()[UsageModel::kVolumeChart].limit, 250);
  view_.usage->Choose(1, 1, 0);
  EXPECT_FALSE(view_.usage->Charts()[UsageModel::kVolumeChart].limit);
  EXPECT_EQ(view_.usage_files.sessions, "C:\\Tarvolin\\Sessions.csv");
  EXPECT_EQ(view_.usage_files.time_count, "C:\\Tarvolin\\TimeCount.CSV");
}

}  // namespace
