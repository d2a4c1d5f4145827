// How much of a connection's budget is used.
#include "accounting/budget.h"

#include <algorithm>
#include <cstdio>

#include "accounting/accounting.h"

double BudgetUsed(const Budget& budget, const AccountInfo& row) {
  double used = 0;
  if (budget.Hours > 0)
    used = row.BillingTime * 24 / budget.Hours;
  if (budget.Money > 0)
    used = std::max(used, static_cast<double>(row.BillingExpense) / budget.Money);
  return used;
}

std::string BudgetLeft(const Budget& budget, const AccountInfo& row, char separator) {
  std::string left;
  if (budget.Hours > 0)
    left = FormatDuration(std::max(0.0, budget.Hours / 24 - row.BillingTime));
  if (budget.Money > 0) {
    char money[64];
    std::snprintf(money, sizeof money, "%.2f",
                  std::max(0.0, budget.Money - static_cast<double>(row.BillingExpense)));
    std::string text = money;
    std::replace(text.begin(), text.end(), '.', separator);
    left += (left.empty() ? "" : " and ") + text;
  }
  return left;
}
