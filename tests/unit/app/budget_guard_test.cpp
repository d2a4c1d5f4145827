// A connection's budget over several billing periods: the warning once a period, the
// question at the limit, and which dials may go beyond it.
#include <gtest/gtest.h>

#include "accounting/time_records.h"
#include "mainform_fixture.h"
#include "platform/date_time.h"
#include "rassim/rassim.h"

namespace {

constexpr const char* kEntries = "C:\\Tarvolin\\Entries.ini";
constexpr uint64_t kMinute = 60000;
// Billing day 31: the periods begin on 31 May, 30 June, 31 July, 31 August and 30 September.
constexpr const char* kBudget = "[Home]\r\nBudgetHours=0.5\r\nBillingDay=31\r\n";
const std::string kWarning = "80% of the budget of Home for this billing period is used; ";
const std::string kUsedUp = "The budget of Home for this billing period is used up";
const std::string kHangUpNow = "Budget: " + kUsedUp + ". Hang up now?";
const std::string kDialAnyway = "Budget: " + kUsedUp + ". Dial all the same?";
const std::string kNoDial = "No dial started: " + kUsedUp + ".";

class BudgetTest : public MainformTest {
 protected:
  explicit BudgetTest(const std::string& phonebook = "[Home]\nStepDelayMs=0\n")
      : MainformTest(phonebook) {}

  int Dials(const std::string& entry = "Home") {
    return LogCount("Connecting to " + entry + "...");
  }
  // Warnings given, in the log and as balloons: the log starts afresh with each run.
  int Warnings() {
    return static_cast<int>(
        std::count_if(view_.balloons.begin(), view_.balloons.end(),
                      [](const std::string& text) { return text.rfind(kWarning, 0) == 0; }));
  }
  int Asked(const std::string& question) {
    return static_cast<int>(
        std::count(prompts_.questions.begin(), prompts_.questions.end(), question));
  }
  void Connect(Tmainform& form) {
    form.Dial1Click();
    ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  }
  // Online until the question at the limit, which the user answers with `yes`; the
  // warning came before it, and the line stays up or goes down as answered.
  void RunToTheLimit(Tmainform& form, bool yes) {
    prompts_.answer_yes = yes;
    const int asked = Asked(kHangUpNow);
    ASSERT_TRUE(ui_.RunUntil([&] { return Asked(kHangUpNow) > asked; }));
    Elapse(2000);
    EXPECT_EQ(form.Dialing().Online(), !yes);
  }
};

TEST_F(BudgetTest, EachPeriodWarnsOnceAsksAtTheLimitAndHoldsBackDialsTheUserDidNotAgreeTo) {
  files_.content[kEntries] = kBudget;
  Tmainform& form = Start();
  EXPECT_FALSE(form.FormClose());  // in the tray, where the warning shows as a balloon
  form.Dialing().SetKeepConnection(true);
  form.Settings().CkbDetailedLog = true;

  // Period 1: at 80 % (24 minutes) one warning, at 30 minutes the question; yes hangs up
  // as the user does, so Keep does not dial again.
  Connect(form);
  Elapse(23 * kMinute);
  EXPECT_EQ(Warnings(), 0);
  Elapse(2 * kMinute);
  EXPECT_EQ(LogCount(kWarning), 1);
  EXPECT_EQ(Warnings(), 1);
  EXPECT_EQ(Asked(kHangUpNow), 0);
  RunToTheLimit(form, true);
  EXPECT_EQ(LogCount("Line down: hung up for the budget; the session lasted 00:30:0"), 1);
  EXPECT_EQ(view_.billing_hint,
            "Budget left: 00:00:00; for each of the 29 days left, today included: 00:00:00");
  Elapse(kMinute);
  EXPECT_EQ(Dials(), 1);
  EXPECT_NE(files_.content[kEntries].find("BudgetWarned="), std::string::npos);

  // Beyond the limit the user is asked first; no keeps the line down.
  prompts_.answer_yes = false;
  form.Dial1Click();
  EXPECT_EQ(Asked(kDialAnyway), 1);
  // The program's dials do not start, and say why; the companion hears it was declined.
  EXPECT_EQ(form.DialEntryRequest("Home"), kDialRequestDeclined);
  EXPECT_EQ(LogCount(kNoDial), 1);
  Elapse(kMinute);
  EXPECT_EQ(Dials(), 1);
  // A yes lets that dial and its redials through, and is not asked again at its connect;
  // the next connect asks, and a no holds until the connect after it.
  prompts_.answer_yes = true;
  Connect(form);
  Elapse(2 * kMinute);
  EXPECT_EQ(Asked(kHangUpNow), 1);
  rassim::Drop("*");
  ASSERT_TRUE(ui_.RunUntil([&] { return Dials() == 3 && form.Dialing().Online(); }));
  RunToTheLimit(form, false);
  Elapse(10 * kMinute);
  EXPECT_EQ(Asked(kHangUpNow), 2);
  EXPECT_EQ(Warnings(), 1);
  form.HangUp1Click();

  // Period 2: a restart keeps the warning given, so it is not said twice.
  clock_.Advance(30 * 24 * 60 * kMinute);  // asleep into 1 July
  Elapse(2000);
  EXPECT_EQ(view_.billing_hint,
            "Budget left: 00:30:00; for each of the 30 days left, today included: 00:01:00");
  Connect(form);
  Elapse(25 * kMinute);
  EXPECT_EQ(Warnings(), 2);
  form.HangUp1Click();
  Tmainform& again = Start();
  EXPECT_FALSE(again.FormClose());
  again.Dialing().SetKeepConnection(true);
  Connect(again);
  RunToTheLimit(again, false);
  EXPECT_EQ(Warnings(), 2);
  // The clock set back into period 1 and on again: neither warned nor asked again.
  clock_.ShiftLocal(-2);
  Elapse(kMinute);
  clock_.ShiftLocal(2);
  Elapse(kMinute);
  EXPECT_EQ(Warnings(), 2);
  EXPECT_EQ(Asked(kHangUpNow), 3);

  // Period 3: asleep online into it, the line was kept. The sleep counts toward no budget:
  // the new period warns and asks once its own time reaches the limit.
  clock_.Advance(31 * 24 * 60 * kMinute);  // 1 August
  Elapse(2000);
  EXPECT_TRUE(again.Dialing().Online());
  EXPECT_EQ(Warnings(), 2);
  RunToTheLimit(again, false);
  EXPECT_EQ(Warnings(), 3);
  EXPECT_EQ(Asked(kHangUpNow), 4);
  // Keep's redial of a line dialed within the budget does not go beyond it.
  rassim::Drop("*");
  Elapse(kMinute);
  EXPECT_FALSE(again.Dialing().Online());
  EXPECT_EQ(LogCount(kNoDial), 1);

  // Periods 4 and 5, across the ends of August and September.
  for (int period = 4; period <= 5; ++period) {
    clock_.Advance(31 * 24 * 60 * kMinute);
    Elapse(2000);
    Connect(again);
    RunToTheLimit(again, true);
    EXPECT_EQ(Warnings(), period);
    EXPECT_EQ(Asked(kHangUpNow), period + 1);
  }
  EXPECT_EQ(view_.balloons.size(), 5u);
  EXPECT_EQ(Asked(kDialAnyway), 2);
}

constexpr double kMinuteDays = 1.0 / 24 / 60;
constexpr double kSecondDays = kMinuteDays / 60;

std::string UsedUpOf(const std::string& entry) {
  return "The budget of " + entry + " for this billing period is used up";
}

class BudgetOfTheLineTest : public BudgetTest {
 protected:
  BudgetOfTheLineTest() : BudgetTest("[Home]\nStepDelayMs=0\n[Work]\nStepDelayMs=0\n") {}

