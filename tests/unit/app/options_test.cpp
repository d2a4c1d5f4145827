// The Options command: OK stores, applies and saves the settings, Cancel changes nothing,
// and a line slower than the chosen minimum speed is hung up, not as the user's.
#include <gtest/gtest.h>

#include "mainform_fixture.h"
#include "rassim/entry.h"
#include "settings/password.h"

namespace {

constexpr const char* kKey = "Software\\Tarvolin";

class OptionsTest : public MainformTest {
 protected:
  OptionsTest()
      : MainformTest(
            "[Slow]\nStepDelayMs=0\nLinkSpeed=33600\n"
            "[Exact]\nStepDelayMs=0\nLinkSpeed=36000\n") {}

  Tmainform& StartOnline(const std::string& entry) {
    Tmainform& form = Start();
    form.CnListSelectItem(entry);
    form.Dial1Click();
    EXPECT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
    return form;
  }

  uint32_t Stored(const std::string& name) {
    const auto* value = registry_.Find(RegRoot::CurrentUser, kKey, name);
    return value ? value->number : 0xDEAD;
  }

  // OK in the dialog after `edit` changed its controls.
  void AnswerOK(std::function<void(OptionControls&)> edit) {
    view_.options_answer = [edit](TOptionForm& form) {
      edit(form.Controls());
      return true;
    };
  }
};

TEST_F(OptionsTest, OkStoresAppliesAndSavesWhatTheDialogShows) {
  registry_.WriteInt(RegRoot::CurrentUser, kKey, "UdWaitTime", 1);
  Tmainform& form = Start();
  AnswerOK([](OptionControls& c) {
    EXPECT_EQ(c.UdWaitTime, 3);
    EXPECT_EQ(c.UdScale, 10);
    c.CkbKeepConnection = true;
    c.CkbAlwaysOnTop = true;
    c.CkbAutoDial = true;
    c.UdScale = 1;
  });
  EXPECT_TRUE(form.Commands().Run(Command::Option));

  EXPECT_EQ(view_.options_shown, 1);
  EXPECT_EQ(form.Settings().UdWaitTime, 3);
  EXPECT_EQ(form.Settings().HisRecvMax, 1024);
  EXPECT_TRUE(view_.keep);
  EXPECT_TRUE(view_.always_on_top);
  EXPECT_EQ(Stored("UdWaitTime"), 3u);
  EXPECT_EQ(Stored("HisRecvMax"), 1024u);
  EXPECT_EQ(Stored("CkbKeepConnection"), 1u);
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Slow")->autodial_func, "RASADFunc");
}

TEST_F(OptionsTest, CancelChangesNoSettingAndWritesNothing) {
  registry_.WriteInt(RegRoot::CurrentUser, kKey, "CkbSetPWD", 1);
  registry_.WriteText(RegRoot::CurrentUser, kKey, "ConnPWD", EncodePassword("old"));
  Tmainform& form = Start();
  const AppSettings before = form.Settings();
  const int keep_updates = view_.keep_updates;
  registry_.WriteInt(RegRoot::CurrentUser, kKey, "UdWaitTime", 42);
  view_.options_answer = [](TOptionForm& dialog) {
    dialog.Controls() = OptionControls();
    dialog.Controls().CkbKeepConnection = true;
    dialog.PendingPassword() = "new";  // confirmed in the password dialog
    return false;
  };
  form.Commands().Run(Command::Option);
  EXPECT_EQ(form.Settings(), before);
  EXPECT_EQ(view_.keep_updates, keep_updates);
  EXPECT_EQ(Stored("UdWaitTime"), 42u);

  // The password confirmed during that visit is what the next OK stores.
  AnswerOK([](OptionControls&) {});
  form.Commands().Run(Command::Option);
  EXPECT_EQ(form.Settings().ConnPWD, "new");
}

TEST_F(OptionsTest, OkHangsUpALineSlowerThanTheChosenSpeedAndKeepDialsAgain) {
  Tmainform& form = StartOnline("Slow");
  form.Settings().CbMinSpeed = -1;  // no speed chosen: 36000 bps
  AnswerOK([](OptionControls& c) {
    EXPECT_EQ(c.CbMinSpeed, -1);
    c.CkbMinSpeed = true;
    c.CkbKeepConnection = true;
  });
  form.Commands().Run(Command::Option);
  EXPECT_TRUE(form.DialUp().ConnectionGone());
  EXPECT_FALSE(form.Dialing().UserHungUp());
  EXPECT_FALSE(form.Dialing().WaitTimeTimer().Enabled());

  form.CheckTimerTimer();  // the monitor sees the line gone and keep dials again
  EXPECT_TRUE(form.Dialing().Dialing());
  EXPECT_EQ(LogCount("Connecting to Slow..."), 2);
}

TEST_F(OptionsTest, ALineAtExactlyTheChosenSpeedStaysUpAndIsTestedOncePerConnect) {
  Tmainform& form = StartOnline("Exact");
  AnswerOK([](OptionControls& c) {
    c.CkbMinSpeed = true;
    c.CbMinSpeed = 7;  // 36000
  });
  form.Commands().Run(Command::Option);
  form.CheckTimerTimer();
  EXPECT_TRUE(form.Dialing().Online());

  // The connect was tested: a faster minimum chosen later waits for the next OK.
  form.Settings().CbMinSpeed = 8;
  form.CheckTimerTimer();
  form.CheckTimerTimer();
  EXPECT_TRUE(form.Dialing().Online());
}

TEST_F(OptionsTest, ThreeSlowConnectsInARowKeepTheLineUntilTheUserDialsAgain) {
  Tmainform& form = Start();
  form.Settings().CkbMinSpeed = true;
  form.Settings().CbMinSpeed = 7;
  form.Settings().CkbDetailedLog = true;
  form.Dialing().SetKeepConnection(true);
  form.CnListSelectItem("Slow");
  form.Dial1Click();
  const auto connects = [&] { return LogCount("Connected to server: "); };

  // Each connect is tested once, by the tick after it: two are hung up, the third kept.
  ASSERT_TRUE(ui_.RunUntil([&] { return connects() == 3 && form.Dialing().Online(); }));
  Elapse(30000);
  EXPECT_TRUE(form.Dialing().Online());
  EXPECT_EQ(connects(), 3);
  EXPECT_EQ(LogCount("The line linked at 33600 bps, below 36000 bps, three times in a row"), 1);
  EXPECT_EQ(LogCount("Line down: hung up for the speed check; the session lasted 00:00:0"), 2);

  // A dial the program asks for (not the user) tests nothing more.
  form.HangUp1Click();
  form.UserMessage(1);
  ASSERT_TRUE(ui_.RunUntil([&] { return connects() == 4 && form.Dialing().Online(); }));
  Elapse(5000);
  EXPECT_EQ(connects(), 4);

  // The user's own dial tests again, from a count of nought.
  form.HangUp1Click();
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return connects() == 7 && form.Dialing().Online(); }));
  Elapse(5000);
  EXPECT_EQ(connects(), 7);
  EXPECT_EQ(LogCount("three times in a row"), 2);
}

}  // namespace
