// One connection's profile: the account to dial with, its phone numbers and its billing plan.
#pragma once

#include <string>

// Rates are in currency units per hour. They travel through Entries.ini as text of at most
// 15 significant digits, which a double holds exactly, so a double loses nothing here.
struct RateSection {
  bool Enabled = false;
  double Rate = 0;
  int From = 0;  // hour of the day, 0 to 24
  int To = 0;    // hour of the day, 0 to 24

  bool operator==(const RateSection&) const = default;
};

struct RatePlan {
  double GeneralRate = 0;
  double WeekendRate = 0;
  bool WeekendEnabled = false;
  RateSection Sections[3];
  int BillingDay = 0;  // day of the month a billing period starts on; 0: it never restarts
  // The budget's free hours, minutes of the day: from FreeFrom to FreeTo, past midnight
  // when FreeFrom > FreeTo; none when they are equal. What falls in them counts in the
  // read-outs and records but not against the budget.
  int FreeFrom = 0;
  int FreeTo = 0;

  bool operator==(const RatePlan&) const = default;
};

// A limit on the online time, the cost and the volume (MB of 1,000,000 bytes, received
// and sent) of each billing period; 0 sets none.
struct Budget {
  double Hours = 0;
  double Money = 0;
  double Volume = 0;

  bool operator==(const Budget&) const = default;
};

struct EntryInfo {
  std::string EntryName;  // the phonebook entry, and its section in Entries.ini
  std::string UserName;
  std::string Pwd;  // plain while in memory
  std::string Domain;
  bool PulseDial = false;  // stored and edited; dialing does not consult it
  std::string PN;          // the number handed to the dial-up component
  std::string PNList;      // the user's numbers in their joined form, see JoinPhoneList
  RatePlan Rates;
  Budget Limit;
  // The billing period (its first day's date) whose warning that most of the budget is
  // used was given; the dialog leaves it as it is.
  int BudgetWarned = 0;

  bool operator==(const EntryInfo&) const = default;
};
