// How much of a connection's budget is used.
#include "accounting/budget.h"

#include <algorithm>

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
    const long double money = std::max(0.0L, budget.Money - row.BillingExpense);
    left += (left.empty() ? "" : " and ") + FormatMoney(money, separator);
  }
  return left;
}
