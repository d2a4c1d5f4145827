// How much of a budget the billing-period counters have used, and what is left.
#include "accounting/budget.h"

#include <gtest/gtest.h>

namespace {

TEST(BudgetRules, TheLargerShareCountsOnlyLimitsAboveZeroCountAndNothingLeftIsZero) {
  AccountInfo row;
  row.BillingTime = 0.5;  // 12 hours
  row.BillingExpense = 3;

  EXPECT_EQ(BudgetUsed({}, row), 0);
  EXPECT_EQ(BudgetLeft({}, row, ','), "");
  EXPECT_DOUBLE_EQ(BudgetUsed({16, 0}, row), 0.75);
  EXPECT_EQ(BudgetLeft({16, 0}, row, ','), "04:00:00");
  EXPECT_DOUBLE_EQ(BudgetUsed({0, 4}, row), 0.75);
  EXPECT_EQ(BudgetLeft({0, 4}, row, ','), "1,00");
  EXPECT_DOUBLE_EQ(BudgetUsed({48, 4}, row), 0.75);
  EXPECT_DOUBLE_EQ(BudgetUsed({16, 12}, row), 0.75);
  EXPECT_EQ(BudgetLeft({16, 12}, row, '.'), "04:00:00 and 9.00");
  // Beyond a limit, nothing of it is left.
  EXPECT_DOUBLE_EQ(BudgetUsed({6, 0}, row), 2);
  EXPECT_EQ(BudgetLeft({6, 2}, row, '.'), "00:00:00 and 0.00");
}

}  // namespace
