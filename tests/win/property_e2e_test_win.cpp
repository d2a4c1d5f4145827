// End to end: the property dialog refuses what it cannot store and saves the rest, and a
// budget set there holds the line to it.
#include <windows.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "driver.h"
#include "profiles/property_ids.h"
#include "commands/command_ids.h"

namespace {

// Presses OK and answers the refusal that must follow; the dialog stays.
void ExpectRefusal(const Tarvolin& app, Hwnd dialog, const std::string& text) {
  ClickChild(dialog, IDOK);
  EXPECT_NE(app.AnswerMessageBox("Error", text, IDOK), "") << text;
  EXPECT_TRUE(IsWindow(static_cast<HWND>(dialog)));
}

// The property dialog of Alpha, the selected entry.
Hwnd OpenProperty(const Tarvolin& app) {
  app.Click(IDC_BTNPROPERTY);
  return app.WaitForTopLevel("Alpha");
}

TEST(PropertyE2E, OkSavesEntriesIniAndTheListShowsTheNewUserName) {
  Tarvolin app;
  ASSERT_TRUE(app.StartWith("[Alpha]\nStepDelayMs=0\n[Bravo]\nStepDelayMs=0\n"));
  Hwnd dialog = OpenProperty(app);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(ChildOf(dialog, IDC_EDGENERALRATE)), "0.0000");
  EXPECT_EQ(WindowText(ChildOf(dialog, IDC_EDBILLINGDAY)), "1");

  ExpectRefusal(app, dialog, "Empty user name!");
  SetChildText(dialog, IDC_EDUSERNAME, "carol");
  SetChildText(dialog, IDC_EDGENERALRATE, "1.5x");
  ExpectRefusal(app, dialog, "'1.5x' is not a valid number for the General rate.");
  EXPECT_FALSE(app.FileExists("Entries.ini"));

  SetChildText(dialog, IDC_EDGENERALRATE, "1,000");  // not a thousand in this locale
  ExpectRefusal(app, dialog, "'1,000' is not a valid number for the General rate.");
  SetChildText(dialog, IDC_EDGENERALRATE, "1.5");
  SetChildText(dialog, IDC_EDPN, "555-0100");
  ClickChild(dialog, IDC_BTNADDPN);
  ClickChild(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(static_cast<HWND>(dialog)); }));
  const std::string entries = app.ReadFile("Entries.ini");
  for (const char* line : {"[Alpha]", "UserName=carol", "GeneralRate=1.5", "PN=555-0100",
                           "PNList=555-0100^^", "BillingDay=1"})
    EXPECT_NE(entries.find(line), std::string::npos) << line << " in " << entries;
  ASSERT_TRUE(WaitUntil([&] { return app.ListRows(IDC_CNLIST)[0].SubText == "carol"; }));
}

TEST(PropertyE2E, CancelAfterEditsChangesNoFileAndNoRegistryValue) {
  Tarvolin app;
  app.WriteFile("Entries.ini", "[Alpha]\r\nUserName=ann\r\nGeneralRate=2\r\n");
  ASSERT_TRUE(app.StartWith("[Alpha]\nStepDelayMs=0\nUserName=ann\n"));
  const std::string entries = app.ReadFile("Entries.ini");
  const std::string phonebook = app.ReadFile("rasphone.pbk");
  const std::string registry = UserRegistryDump("Software") + UserRegistryDump("RemoteAccess");
  Hwnd dialog = OpenProperty(app);
  ASSERT_NE(dialog, nullptr);
  SetChildText(dialog, IDC_EDUSERNAME, "carol");
  SetChildText(dialog, IDC_EDUSERPWD, "secret");
  SetChildText(dialog, IDC_EDGENERALRATE, "7.25");
  SetChildText(dialog, IDC_EDPN, "555-0100");
  ClickChild(dialog, IDC_BTNADDPN);
  ClickChild(dialog, IDC_CKBPULSEDIAL);
  ClickChild(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(static_cast<HWND>(dialog)); }));
  EXPECT_EQ(app.ReadFile("Entries.ini"), entries);
  EXPECT_EQ(app.ReadFile("rasphone.pbk"), phonebook);
  EXPECT_EQ(UserRegistryDump("Software") + UserRegistryDump("RemoteAccess"), registry);
  EXPECT_EQ(app.ListRows(IDC_CNLIST)[0].SubText, "ann");
}