  const AccountInfo& Row(Tmainform& form, const std::string& entry) {
    const TAccountTable& table = form.Connections().Table();
    return *std::find_if(table.begin(), table.end(),
                         [&](const AccountInfo& row) { return row.EntryName == entry; });
  }
};

// Home is online from 23:20 on 14 June with Work selected. Home's half hour bills from the
// 15th; Work's money budget bills by the calendar month, as it has no billing day.
TEST_F(BudgetOfTheLineTest, TheLineOnlineIsCountedAndWatchedWhicheverRowIsSelected) {
  clock_.SetLocalStart(ToDateTime({2026, 6, 14, 23, 20}));
  files_.content[kEntries] =
      "[Home]\r\nGeneralRate=2\r\nBudgetHours=0.5\r\nBillingDay=15\r\n"
      "[Work]\r\nGeneralRate=6\r\nBudgetMoney=1\r\n";
  // Earlier this period: Home 10 minutes this evening, Work 12 minutes (1.20) on the 2nd.
  files_.content["C:\\Tarvolin\\TimeCount.CSV"] =
      FormatTimeRecord({ToDateTime({2026, 6, 14, 20}), 10 * kMinuteDays, 1.0L / 3, "Home"}, '.') +
      FormatTimeRecord({ToDateTime({2026, 6, 2, 10}), 12 * kMinuteDays, 1.2L, "Work"}, '.');
  Tmainform& form = Start();
  form.CnListSelectItem("Home");
  Connect(form);
  form.CnListSelectItem("Work");

  // Home's 24th minute warns, its 30th asks; the answer no keeps the line.
  Elapse(13 * kMinute);
  EXPECT_EQ(LogCount(kWarning), 0);
  Elapse(2 * kMinute);
  EXPECT_EQ(LogCount(kWarning), 1);
  RunToTheLimit(form, false);
  // Home's new period begins at midnight: 24 minutes into it the warning, at 30 the question;
  // yes hangs up.
  Elapse(43 * kMinute);
  EXPECT_EQ(LogCount(kWarning), 1);
  Elapse(2 * kMinute);
  EXPECT_EQ(LogCount(kWarning), 2);
  RunToTheLimit(form, true);
  EXPECT_EQ(Asked(kHangUpNow), 2);

  // Home was online 70 minutes, 30 of them today; Work kept what it had.
  const AccountInfo& home = Row(form, "Home");
  EXPECT_NEAR(home.SessionTime, 70 * kMinuteDays, 2 * kSecondDays);
  EXPECT_NEAR(home.TodayTime, 30 * kMinuteDays, 2 * kSecondDays);
  EXPECT_EQ(home.BillingTime, home.TodayTime);
  EXPECT_NEAR(static_cast<double>(home.SessionExpense), home.SessionTime * 48, 1e-6);
  EXPECT_NEAR(static_cast<double>(home.BillingExpense), home.TodayTime * 48, 1e-9);
  const AccountInfo& work = Row(form, "Work");
  EXPECT_EQ(work.SessionTime, 0);
  EXPECT_EQ(work.TodayTime, 0);
  EXPECT_NEAR(work.BillingTime, 12 * kMinuteDays, 1e-12);
  EXPECT_NEAR(static_cast<double>(work.BillingExpense), 1.2, 1e-12);
  // The read-outs show the selected row.
  EXPECT_EQ(view_.readouts[2], "00:12:00");
  EXPECT_EQ(view_.billing_hint,
            "Budget left: 0.00; for each of the 16 days left, today included: 0.00");

  // The program does not dial beyond either budget; the user is asked first.
  form.Dialing().DialRequest();
  EXPECT_EQ(LogCount("No dial started: " + UsedUpOf("Work") + "."), 1);
  form.CnListSelectItem("Home");
  prompts_.answer_yes = false;
  form.Dial1Click();
  EXPECT_EQ(Asked(kDialAnyway), 1);
  EXPECT_EQ(Dials("Home"), 1);

  // The user's yes is Home's: a redial the user turned to Work is not let through by it.
  phonebook_.Write("[Home]\nOutcome=busy\nStepDelayMs=0\n[Work]\nStepDelayMs=0\n");
  prompts_.answer_yes = true;
  form.Dial1Click();
  EXPECT_EQ(Dials("Home"), 2);
  form.CnListSelectItem("Work");
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount(UsedUpOf("Work")) == 2; }));
  EXPECT_EQ(Dials("Work"), 0);
  // With a minute of Work's budget left such a redial connects, and Work's limit asks.
  view_.property_answer = [](const PropertyDialogInput& input) {
    EntryInfo profile = input.Profile;
    profile.Limit.Money = 1.3;
    input.Save(profile);
    return std::optional<EntryInfo>(profile);
  };
  form.Property1Click();
  form.CnListSelectItem("Home");
  form.Dial1Click();
  form.CnListSelectItem("Work");
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  const std::string work_limit = "Budget: " + UsedUpOf("Work") + ". Hang up now?";
  ASSERT_TRUE(ui_.RunUntil([&] { return Asked(work_limit) == 1; }));
  EXPECT_FALSE(form.Dialing().Online());
  // The next dial the program starts takes Home's yes back.
  form.CnListSelectItem("Home");
  form.Dialing().DialRequest();
  EXPECT_EQ(LogCount("No dial started: " + UsedUpOf("Home") + "."), 1);
  Elapse(kMinute);
  EXPECT_EQ(Dials("Home"), 3);
  EXPECT_EQ(Dials("Work"), 1);
}

