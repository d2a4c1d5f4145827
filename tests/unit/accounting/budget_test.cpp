// How much of a budget the budget counters have used, and what is left for each day.
#include "accounting/budget.h"

#include <gtest/gtest.h>

#include "platform/date_time.h"

namespace {

TEST(BudgetRules, TheLargestShareCountsOnlyLimitsAboveZeroCountAndNothingLeftIsZero) {
  AccountInfo row;
  row.BudgetTime = 0.5;  // 12 hours
  row.BudgetExpense = 3;
  row.BudgetBytes = 30'000'000;
  row.BillingTime = 5;  // the read-outs' counters are not the budget's
  row.BillingExpense = 50;

  EXPECT_EQ(BudgetUsed({}, row), 0);
  EXPECT_EQ(BudgetLeft({}, row, ','), "");
  EXPECT_DOUBLE_EQ(BudgetUsed({16, 0}, row), 0.75);
  EXPECT_EQ(BudgetLeft({16, 0}, row, ','), "04:00:00");
  EXPECT_DOUBLE_EQ(BudgetUsed({0, 4}, row), 0.75);
  EXPECT_EQ(BudgetLeft({0, 4}, row, ','), "1,00");
  EXPECT_DOUBLE_EQ(BudgetUsed({0, 0, 40}, row), 0.75);
  EXPECT_EQ(BudgetLeft({0, 0, 40}, row, ','), "10,0 MB");
  EXPECT_DOUBLE_EQ(BudgetUsed({48, 4, 400}, row), 0.75);
  EXPECT_DOUBLE_EQ(BudgetUsed({16, 12, 400}, row), 0.75);
  EXPECT_DOUBLE_EQ(BudgetUsed({48, 12, 37.5}, row), 0.8);
  EXPECT_EQ(BudgetLeft({16, 12, 40}, row, '.'), "04:00:00, 9.00 and 10.0 MB");
  // Beyond a limit, nothing of it is left.
  EXPECT_DOUBLE_EQ(BudgetUsed({6, 0}, row), 2);
  EXPECT_EQ(BudgetLeft({6, 2, 20}, row, '.'), "00:00:00, 0.00 and 0.0 MB");
}

// Billing day 31: February's period runs from the 28th to 30 March, today included.
TEST(BudgetRules, TheHintSharesWhatIsLeftAmongTheDaysLeftTodayIncluded) {
  AccountInfo row;
  row.BudgetTime = 0.5;
  row.BudgetBytes = 100'000'000;
  const Budget budget{42, 0, 400};
  EXPECT_EQ(BillingDaysLeft(31, ToDateTime({2027, 2, 28, 9})), 31);
  EXPECT_EQ(BudgetHint(budget, 31, row, ToDateTime({2027, 2, 28, 9}), '.'),
            "Budget left: 30:00:00 and 300.0 MB; for each of the 31 days left, today "
            "included: 00:58:04 and 9.7 MB");
  EXPECT_EQ(BillingDaysLeft(31, ToDateTime({2027, 3, 30, 23})), 1);
  EXPECT_EQ(BudgetHint(budget, 31, row, ToDateTime({2027, 3, 30, 23}), '.'),
            "Budget left: 30:00:00 and 300.0 MB, the period's last day");
  // The calendar month for billing day 1 (or none); no limit, no hint.
  EXPECT_EQ(BillingDaysLeft(0, ToDateTime({2027, 12, 31})), 1);
  EXPECT_EQ(BillingDaysLeft(1, ToDateTime({2028, 2, 1})), 29);
  EXPECT_EQ(BudgetHint({}, 1, row, ToDateTime({2028, 2, 1}), '.'), "");
}

}  // namespace
