// The connection list as the controller keeps it: selection across starts, Set Default,
// Delete, the automatic-dial registration, the start-up dial and the phonebook watch.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/unregister.h"
#include "mainform_fixture.h"
#include "rassim/entry.h"
#include "settings/settings_store.h"

namespace {

class ConnectionListTest : public MainformTest {
 protected:
  ConnectionListTest()
      : MainformTest("[First]\nStepDelayMs=0\n[Second]\nStepDelayMs=0\n[Third]\nStepDelayMs=0\n") {}

  void StoreSetting(const std::string& name, uint32_t value) {
    registry_.WriteInt(RegRoot::CurrentUser, kSettingsKey, name, value);
  }
  void StoreDefaultConnection(const std::string& name) {
    registry_.WriteText(RegRoot::CurrentUser, "RemoteAccess", "InternetProfile", name);
  }
  std::string Text(RegRoot root, const std::string& key, const std::string& name) {
    const auto* value = registry_.Find(root, key, name);
    return value ? value->bytes : "<missing>";
  }
  // Another program's automatic-dial handler in the entry's properties.
  void SetHandler(const char* entry, const char* library) {
    rassim::RasEntry properties{};
    properties.dwSize = sizeof properties;
    uint32_t size = sizeof properties;
    ASSERT_EQ(rassim::RasGetEntryPropertiesA(nullptr, entry, &properties, &size, nullptr, nullptr),
              0u);
    rassim::Put(properties.szAutodialDll, library);
    ASSERT_EQ(rassim::RasSetEntryPropertiesA(nullptr, entry, &properties, size, nullptr, 0), 0u);
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (const auto& row : view_.rows) {
      rows.push_back(row.EntryName + (row.Selected ? " *" : "") + (row.IsDefault ? " D" : ""));
    }
    return rows;
  }
};

TEST_F(ConnectionListTest, TheSelectionSurvivesARestartAndTheDefaultIsMarked) {
  StoreDefaultConnection("Third");
  Tmainform& form = Start();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"First *", "Second", "Third D"}));
  form.CnListSelectItem("Second");
  EXPECT_EQ(view_.marked, 1);
  EXPECT_EQ(form.DialUp().Entry, "Second");
  form.Exit1Click();
  ASSERT_TRUE(form.FormClose());
  EXPECT_EQ(Text(RegRoot::CurrentUser, kSettingsKey, "Rt_LastSelect"), "Second");

  Tmainform& again = Start();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"First", "Second *", "Third D"}));
  EXPECT_EQ(again.DialUp().Entry, "Second");
}

TEST_F(ConnectionListTest, SetDefaultWritesTheHighlightedEntryAndTellsOtherPrograms) {
  Tmainform& form = Start();
  form.SetDefault1Click();  // nothing highlighted: the selected row
  EXPECT_EQ(Text(RegRoot::CurrentUser, "RemoteAccess", "InternetProfile"), "First");
  form.CnListSelectItem("Third");
  form.SetDefault1Click();
  EXPECT_EQ(Text(RegRoot::CurrentUser, "RemoteAccess", "InternetProfile"), "Third");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"First", "Second", "Third * D"}));
  EXPECT_EQ(desktop_.broadcasts,
            (std::vector<std::string>{"Internet Settings", "Internet Settings"}));
}

TEST_F(ConnectionListTest, SetDefaultAfterARebuildTakesTheSelectedRowNeverAGoneHighlight) {
  Tmainform& form = Start();
  form.CnListSelectItem("Second");
  form.Delete1Click();  // the rebuild ends the highlight along with the entry
  form.SetDefault1Click();
  EXPECT_EQ(Text(RegRoot::CurrentUser, "RemoteAccess", "InternetProfile"), "First");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"First * D", "Third"}));

  // No entries at all: the default becomes empty.
  phonebook_.Write("");
  form.Refresh1Click();
  form.SetDefault1Click();
  EXPECT_EQ(Text(RegRoot::CurrentUser, "RemoteAccess", "InternetProfile"), "");
}

TEST_F(ConnectionListTest, APhonebookOfMoreThanAHundredEntriesShowsItsFirstHundred) {
  std::string phonebook;
  for (int i = 0; i < 130; ++i)
    phonebook += "[Entry" + std::to_string(i) + "]\n";
  phonebook_.Write(phonebook);
  Tmainform& form = Start();
  ASSERT_EQ(view_.rows.size(), 100u);
  EXPECT_EQ(view_.rows.front().EntryName, "Entry0");
  EXPECT_EQ(view_.rows.back().EntryName, "Entry99");
  // The watch sees the same first hundred and leaves the list alone.
  StoreDefaultConnection("Entry5");
  for (int i = 0; i < 3; ++i)
    form.CheckTimerTimer();
  EXPECT_TRUE(view_.rows[5].IsDefault);
  const auto rebuilt = view_.journal.size();
  for (int i = 0; i < 3; ++i)
    form.CheckTimerTimer();
  EXPECT_EQ(view_.journal.size(), rebuilt);
}

