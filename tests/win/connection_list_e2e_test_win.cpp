// End to end: the connection list with its marks, Set Default, Delete, the phonebook
// watch and the selection across a restart.
#include <windows.h>

#include <gtest/gtest.h>

#include "driver.h"
#include "commands/command_ids.h"

namespace {

constexpr int kSelectedMark = 0;
constexpr int kDefaultMark = 1;
constexpr int kOtherMark = 2;
constexpr int kNoMark = -2;  // the list's "no image"

constexpr const char* kPhonebook =
    "[Alpha]\nStepDelayMs=0\n"
    "[Bravo]\nStepDelayMs=0\n"
    "[Charlie]\nStepDelayMs=0\n";

std::vector<std::string> Names(const std::vector<ListRow>& rows) {
  std::vector<std::string> names;
  for (const auto& row : rows)
    names.push_back(row.Text);
  return names;
}

class ConnectionListE2E : public ::testing::Test {
 protected:
  std::vector<ListRow> Rows() const { return app_.ListRows(IDC_CNLIST); }

  Tarvolin app_;
};

TEST_F(ConnectionListE2E, TheListShowsThePhonebookWithTheSelectedAndDefaultMarks) {
  SetUserRegistryText("RemoteAccess", "InternetProfile", "Bravo");
  app_.WriteFile("Entries.ini", "[Alpha]\r\nUserName=alice\r\n");
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  const auto rows = Rows();
  ASSERT_EQ(Names(rows), (std::vector<std::string>{"Alpha", "Bravo", "Charlie"}));
  EXPECT_EQ(rows[0].Image, kSelectedMark);
  EXPECT_EQ(rows[1].Image, kNoMark);
  EXPECT_EQ(rows[0].SubText, "alice");  // the account kept in Entries.ini
  EXPECT_EQ(rows[0].SubImage, kOtherMark);
  EXPECT_EQ(rows[1].SubImage, kDefaultMark);
  EXPECT_EQ(rows[2].SubImage, kOtherMark);
}

TEST_F(ConnectionListE2E, OnAFirstStartAClickKeepsTheAccountThePhonebookStores) {
  ASSERT_TRUE(app_.StartWith(
      "[Alpha]\nStepDelayMs=0\n[Bravo]\nStepDelayMs=0\nUserName=bob\nPassword=secret\n"));
  EXPECT_EQ(Rows()[1].SubText, "bob");
  app_.SelectListRow(IDC_CNLIST, 1);
  ASSERT_TRUE(WaitUntil([&] { return Rows()[1].Image == kSelectedMark; }));
  const std::string phonebook = app_.ReadFile("rasphone.pbk");
  EXPECT_NE(phonebook.find("UserName=bob"), std::string::npos) << phonebook;
  EXPECT_NE(phonebook.find("Password=secret"), std::string::npos) << phonebook;
  EXPECT_FALSE(app_.FileExists("Entries.ini"));
}

TEST_F(ConnectionListE2E, SetDefaultWritesTheSystemsDefaultConnection) {
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  app_.SelectListRow(IDC_CNLIST, 2);
  ASSERT_TRUE(WaitUntil([&] { return Rows()[2].Image == kSelectedMark; }));
  app_.Click(IDC_BTNDEFAULT);
  ASSERT_TRUE(WaitUntil([&] { return Rows()[2].SubImage == kDefaultMark; }));
  EXPECT_EQ(UserRegistryText("RemoteAccess", "InternetProfile"), "Charlie");
  EXPECT_EQ(Rows()[0].Image, kNoMark);
}

TEST_F(ConnectionListE2E, AnEntryAddedToThePhonebookAppearsByItself) {
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  app_.WritePhonebook(std::string(kPhonebook) + "[Delta]\nStepDelayMs=0\n");
  // The watch looks every three seconds.
  EXPECT_TRUE(WaitUntil([&] { return Rows().size() == 4; }));
  EXPECT_EQ(Rows().back().Text, "Delta");
}

TEST_F(ConnectionListE2E, DeleteRemovesTheSelectedEntryAfterYes) {
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  app_.SelectListRow(IDC_CNLIST, 1);
  ASSERT_TRUE(WaitUntil([&] { return Rows()[1].Image == kSelectedMark; }));
  app_.Click(IDC_BTNDELETE);
  EXPECT_EQ(app_.AnswerMessageBox("Delete DialUp Entry", "\"Bravo\"", IDYES),
            "Are you sure to delete the dial entry \"Bravo\"");
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 2; }));
  EXPECT_EQ(Names(Rows()), (std::vector<std::string>{"Alpha", "Charlie"}));
  EXPECT_EQ(Rows()[0].Image, kSelectedMark);
  EXPECT_EQ(app_.ReadFile("rasphone.pbk").find("[Bravo]"), std::string::npos);
}

TEST_F(ConnectionListE2E, TheSelectionSurvivesARestart) {
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  app_.SelectListRow(IDC_CNLIST, 2);
  ASSERT_TRUE(WaitUntil([&] { return Rows()[2].Image == kSelectedMark; }));
  app_.Command(IDM_EXIT1);
  ASSERT_TRUE(app_.WaitForExit());
  EXPECT_EQ(UserRegistryText("Software\\Tarvolin", "Rt_LastSelect"), "Charlie");

  app_.Start();
  ASSERT_TRUE(app_.WaitForMainWindow());
  EXPECT_TRUE(WaitUntil([&] {
    const auto rows = Rows();
    return rows.size() == 3 && rows[2].Image == kSelectedMark;
  }));
  EXPECT_EQ(Rows()[0].Image, kNoMark);
}

}  // namespace

namespace {

constexpr int kEntryNameField = 101;  // in the substitute's phonebook-entry dialog

// Waits for the substitute's entry dialog, checks the name it shows, types a new one
// and presses OK.
void AnswerEntryDialog(const Tarvolin& app, const std::string& shown, const std::string& name) {
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    return (dialog = static_cast<HWND>(app.FindTopLevel("Phonebook Entry"))) != nullptr;
  }));
  HWND field = GetDlgItem(dialog, kEntryNameField);
  EXPECT_EQ(WindowText(field), shown);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

TEST_F(ConnectionListE2E, NewAndEditGoThroughThePhonebooksOwnDialog) {
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  app_.Click(IDC_BTNNEW);
  AnswerEntryDialog(app_, "", "Echo");
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 4; }));
  EXPECT_EQ(Rows().back().Text, "Echo");

  app_.SelectListRow(IDC_CNLIST, 1);
  ASSERT_TRUE(WaitUntil([&] { return Rows()[1].Image == kSelectedMark; }));
  app_.Click(IDC_BTNEDIT);
  AnswerEntryDialog(app_, "Bravo", "Bravo Two");
  ASSERT_TRUE(WaitUntil([&] { return Rows()[1].Text == "Bravo Two"; }));
  EXPECT_EQ(Names(Rows()), (std::vector<std::string>{"Alpha", "Bravo Two", "Charlie", "Echo"}));
}

}  // namespace