// Alpha's line is watched while Bravo is selected.
TEST(PropertyE2E, ABudgetSetHereWarnsAsksAtTheLimitAndThenAsksBeforeTheNextDial) {
  Tarvolin app;
  ASSERT_TRUE(app.StartWith("[Alpha]\nStepDelayMs=0\nUserName=ann\n[Bravo]\nStepDelayMs=0\n"));
  Hwnd dialog = OpenProperty(app);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(ChildOf(dialog, IDC_EDBUDGETHOURS)), "0");
  SetChildText(dialog, IDC_EDBUDGETHOURS, "0.002");  // 7.2 seconds
  ClickChild(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(static_cast<HWND>(dialog)); }));
  EXPECT_NE(app.ReadFile("Entries.ini").find("BudgetHours=0.002"), std::string::npos);

  app.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Online"; }));
  app.SelectListRow(IDC_CNLIST, 1);
  EXPECT_NE(app.AnswerMessageBox("Budget", "Alpha for this billing period is used up. Hang up now?",
                                 IDYES),
            "");
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Offline"; }));
  const std::string log = app.ReadFile("DialLog.TXT");
  EXPECT_NE(log.find("80% of the budget of Alpha for this billing period is used; "),
            std::string::npos)
      << log;

  app.SelectListRow(IDC_CNLIST, 0);
  app.Click(IDC_BTNDIAL);
  EXPECT_NE(app.AnswerMessageBox("Budget", "Dial all the same?", IDNO), "");
  // A click after the answer is handled after the dial's command has ended: a dial it
  // started would be in the log by then.
  app.Click(IDC_BTNVIEWSPEED);
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLINFO1CAPTION) == "Bytes Received"; }));
  EXPECT_EQ(app.Text(IDC_LBLONLINE), "Offline");
  const std::string after = app.ReadFile("DialLog.TXT");
  EXPECT_EQ(after.find("Connecting to Alpha..."), after.rfind("Connecting to Alpha..."))
      << "dialed twice: " << after;
}

// A volume limit set here: the warning, then the question; the session's line in
// Sessions.csv tells its bytes and why it ended.
TEST(PropertyE2E, AVolumeLimitSetHereWarnsThenAsksAndSessionsCsvTellsTheBytes) {
  Tarvolin app;
  ASSERT_TRUE(app.StartWith("[Alpha]\nStepDelayMs=0\nUserName=ann\nRecvBps=100000\nSendBps=0\n"));
  Hwnd dialog = OpenProperty(app);
  ASSERT_NE(dialog, nullptr);
  SetChildText(dialog, IDC_EDBUDGETVOLUME, "1");  // ten seconds online
  SetChildText(dialog, IDC_EDFREEHOURS, "24:00-07:00");
  ExpectRefusal(app, dialog,
                "'24:00-07:00' are not valid free hours; write them as 23:00-07:00, or leave "
                "them empty for none.");
  SetChildText(dialog, IDC_EDFREEHOURS, "");
  ClickChild(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(static_cast<HWND>(dialog)); }));
  EXPECT_NE(app.ReadFile("Entries.ini").find("BudgetVolume=1"), std::string::npos);

  app.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Online"; }));
  ASSERT_TRUE(WaitUntil([&] {
    return app.ReadFile("DialLog.TXT")
               .find("80% of the budget of Alpha for this billing period is used; 0") !=
           std::string::npos;
  }));
  EXPECT_NE(app.AnswerMessageBox("Budget", "Alpha for this billing period is used up. Hang up now?",
                                 IDYES),
            "");
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Offline"; }));
  const std::string sessions = app.ReadFile("Sessions.csv");
  ASSERT_TRUE(sessions.starts_with("\xEF\xBB\xBFStart,End,Seconds online,")) << sessions;
  const size_t line = sessions.find("\r\n") + 2;
  const std::string ended = ",Alpha,hung up for the budget,,";
  const size_t entry = sessions.find(ended, line);
  ASSERT_NE(entry, std::string::npos) << sessions;
  // Start and end with their offset, seconds, received, sent and cost.
  const std::string fields = sessions.substr(line, entry - line);
  EXPECT_EQ(std::count(fields.begin(), fields.end(), ','), 5) << fields;
  const size_t received = fields.find(',', fields.find(',', fields.find(',') + 1) + 1) + 1;
  EXPECT_GE(std::stoull(fields.substr(received)), 1000000u) << fields;
  EXPECT_EQ(fields[23] == '+' || fields[23] == '-', true) << fields;
  // Without free hours, every byte counted against the budget.
  EXPECT_GE(std::stoull(sessions.substr(entry + ended.size())), 1000000u) << sessions;
}

}  // namespace