TEST_F(ConnectionListTest, DeleteAsksAboutTheSelectedEntryAndRemovesItOnlyOnYes) {
  Tmainform& form = Start();
  form.CnListSelectItem("Second");
  form.DialUp().Entry = "First";  // the component last acted on another entry
  prompts_.answer_yes = false;
  form.Delete1Click();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0],
            "Delete DialUp Entry: Are you sure to delete the dial entry \"Second\"");
  EXPECT_EQ(Rows().size(), 3u);

  prompts_.answer_yes = true;
  form.Delete1Click();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"First *", "Third"}));
  EXPECT_EQ(form.DialUp().Entry, "First");
}

TEST_F(ConnectionListTest, TheWatchRebuildsOnEveryThirdTickWhenThePhonebookChanged) {
  Tmainform& form = Start();
  phonebook_.Write("[First]\n[Second]\n[Third]\n[Fourth]\n");
  form.CheckTimerTimer();
  form.CheckTimerTimer();
  EXPECT_EQ(Rows().size(), 3u);
  form.CheckTimerTimer();
  EXPECT_EQ(Rows().size(), 4u);

  StoreDefaultConnection("Fourth");
  for (int i = 0; i < 3; ++i)
    form.CheckTimerTimer();
  EXPECT_EQ(Rows().back(), "Fourth D");

  // An emptied phonebook leaves the list alone until Refresh.
  phonebook_.Write("");
  for (int i = 0; i < 3; ++i)
    form.CheckTimerTimer();
  EXPECT_EQ(Rows().size(), 4u);
  form.Refresh1Click();
  EXPECT_TRUE(Rows().empty());
}

// On puts this copy's handler into each entry of the user's own phonebook, keeping another
// program's for later; off gives that one back. An entry RAS refuses is named and the
// others still get the handler. Of the values older versions wrote, only this copy's go.
TEST_F(ConnectionListTest, AutoDialTakesOverTheUsersEntriesAndGivesBackWhatItFound) {
  const std::string kOurs = "C:\\Tarvolin\\tvndl.dll";
  const std::string kInternet = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  const std::string kPrevious = std::string(kSettingsKey) + "\\AutoDialPrevious\\Third";
  phonebook_.Write(
      "[First]\n[Bad\tName]\n[Second]\nAlternatePhoneNumbers=555-0101,555-0102\n"
      "[Third]\nAutodialDll=C:\\Other\\handler.dll\nAutodialFunc=Other\n");
  phonebook_.WriteAllUsers("[Shared]\n");
  registry_.WriteText(RegRoot::CurrentUser, "RemoteAccess\\Profile\\First", "AutoDialDllName",
                      kOurs);
  registry_.WriteText(RegRoot::Users, ".DEFAULT\\RemoteAccess\\Profile\\First", "AutoDialDllName",
                      kOurs);
  registry_.WriteText(RegRoot::CurrentUser, "RemoteAccess\\Profile\\Second", "AutoDialDllName",
                      "D:\\Copy\\tvndl.dll");
  StoreSetting("CkbAutoDial", 1);
  for (int start = 0; start < 2; ++start) {  // a second start keeps what the first found
    Start();
    for (const char* entry : {"First", "Second", "Third"}) {
      const rassim::EntrySettings listed = *rassim::LoadEntry(nullptr, entry);
      EXPECT_EQ(listed.autodial_dll, kOurs) << entry;
      EXPECT_EQ(listed.autodial_func, "RASADFunc") << entry;
    }
    EXPECT_EQ(Text(RegRoot::CurrentUser, kPrevious, "Library"), "C:\\Other\\handler.dll");
    EXPECT_EQ(Text(RegRoot::CurrentUser, kPrevious, "Function"), "Other");
    ASSERT_EQ(prompts_.errors.size(), 1u);
    EXPECT_NE(prompts_.errors[0].find("\"Bad\tName\""), std::string::npos);
    prompts_.errors.clear();
  }
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Second")->alternates,
            (std::vector<std::string>{"555-0101", "555-0102"}));
  EXPECT_EQ(phonebook_.ReadAllUsers().find("Autodial"), std::string::npos);
  EXPECT_EQ(Text(RegRoot::CurrentUser, kInternet, "EnableAutoDial"), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(Text(RegRoot::CurrentUser, "RemoteAccess\\Profile\\First", "AutoDialDllName"),
            "<missing>");
  EXPECT_EQ(Text(RegRoot::Users, ".DEFAULT\\RemoteAccess\\Profile\\First", "AutoDialDllName"),
            "<missing>");
  EXPECT_EQ(Text(RegRoot::CurrentUser, "RemoteAccess\\Profile\\Second", "AutoDialDllName"),
            "D:\\Copy\\tvndl.dll");

  // Another program took First over meanwhile: off leaves it that one's.
  SetHandler("First", "C:\\Third\\party.dll");
  StoreSetting("CkbAutoDial", 0);
  Start();
  EXPECT_EQ(rassim::LoadEntry(nullptr, "First")->autodial_dll, "C:\\Third\\party.dll");
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Second")->autodial_dll, "");
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Third")->autodial_dll, "C:\\Other\\handler.dll");
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Third")->autodial_func, "Other");
  EXPECT_FALSE(registry_.KeyExists(RegRoot::CurrentUser, kPrevious));
  EXPECT_EQ(Text(RegRoot::CurrentUser, kInternet, "EnableAutoDial"), std::string(4, '\0'));

  // Where the found handler cannot be kept, it is not replaced.
  StoreSetting("CkbAutoDial", 1);
  registry_.refused.insert(RegRoot::CurrentUser);
  prompts_.errors.clear();
  Start();
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Third")->autodial_dll, "C:\\Other\\handler.dll");
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Second")->autodial_dll, kOurs);
  EXPECT_TRUE(std::ranges::any_of(prompts_.errors, [](const std::string& error) {
    return error.find("\"Third\" keeps the automatic-dial handler") != std::string::npos;
  }));
}

