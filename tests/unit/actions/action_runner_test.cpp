// Running actions: which run at a point and in what order, the shell's request, and the
// windows a Close window action closes.
#include "actions/action_runner.h"

#include <gtest/gtest.h>

#include "action_fixture.h"

namespace {

using Texts = std::vector<std::string>;

class ActionRunnerTest : public ActionRunnerFixture {
 protected:
  Texts Journal() const {
    Texts lines;
    for (const std::string& entry : view_.journal)
      lines.push_back(entry.starts_with("status ") ? entry.substr(7) : entry);
    return lines;
  }
};

ActionInfo RunAction(const std::string& file, int status, bool before_dialing) {
  ActionInfo action;
  action.InUse = true;
  action.FileName = file;
  action.CommandLine = "-x";
  action.Directory = "C:\\Work";
  action.WindowStatus = status;
  action.BeforeDialing = before_dialing;
  action.AfterConnected = !before_dialing;
  return action;
}

TEST_F(ActionRunnerTest, ActionsOfThePointRunInSlotOrderEachAfterItsLogLine) {
  table_[0] = RunAction("first.exe", 0, true);
  table_[1] = RunAction("other.exe", 1, false);
  table_[2] = RunAction("second.exe", 2, true);
  table_[3] = RunAction("odd type", 3, true);
  table_[3].ActionType = 2;  // from a hand-edited file: logged, nothing more
  table_[5] = RunAction("behind a free slot.exe", 0, true);
  const std::string line = "Perform user defined action...";

  runner_.PerformActions(table_, PerformAt::BeforeDialing, &view_);
  EXPECT_EQ(Journal(), (Texts{line, "open first.exe", line, "open second.exe", line}));
  ASSERT_EQ(shell_.started.size(), 2u);
  EXPECT_EQ(shell_.started[0].parameters, "-x");
  EXPECT_EQ(shell_.started[0].directory, "C:\\Work");
  EXPECT_EQ(shell_.started[0].show, ShowCommand::Show);  // "Normal" is not SW_SHOWNORMAL
  EXPECT_EQ(shell_.started[0].owner, &view_);
  EXPECT_EQ(shell_.started[1].show, ShowCommand::Minimize);
  EXPECT_EQ(view_.status_color, kLogMessageColor);

  view_.journal.clear();
  runner_.PerformActions(table_, PerformAt::WhenErrorOccurs, &view_);
  EXPECT_TRUE(view_.journal.empty());

  settings_.CkbEnableAllActions = false;
  runner_.PerformActions(table_, PerformAt::AfterConnected, &view_);
  EXPECT_TRUE(view_.journal.empty());

  EXPECT_EQ(ShowCommandOf(1), ShowCommand::ShowMaximized);
  EXPECT_EQ(ShowCommandOf(3), ShowCommand::Hide);
  EXPECT_EQ(ShowCommandOf(4), ShowCommand::Show);
}

TEST_F(ActionRunnerTest, CloseWindowsMatchesCaptionsIgnoringTheCaseOfAToZOnly) {
  int w[7];
  desktop_.windows = {
      {&w[0], "Untitled - Notepad"}, {&w[1], "NOTEPAD"},   {&w[2], "Notepad Help"}, {&w[3], ""},
      {&w[4], "Calculator"},         {&w[5], "\xC9t\xC9"}, {&w[6], "NOTEPAD"}};
  const auto closes = [&](const std::string& text, bool containing) {
    desktop_.closed.clear();
    runner_.CloseWindows(text, containing);
    return desktop_.closed;
  };
  using Windows = std::vector<void*>;
  EXPECT_EQ(closes("notepad", true), (Windows{&w[0], &w[1], &w[2], &w[6]}));
  EXPECT_EQ(closes("notepad", false), (Windows{&w[1], &w[6]}));
  EXPECT_EQ(closes("", true), Windows{});
  EXPECT_EQ(closes("", false), Windows{});
  EXPECT_EQ(closes("\xC9t\xC9", false), Windows{&w[5]});
  EXPECT_EQ(closes("\xE9t\xE9", true), Windows{});  // only A-Z fold

  ActionInfo action;
  action.ActionType = kCloseWindow;
  action.WindowText = "calc";
  action.CloseContainText = true;
  desktop_.closed.clear();
  runner_.Perform(action, nullptr);
  EXPECT_EQ(desktop_.closed, Windows{&w[4]});

  EXPECT_EQ(runner_.WindowCaptions(),
            (Texts{"Calculator", "NOTEPAD", "Notepad Help", "Untitled - Notepad", "\xC9t\xC9"}));
}

}  // namespace
