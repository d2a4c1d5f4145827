// Pricing of online time and the counters the one-second tick advances.
#include "accounting/accounting.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/date_time.h"
#include "platform/numbers.h"

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

std::string FormatMoney(long double value, char separator) {
  return FormatFixed(static_cast<double>(value), 2, separator);
}

namespace {

// The day of `year`-`month` that starts a billing period for `billing_day`.
int BillingDayIn(int year, int month, int billing_day) {
  return std::clamp(billing_day, 1, DaysInMonth(year, month));
}

}  // namespace

bool IsBillingDay(double date, int billing_day) {
  const CalendarTime day = FromDateTime(date);
  return day.day == BillingDayIn(day.year, day.month, billing_day);
}

double BillingPeriodStart(int billing_day, double today) {
  const CalendarTime date = FromDateTime(today);
  const int this_month = BillingDayIn(date.year, date.month, billing_day);
  if (date.day >= this_month) {
    return ToDateTime({date.year, date.month, this_month});
  }
  const int year = date.month == 1 ? date.year - 1 : date.year;
  const int month = date.month == 1 ? 12 : date.month - 1;
  return ToDateTime({year, month, BillingDayIn(year, month, billing_day)});
}

namespace {

constexpr double kMinutesPerDay = 1440;

}  // namespace

Spent FreeHoursIn(const RatePlan& plan, double from, double to) {
  Spent part;
  if (plan.FreeFrom == plan.FreeTo || to <= from)
    return part;
  const double begin = plan.FreeFrom / kMinutesPerDay;
  // A window past midnight ends on the next day.
  const double length = ((plan.FreeTo - plan.FreeFrom + 1440) % 1440) / kMinutesPerDay;
  // The window that began the day before `from`'s may still run at `from`.
  for (double day = std::floor(from) - 1; day < to; day += 1) {
    const double start = std::max(from, day + begin);
    const double end = std::min(to, day + begin + length);
    if (end > start) {
      part.time += end - start;
      part.expense += ComputeExpense(plan, start, end - start);
    }
  }
  return part;
}

bool InFreeHours(const RatePlan& plan, double at) {
  // To the millisecond first, as the clock gives it: 13:00 is never 12:59:59.9999.
  const auto ms = std::llround((at - std::floor(at)) * 86400000);
  const int minute = static_cast<int>(ms / 60000);
  return plan.FreeFrom <= plan.FreeTo ? minute >= plan.FreeFrom && minute < plan.FreeTo
                                      : minute >= plan.FreeFrom || minute < plan.FreeTo;
}

namespace {

constexpr double kMsPerDay = 86400000.0;

// Real time from `from` to `to`, in days.
double RealDays(const Moment& from, const Moment& to) {
  return to.monotonic_ms > from.monotonic_ms ? (to.monotonic_ms - from.monotonic_ms) / kMsPerDay
                                             : 0;
}

}  // namespace

void Accounting::Reset(const Moment& now) {
  *this = Accounting();
  SetDay(std::floor(now.local));
}

void Accounting::RecordConnectTime(const std::string& entry, const Moment& now) {
  entry_ = entry;
  connect_ = now;
  last_tick_ = now;
  session_saved_ = false;
  received_ = sent_ = budget_bytes_ = 0;
  expense_ = 0;
  last_checkpoint_ms_.reset();
}

void Accounting::RenameSession(const std::string& from, const std::string& to) {
  if (entry_ != from)
    return;
  entry_ = to;
  last_checkpoint_ms_.reset();  // the checkpoint takes the new name at the next tick
}

int Accounting::SessionRow(const TAccountTable& table) const {
  for (int i = 0; i < kAccountRows; ++i) {
    if (Counted(table[i]) && table[i].EntryName == entry_)
      return i;
  }
  return -1;
}

void Accounting::AccountingTick(TAccountTable& table, const PlanOf& plan_of, const Moment& now) {
  if (!day_) {
    SetDay(std::floor(now.local));
  }
  const int index = Running() ? SessionRow(table) : -1;
  AccountInfo* row = index >= 0 ? &table[index] : nullptr;
  const RatePlan plan = row ? plan_of(entry_) : RatePlan();
  // A clock set back to an earlier date: today's counters are that date's from now on.
  if (std::floor(now.local) < *day_) {
    RestartToday(table);
    SetDay(std::floor(now.local));
  }
  // The tick's real time, laid on the local clock as ending now.
  double from = now.local - RealDays(last_tick_, now);
  for (double midnight = *day_ + 1; midnight <= now.local; midnight += 1) {
    if (row) {
      CountSpan(*row, plan, from, midnight);
      from = std::max(from, midnight);
    }
    StartDay(table, plan_of, midnight);
  }
  if (!row) {
    return;
  }
  CountSpan(*row, plan, from, now.local);
  last_tick_ = now;
  row->SessionTime = RealDays(connect_, now);
  row->SessionExpense = expense_;
}