TEST_F(ConnectionListTest, BothPhonebooksAreListedAndEachEntryIsDialedFromItsOwn) {
  phonebook_.Write("[First]\nStepDelayMs=0\n[Shared]\nStepDelayMs=0\nOutcome=busy\n");
  phonebook_.WriteAllUsers(
      "[Office]\nStepDelayMs=0\nPhoneNumber=555-0177\n[shared]\nStepDelayMs=0\n");
  Tmainform& form = Start();
  // The user's own Shared is listed, in place of the all-users one, and the log says so once.
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Office *", "First", "Shared"}));
  form.Refresh1Click();
  EXPECT_EQ(LogCount("\"shared\" is in the all-users phonebook and in your own"), 1);

  // The all-users entry is dialed, and its account kept, in its own phonebook.
  ASSERT_EQ(form.DialUp().Entry, "Office");
  ASSERT_EQ(form.DialUp().SaveAccount("alice", ""), 0);
  EXPECT_NE(phonebook_.ReadAllUsers().find("UserName=alice"), std::string::npos);
  form.Dial1Click();
  EXPECT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  form.HangUp1Click();
  // The user's Shared is the busy one.
  form.CnListSelectItem("Shared");
  form.Dial1Click();
  EXPECT_TRUE(ui_.RunUntil([&] { return LogCount("The line is busy.") == 1; }));
}

TEST_F(ConnectionListTest, UnregisterTakesBackWhatTheProgramRegisteredAndNothingElse) {
  const std::string run_key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  StoreSetting("CkbAutoDial", 1);
  StoreSetting("CkbRunOnStartup", 1);
  Tmainform& form = Start();
  form.Exit1Click();
  ASSERT_TRUE(form.FormClose());
  ASSERT_EQ(rassim::LoadEntry(nullptr, "First")->autodial_dll, "C:\\Tarvolin\\tvndl.dll");
  // Another program's handler in Second since.
  SetHandler("Second", "C:\\Other\\handler.dll");
  ASSERT_EQ(Text(RegRoot::CurrentUser, run_key, "Tarvolin"), "C:\\Tarvolin\\tarvolin.exe");
  EXPECT_EQ(Text(RegRoot::LocalMachine, run_key, "Tarvolin"), "<missing>");

  EXPECT_FALSE(IsUnregisterRequest({"/unregister", "AutoDial"}));
  ASSERT_TRUE(IsUnregisterRequest({"/UnRegister"}));
  TDialUp dialup(ras_, ui_, clock_);
  EXPECT_EQ(Unregister(registry_, files_, dialup), std::vector<std::string>{});
  EXPECT_EQ(rassim::LoadEntry(nullptr, "First")->autodial_dll, "");
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Second")->autodial_dll, "C:\\Other\\handler.dll");
  EXPECT_EQ(Text(RegRoot::CurrentUser, "RemoteAccess\\Profile\\First", "AutoDialDllName"),
            "<missing>");
  EXPECT_EQ(
      Text(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
           "EnableAutoDial"),
      std::string(4, '\0'));
  EXPECT_EQ(Text(RegRoot::CurrentUser, run_key, "Tarvolin"), "<missing>");
  // The user's settings stay for a later install.
  uint32_t autodial = 0;
  EXPECT_EQ(registry_.ReadInt(RegRoot::CurrentUser, kSettingsKey, "CkbAutoDial", autodial),
            RegRead::Ok);
  EXPECT_EQ(autodial, 1u);
}

TEST_F(ConnectionListTest, ConnectOnStartupDialsTheDefaultOrTheSelectedConnectionOnce) {
  StoreSetting("CkbConnectOnStartup", 1);
  StoreSetting("RgConnectOnStartup", 0);
  registry_.WriteText(RegRoot::CurrentUser, kSettingsKey, "Rt_LastSelect", "First");
  Start();  // no default connection: no dial
  EXPECT_EQ(LogCount("Connecting to"), 0);

  StoreDefaultConnection("Third");
  Tmainform& form = Start({"AutoDial"});  // the argument dials; the option adds nothing
  EXPECT_EQ(LogCount("Connecting to"), 1);
  EXPECT_EQ(LogCount("Connecting to First..."), 1);
  form.HangUp1Click();

  Start();
  EXPECT_EQ(LogCount("Connecting to Third..."), 1);  // the default, not the selected row
}

}  // namespace
