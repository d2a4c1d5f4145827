// Pricing of online time and the counters the one-second tick advances.
#include "accounting/accounting.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/date_time.h"

namespace {

constexpr int kHours = 24;

// What online time costs under a plan: each clock hour of a weekday at its own rate, every
// hour of a weekend day at one rate. With the weekday cost summed from midnight, any part
// of a day is priced in one step, and so is any run of whole days.
class HourTable {
 public:
  explicit HourTable(const RatePlan& plan)
      : weekend_rate_(plan.WeekendRate > 0 ? plan.WeekendRate : plan.GeneralRate),
        weekend_enabled_(plan.WeekendEnabled) {
    std::fill(std::begin(rate_), std::end(rate_), plan.GeneralRate);
    for (const RateSection& section : plan.Sections) {
      if (section.Enabled && section.Rate > 0) {
        SetSection(section);
      }
    }
    for (int hour = 0; hour < kHours; ++hour) {
      before_[hour + 1] = before_[hour] + rate_[hour];
    }
  }

  // The cost of day `day` from the time of day `from` to `to`, as fractions of the day.
  long double Part(int64_t day, double from, double to) const {
    if (IsWeekend(day)) {
      return (to - from) * kHours * weekend_rate_;
    }
    return WeekdayUntil(to) - WeekdayUntil(from);
  }

  // The cost of the whole days `first` to `last` - 1.
  long double WholeDays(int64_t first, int64_t last) const {
    const int64_t weekend =
        weekend_enabled_ ? WeekendDaysBefore(last) - WeekendDaysBefore(first) : 0;
    return weekend * kHours * weekend_rate_ + (last - first - weekend) * before_[kHours];
  }

 private:
  // A section from From to To - 1, or, when From >= To, past midnight: From to 23 and
  // 0 to To - 1. Hand-edited hours outside the day are taken to its nearest end.
  void SetSection(const RateSection& section) {
    const int from = std::clamp(section.From, 0, kHours);
    const int to = std::clamp(section.To, 0, kHours);
    std::fill(rate_ + from, rate_ + (from < to ? to : kHours), section.Rate);
    if (from >= to) {
      std::fill(rate_, rate_ + to, section.Rate);
    }
  }

  // Day 0, 30 December 1899, was a Saturday: days 0 and 1 of every week are its weekend.
  static int64_t WeekendDaysBefore(int64_t day) {
    return day / 7 * 2 + std::min<int64_t>(day % 7, 2);
  }
  bool IsWeekend(int64_t day) const { return weekend_enabled_ && day % 7 < 2; }

  // The cost of a weekday from midnight to the time of day `at`.
  long double WeekdayUntil(double at) const {
    const double hours = at * kHours;
    const int hour = std::min(static_cast<int>(hours), kHours - 1);
    return before_[hour] + (hours - hour) * rate_[hour];
  }

  long double rate_[kHours];
  long double before_[kHours + 1] = {};  // weekday cost from midnight to each hour's start
  long double weekend_rate_;
  bool weekend_enabled_;
};

}  // namespace

long double ComputeExpense(const RatePlan& plan, double start, double duration) {
  if (!(duration > 0)) {
    return 0;
  }
  const HourTable table(plan);
  const double end = start + duration;
  const double first = std::floor(start);
  const double last = std::floor(end);
  const auto first_day = static_cast<int64_t>(first);
  const auto last_day = static_cast<int64_t>(last);
  if (first_day == last_day) {
    return table.Part(first_day, start - first, end - first);
  }
  return table.Part(first_day, start - first, 1) + table.WholeDays(first_day + 1, last_day) +
         table.Part(last_day, 0, end - last);
}

std::string FormatDuration(double span) {
  // Half seconds go to the even second: the default rounding mode does that.
  const auto seconds = static_cast<long long>(std::nearbyint(span * 24 * 3600));
  const long long whole = seconds < 0 ? -seconds : seconds;
  char text[48];
  std::snprintf(text, sizeof text, "%s%02lld:%02lld:%02lld", seconds < 0 ? "-" : "", whole / 3600,
                whole % 3600 / 60, whole % 60);
  return text;
}

void Accounting::Reset(double now) {
  *this = Accounting();
  SetDay(std::floor(now));
}

void Accounting::RecordConnectTime(double now) {
  connect_time_ = now;
  last_tick_time_ = now;
  session_saved_ = false;
  last_checkpoint_.reset();
}

void Accounting::AccountingTick(TAccountTable& table, const RatePlan& plan, double now) {
  if (!day_) {
    SetDay(std::floor(now));
  }
  const int selected = SelectedAccount(table);
  AccountInfo* row = Running() && selected >= 0 ? &table[selected] : nullptr;
  for (double midnight = *day_ + 1; midnight <= now; midnight += 1) {
    if (row) {
      CountUntil(*row, plan, midnight);
    }
    StartDay(table, selected, plan, midnight);
  }
  if (!row) {
    return;
  }
  CountUntil(*row, plan, now);
  last_tick_time_ = now;
  row->SessionTime = now - connect_time_;
  row->SessionExpense = ComputeExpense(plan, connect_time_, now - connect_time_);
}

void Accounting::StartDay(TAccountTable& table, int selected, const RatePlan& plan,
                          double midnight) {
  for (AccountInfo& row : table) {
    row.TodayTime = 0;
    row.TodayExpense = 0;
  }
  SetDay(midnight);
  if (selected >= 0 && day_of_month_ == plan.BillingDay) {
    table[selected].BillingTime = 0;
    table[selected].BillingExpense = 0;
  }
}

void Accounting::SetDay(double midnight) {
  day_ = midnight;
  day_of_month_ = FromDateTime(midnight).day;
}

// Counts the time from LastTickTime to `until`, all of it on the day of day_.
void Accounting::CountUntil(AccountInfo& row, const RatePlan& plan, double until) {
  if (until <= last_tick_time_) {
    return;
  }
  const double delta = until - last_tick_time_;
  const long double expense = ComputeExpense(plan, last_tick_time_, delta);
  row.TodayTime += delta;
  row.TodayExpense += expense;
  if (day_of_month_ == plan.BillingDay) {
    row.BillingTime = row.TodayTime;
    row.BillingExpense = row.TodayExpense;
  } else {
    row.BillingTime += delta;
    row.BillingExpense += expense;
  }
  last_tick_time_ = until;
}

std::optional<TimeRecord> Accounting::SessionRecord(const TAccountTable& table,
                                                    const std::string& last_dialed_entry,
                                                    double now) {
  if (!Running()) {
    return std::nullopt;
  }
  session_saved_ = true;
  return Record(table, last_dialed_entry, now);
}

std::optional<TimeRecord> Accounting::CheckpointRecord(const TAccountTable& table,
                                                       const std::string& last_dialed_entry,
                                                       double now) {
  if (!Running() || (last_checkpoint_ && std::abs(now - *last_checkpoint_) < kCheckpointInterval)) {
    return std::nullopt;
  }
  last_checkpoint_ = now;
  return Record(table, last_dialed_entry, now);
}

TimeRecord Accounting::Record(const TAccountTable& table, const std::string& entry,
                              double now) const {
  TimeRecord record{connect_time_, now - connect_time_, 0, entry};
  for (const AccountInfo& row : table) {
    if (!row.InUse) {
      break;
    }
    if (row.EntryName == entry) {
      record.expense = row.SessionExpense;
      break;
    }
  }
  return record;
}
