// How much of a connection's budget is used.
#include "accounting/budget.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "accounting/accounting.h"

std::string FormatMegabytes(uint64_t bytes, char separator) {
  char text[48];
  std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / kBytesPerMegabyte);
  std::string megabytes = text;
  std::replace(megabytes.begin(), megabytes.end(), '.', separator);
  return megabytes;
}

double BudgetUsed(const Budget& budget, const AccountInfo& row) {
  double used = 0;
  if (budget.Hours > 0)
    used = row.BudgetTime * 24 / budget.Hours;
  if (budget.Money > 0)
    used = std::max(used, static_cast<double>(row.BudgetExpense) / budget.Money);
  if (budget.Volume > 0)
    used =
        std::max(used, static_cast<double>(row.BudgetBytes) / (budget.Volume * kBytesPerMegabyte));
  return used;
}

std::string BudgetLeft(const Budget& budget, const AccountInfo& row, char separator, int days) {
  std::vector<std::string> left;
  if (budget.Hours > 0)
    left.push_back(FormatDuration(std::max(0.0, budget.Hours / 24 - row.BudgetTime) / days));
  if (budget.Money > 0)
    left.push_back(FormatMoney(std::max(0.0L, budget.Money - row.BudgetExpense) / days, separator));
  if (budget.Volume > 0) {
    const double bytes = std::max(0.0, budget.Volume * kBytesPerMegabyte - row.BudgetBytes);
    left.push_back(FormatMegabytes(static_cast<uint64_t>(bytes / days), separator));
  }
  std::string text;
  for (std::size_t i = 0; i < left.size(); ++i)
    text += (i == 0 ? "" : i + 1 == left.size() ? " and " : ", ") + left[i];
  return text;
}

int BillingDaysLeft(int billing_day, double today) {
  int days = 1;
  while (!IsBillingDay(std::floor(today) + days, billing_day))
    ++days;
  return days;
}

std::string BudgetHint(const Budget& budget, int billing_day, const AccountInfo& row, double today,
                       char separator) {
  const std::string left = BudgetLeft(budget, row, separator);
  if (left.empty())
    return "";
  const int days = BillingDaysLeft(billing_day, today);
  if (days == 1)
    return "Budget left: " + left + ", the period's last day";
  return "Budget left: " + left + "; for each of the " + std::to_string(days) +
         " days left, today included: " + BudgetLeft(budget, row, separator, days);
}
