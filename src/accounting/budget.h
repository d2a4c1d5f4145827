// How much of a connection's budget its billing period has used, and what is left.
#pragma once

#include <string>

#include "profiles/account_table.h"
#include "profiles/entry_info.h"

// The share of `budget` that the row's billing-period counters (Since Billing Day) have
// used: the larger of the time's and the money's share, each counted only when its limit
// is above 0. Without a limit, 0.
double BudgetUsed(const Budget& budget, const AccountInfo& row);

// What is left of each limit, never below 0, as "12:34:56", "4.50" (with `separator`) or
// both joined by " and "; empty without a limit.
std::string BudgetLeft(const Budget& budget, const AccountInfo& row, char separator);
