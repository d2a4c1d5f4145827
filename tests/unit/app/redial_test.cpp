// Redials after failed attempts as the options shape them: a stop after N failures in a
// row or after the account was refused twice, longer pauses, and the next number of the
// connection's list when the line is busy or does not answer.
#include <gtest/gtest.h>

#include "mainform_fixture.h"
#include "rassim/rassim.h"

namespace {

constexpr const char* kEntries = "C:\\Tarvolin\\Entries.ini";
constexpr const char* kBusy =
    "[Busy]\nOutcome=busy\nStepDelayMs=0\n[Locked]\nOutcome=badaccount\nStepDelayMs=0\n"
    "[Silent]\nOutcome=noanswer\nStepDelayMs=0\n";
constexpr const char* kUp =
    "[Busy]\nStepDelayMs=0\n[Locked]\nOutcome=badaccount\nStepDelayMs=0\n"
    "[Silent]\nOutcome=noanswer\nStepDelayMs=0\n";
constexpr const char* kLockedBusy =
    "[Busy]\nOutcome=busy\nStepDelayMs=0\n[Locked]\nOutcome=busy\nStepDelayMs=0\n"
    "[Silent]\nOutcome=noanswer\nStepDelayMs=0\n";

class RedialTest : public MainformTest {
 protected:
  RedialTest() : MainformTest(kBusy) {}

  int Dials(const std::string& entry) { return LogCount("Connecting to " + entry + "..."); }

  // The fake time when dial number `dial` of `entry` started.
  uint64_t DialStarted(const std::string& entry, int dial) {
    EXPECT_TRUE(ui_.RunUntil([&] { return Dials(entry) >= dial; }));
    return clock_.Now();
  }
};

TEST_F(RedialTest, PausesDoubleUpToTenDelaysBackToOneAfterAConnectAndTheNthFailureStops) {
  Tmainform& form = Start();
  form.Settings().UdRedialAfter = 2;
  form.Settings().CkbLongerWait = true;
  form.Settings().UdStopAfterFailures = 7;
  form.CnListSelectItem("Busy");
  form.Dial1Click();
  uint64_t last = clock_.Now();
  for (uint64_t pause : {2000, 4000, 8000, 16000, 20000, 20000}) {
    const uint64_t started = DialStarted("Busy", Dials("Busy") + 1);
    EXPECT_NEAR(static_cast<double>(started - last), static_cast<double>(pause), 50.0);
    last = started;
  }
  const std::string why = "Redialing stopped after 7 failed attempts in a row.";
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount(why) == 1; }));
  Elapse(200000);  // past the wait for an answer, too
  EXPECT_EQ(Dials("Busy"), 7);
  EXPECT_EQ(view_.status, why);

  // Two failures, a connect, and the line lost with Keep on: the next pause is one delay.
  form.Dial1Click();
  DialStarted("Busy", 9);
  last = DialStarted("Busy", 10);
  phonebook_.Write(kUp);
  form.Dialing().SetKeepConnection(true);
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  phonebook_.Write(kBusy);
  rassim::Drop("*");
  last = DialStarted("Busy", 12);
  EXPECT_NEAR(static_cast<double>(DialStarted("Busy", 13) - last), 2000.0, 50.0);
}

TEST_F(RedialTest, TwoRefusalsInARowStopAndTheTraySaysWhyWhileTheWindowIsHidden) {
  Tmainform& form = Start();
  form.Settings().CkbStopOnRefusal = true;
  EXPECT_FALSE(form.FormClose());  // hidden to the tray
  form.CnListSelectItem("Locked");
  form.Dial1Click();
  Elapse(120000);
  const std::string why =
      "Redialing stopped: the user name or password was refused twice in a row (2 failed "
      "attempts).";
  EXPECT_EQ(Dials("Locked"), 2);
  EXPECT_EQ(LogCount(why), 1);
  EXPECT_EQ(view_.status, why);
  EXPECT_EQ(view_.online_label, "Offline");
  EXPECT_EQ(view_.balloons, std::vector<std::string>{why});

  // Shown, the window says it in its status line only.
  form.UserMessage(0);
  form.Dial1Click();
  Elapse(120000);
  EXPECT_EQ(LogCount(why), 2);
  EXPECT_EQ(view_.balloons.size(), 1u);

  // A busy line between two refusals: they are not in a row.
  form.Dial1Click();
  phonebook_.Write(kLockedBusy);
  DialStarted("Locked", 6);
  phonebook_.Write(kBusy);
  Elapse(120000);
  EXPECT_EQ(Dials("Locked"), 8);
  EXPECT_EQ(LogCount("the user name or password was refused twice in a row (4 failed attempts)"),
            1);
}

TEST_F(RedialTest, ABusyOrSilentNumberGivesWayToTheNextOfItsConnectionsListInMemoryOnly) {
  const std::string entries =
      "[Busy]\r\nPN=222\r\nPNList=111^^222^^333^^\r\n[Silent]\r\nPN=7\r\nPNList=7^^8^^\r\n";
  files_.content[kEntries] = entries;
  Tmainform& form = Start();
  form.Settings().CkbNextNumberWhenBusy = true;
  form.CnListSelectItem("Busy");
  form.Dial1Click();
  std::vector<std::string> numbers = {form.DialUp().PhoneNumber};
  for (int dial = 2; dial <= 4; ++dial) {
    DialStarted("Busy", dial);
    numbers.push_back(form.DialUp().PhoneNumber);
  }
  EXPECT_EQ(numbers, (std::vector<std::string>{"222", "333", "111", "222"}));
  EXPECT_EQ(LogCount("Busy or no answer: the next dial uses 333 (1 failed attempt in a row)."), 1);
  EXPECT_EQ(LogCount("Busy or no answer: the next dial uses 111 (2 failed attempts in a row)."), 1);

  // Another row selected in the pause: its redials round its own list, and no answer moves
  // on as busy does; back on the first row, its round goes on where it was.
  form.CnListSelectItem("Silent");
  DialStarted("Silent", 1);
  EXPECT_EQ(form.DialUp().PhoneNumber, "7");
  DialStarted("Silent", 2);
  EXPECT_EQ(form.DialUp().PhoneNumber, "8");
  form.CnListSelectItem("Busy");
  DialStarted("Busy", 5);
  EXPECT_EQ(form.DialUp().PhoneNumber, "333");

  // The number that connected is kept for Keep's redial; the user's next dial uses PN.
  phonebook_.Write(kUp);
  form.Dialing().SetKeepConnection(true);
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  EXPECT_EQ(form.DialUp().PhoneNumber, "111");
  rassim::Drop("*");
  DialStarted("Busy", 7);
  EXPECT_EQ(form.DialUp().PhoneNumber, "111");
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  form.Dial1Click();
  EXPECT_EQ(form.DialUp().PhoneNumber, "222");
  EXPECT_EQ(files_.content[kEntries], entries);
}

}  // namespace