// Home, online, is renamed in the phonebook, then missed by one listing: its profile,
// session, counters and budget go with it, and its record names it as it is called.
TEST_F(BudgetOfTheLineTest, TheLineKeepsItsSessionAndBudgetThroughARenameAndAMissedListing) {
  clock_.SetLocalStart(ToDateTime({2026, 6, 14, 20}));
  files_.content[kEntries] = "[Home]\r\nGeneralRate=2\r\nBudgetHours=0.5\r\n";
  Tmainform& form = Start();
  form.CnListSelectItem("Home");
  Connect(form);
  Elapse(5 * kMinute);
  phonebook_.Write("[Home 2]\nStepDelayMs=0\n[Work]\nStepDelayMs=0\n");
  ASSERT_TRUE(ui_.RunUntil([&] { return view_.rows[0].EntryName == "Home 2"; }));
  EXPECT_NE(files_.content[kEntries].find("[Home 2]\r\nUserName=\r\nPwd=\r\nDomain=\r\n"),
            std::string::npos);
  EXPECT_EQ(form.Dialing().LastDialedEntry(), "Home 2");
  Elapse(5 * kMinute);
  phonebook_.Write("[Work]\nStepDelayMs=0\n");
  ASSERT_TRUE(ui_.RunUntil([&] { return view_.rows.size() == 1; }));
  Elapse(5 * kMinute);
  phonebook_.Write("[Home 2]\nStepDelayMs=0\n[Work]\nStepDelayMs=0\n");
  ASSERT_TRUE(ui_.RunUntil([&] { return view_.rows.size() == 2; }));
  EXPECT_NEAR(Row(form, "Home 2").BillingTime, 15 * kMinuteDays, 15 * kSecondDays);

  prompts_.answer_yes = true;  // at 30 minutes, counted across both
  ASSERT_TRUE(ui_.RunUntil([&] { return !form.Dialing().Online(); }));
  EXPECT_EQ(Asked("Budget: The budget of Home 2 for this billing period is used up. Hang up now?"),
            1);
  const std::string& sessions = files_.content["C:\\Tarvolin\\Sessions.csv"];
  EXPECT_NE(sessions.find(",1.000"), std::string::npos) << sessions;
  EXPECT_NE(sessions.find(",Home 2,hung up for the budget,"), std::string::npos) << sessions;
}