void Accounting::StartDay(TAccountTable& table, const PlanOf& plan_of, double midnight) {
  // A billing day the clock reaches again after it was set back began its period already.
  const bool later = midnight > latest_;
  SetDay(midnight);
  RestartToday(table);
  for (AccountInfo& row : table) {
    if (later && Counted(row) && IsBillingDay(midnight, plan_of(row.EntryName).BillingDay)) {
      row.BillingTime = row.BudgetTime = 0;
      row.BillingExpense = row.BudgetExpense = 0;
      row.BillingBytes = row.BudgetBytes = 0;
    }
  }
}

void Accounting::RestartToday(TAccountTable& table) {
  for (AccountInfo& row : table) {
    row.TodayTime = 0;
    row.TodayExpense = 0;
  }
}

void Accounting::SetDay(double midnight) {
  day_ = midnight;
  latest_ = std::max(latest_, midnight);
}

// Counts the local span from `from` to `to`, all of it on the day of day_, toward the session
// as well.
void Accounting::CountSpan(AccountInfo& row, const RatePlan& plan, double from, double to) {
  if (to <= from) {
    return;
  }
  const double delta = to - from;
  const long double expense = ComputeExpense(plan, from, delta);
  expense_ += expense;
  row.TodayTime += delta;
  row.TodayExpense += expense;
  if (*day_ == latest_ && IsBillingDay(*day_, plan.BillingDay)) {
    row.BillingTime = row.TodayTime;
    row.BillingExpense = row.TodayExpense;
  } else {
    row.BillingTime += delta;
    row.BillingExpense += expense;
  }
  const Spent free = FreeHoursIn(plan, from, to);
  row.BudgetTime += delta - free.time;
  row.BudgetExpense += expense - free.expense;
}

void Accounting::StartTraffic() {
  last_received_ = last_sent_ = 0;
}

uint64_t Accounting::Grown(uint64_t& last, uint64_t now) {
  constexpr uint64_t k32Bits = uint64_t{1} << 32;
  uint64_t grown = now - last;
  // A 32-bit counter that wrapped fell by more than half its range within a second;
  // any other fall is a count that started again from 0.
  if (now < last)
    grown = last < k32Bits && last - now > k32Bits / 2 ? now + k32Bits - last : now;
  last = now;
  return grown;
}

void Accounting::TakeTraffic(TAccountTable& table, const PlanOf& plan_of, const Moment& now,
                             uint64_t received, uint64_t sent) {
  const uint64_t in = Grown(last_received_, received), out = Grown(last_sent_, sent);
  if (!Running())
    return;
  received_ += in;
  sent_ += out;
  const int index = SessionRow(table);
  if (index < 0)
    return;
  AccountInfo& row = table[index];
  row.BillingBytes += in + out;
  if (!InFreeHours(plan_of(entry_), now.local)) {
    row.BudgetBytes += in + out;
    budget_bytes_ += in + out;
  }
}

std::optional<TimeRecord> Accounting::SessionRecord(const TAccountTable& table, const Moment& now,
                                                    const std::string& reason) {
  if (!Running()) {
    return std::nullopt;
  }
  session_saved_ = true;
  TimeRecord record = Record(table, now);
  record.reason = reason;
  return record;
}

std::optional<TimeRecord> Accounting::CheckpointRecord(const TAccountTable& table,
                                                       const Moment& now) {
  if (!Running() ||
      (last_checkpoint_ms_ && now.monotonic_ms - *last_checkpoint_ms_ < kCheckpointIntervalMs)) {
    return std::nullopt;
  }
  last_checkpoint_ms_ = now.monotonic_ms;
  TimeRecord record = Record(table, now);
  record.reason = "the program ended while online";  // should it be recovered from there
  return record;
}

TimeRecord Accounting::Record(const TAccountTable& table, const Moment& now) const {
  const int row = SessionRow(table);
  TimeRecord record{connect_.local, RealDays(connect_, now),
                    row >= 0 ? table[row].SessionExpense : 0, entry_};
  record.end = now.local;
  record.start_offset = connect_.utc_offset;
  record.end_offset = now.utc_offset;
  record.received = received_;
  record.sent = sent_;
  record.budget_bytes = budget_bytes_;
  return record;
}
