// How much of a connection's budget its billing period has used, and what is left.
#pragma once

#include <cstdint>
#include <string>

#include "profiles/account_table.h"
#include "profiles/entry_info.h"

inline constexpr double kBytesPerMegabyte = 1e6;

// Bytes as megabytes of 1,000,000 with one decimal and `separator` ("12.3 MB").
std::string FormatMegabytes(uint64_t bytes, char separator);

// The share of `budget` that the row's budget counters (the billing period's, less what
// fell in the free hours) have used: the largest of the time's, the money's and the
// volume's share, each counted only when its limit is above 0. Without a limit, 0.
double BudgetUsed(const Budget& budget, const AccountInfo& row);

// What is left of each limit, never below 0, as "12:34:56", "4.50" (with `separator`) and
// "120.0 MB", those of the limits set joined by ", " and " and "; empty without a limit.
// With `days` above 1, each is divided by it: what is left for each day.
std::string BudgetLeft(const Budget& budget, const AccountInfo& row, char separator, int days = 1);

// The days from `today` to the end of its billing period for `billing_day`, today included
// (1 on the period's last day).
int BillingDaysLeft(int billing_day, double today);

// The budget hint: "Budget left: ..." and, before the period's last day, what that leaves
// for each of its remaining days; empty without a limit.
std::string BudgetHint(const Budget& budget, int billing_day, const AccountInfo& row, double today,
                       char separator);