// Home's budget is 1 MB, Work's 0.50 with free hours from 12:40 to 13:00: Home's volume
// warns and asks; Work's money passes the limit in the read-outs inside its free hours
// without a question, and the question comes once it is used up outside them.
TEST_F(BudgetOfTheLineTest, AVolumeLimitWarnsAndAsksAndFreeHoursCountNothingAgainstTheBudget) {
  clock_.SetLocalStart(ToDateTime({2026, 6, 1, 12, 35}));
  files_.content[kEntries] =
      "[Home]\r\nBudgetVolume=1\r\n"
      "[Work]\r\nGeneralRate=6\r\nBudgetMoney=0.5\r\nFreeHoursFrom=760\r\nFreeHoursTo=780\r\n";
  phonebook_.Write(  // the bytes are the test's alone
      "[Home]\nStepDelayMs=0\nRecvBps=0\nSendBps=0\n[Work]\nStepDelayMs=0\nRecvBps=0\nSendBps=0\n");
  Tmainform& form = Start();
  form.CnListSelectItem("Home");
  Connect(form);
  ASSERT_TRUE(rassim::Move("Home", 700'000, 100'000));
  Elapse(2000);
  EXPECT_EQ(LogCount("80% of the budget of Home for this billing period is used; 0.2 MB left."), 1);
  EXPECT_EQ(Asked("Budget: " + UsedUpOf("Home") + ". Hang up now?"), 0);
  prompts_.answer_yes = true;
  ASSERT_TRUE(rassim::Move("Home", 200'000, 0));
  ASSERT_TRUE(ui_.RunUntil([&] { return !form.Dialing().Online(); }));
  EXPECT_EQ(Asked("Budget: " + UsedUpOf("Home") + ". Hang up now?"), 1);
  EXPECT_EQ(Row(form, "Home").BillingBytes, 1'000'000u);

  // Work from 12:39: a minute counts, then twenty free ones, then four more reach 0.50.
  form.CnListSelectItem("Work");
  Elapse(3 * kMinute + 58000 - clock_.Now() % kMinute);
  Connect(form);
  Elapse(21 * kMinute);
  const AccountInfo& work = Row(form, "Work");
  EXPECT_GT(work.BillingExpense, 2);
  EXPECT_NEAR(static_cast<double>(work.BudgetExpense), 0.1, 0.01);
  const std::string question = "Budget: " + UsedUpOf("Work") + ". Hang up now?";
  EXPECT_EQ(Asked(question), 0);
  ASSERT_TRUE(ui_.RunUntil([&] { return Asked(question) == 1; }));
  EXPECT_NEAR(static_cast<double>(work.BudgetExpense), 0.5, 0.01);
  EXPECT_GT(clock_.LocalNow(), ToDateTime({2026, 6, 1, 13, 3}));
}

}  // namespace
