// The Usage window's rules.
#include "accounting/usage_model.h"

#include <cstdio>
#include <utility>

#include "accounting/accounting.h"
#include "accounting/budget.h"
#include "platform/date_time.h"

namespace {

const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

// The month `back` months before year/month, as {year, month}.
std::pair<int, int> MonthsBefore(int year, int month, int back) {
  const int at = year * 12 + month - 1 - back;
  return {at / 12, at % 12 + 1};
}

std::string Iso(const UsageBar& bar, bool with_day) {
  const CalendarTime t = FromDateTime(bar.from);
  char text[16];
  if (with_day)
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d", t.year, t.month, t.day);
  else
    std::snprintf(text, sizeof(text), "%04d-%02d", t.year, t.month);
  return text;
}

// A limit for one bar: the period's for a month, a day's share of it for a day; none at 0.
std::optional<double> Limit(double per_period, bool days, size_t bars) {
  if (per_period <= 0)
    return std::nullopt;
  return days ? per_period / static_cast<double>(bars) : per_period;
}

}  // namespace

UsageModel::UsageModel(std::vector<UsageConnection> connections, double today,
                       SpreadsheetForm local)
    : connections_(std::move(connections)), local_(std::move(local)) {
  const CalendarTime t = FromDateTime(today);
  year_ = t.year;
  month_ = t.month;
  Refigure();
}

std::vector<std::string> UsageModel::ConnectionChoices() const {
  std::vector<std::string> choices = {"All connections"};
  for (const UsageConnection& connection : connections_)
    choices.push_back(connection.name);
  return choices;
}

std::vector<std::string> UsageModel::SpanChoices() {
  return {"Days of a month", "The last 12 months", "The last 24 months"};
}

std::vector<std::string> UsageModel::MonthChoices() const {
  std::vector<std::string> choices;
  for (int back = 0; back < kMonthsOffered; ++back) {
    const auto [year, month] = MonthsBefore(year_, month_, back);
    choices.push_back(std::string(kMonthNames[month - 1]) + " " + std::to_string(year));
  }
  return choices;
}

void UsageModel::SetSessions(UsageHistory history) {
  history_ = std::move(history);
  Refigure();
}

void UsageModel::Choose(int connection, int span, int month) {
  const auto in = [](int index, size_t count) {
    return index >= 0 && static_cast<size_t>(index) < count ? index : 0;
  };
  connection_ = in(connection, connections_.size() + 1);
  span_ = static_cast<UsageSpan>(in(span, SpanChoices().size()));
  months_back_ = in(month, kMonthsOffered);
  Refigure();
}

const std::string& UsageModel::Entry() const {
  static const std::string kAll;
  return connection_ == 0 ? kAll : connections_[connection_ - 1].utf8;
}

void UsageModel::Refigure() {
  const auto [year, month] = MonthsBefore(year_, month_, MonthChosen() ? months_back_ : 0);
  bars_ = UsageBars(history_.sessions, Entry(), span_, year, month);
}

std::array<UsageChart, 3> UsageModel::Charts() const {
  std::array<UsageChart, 3> charts;
  for (const UsageBar& bar : bars_) {
    charts[kTimeChart].values.push_back(bar.hours);
    charts[kCostChart].values.push_back(static_cast<double>(bar.cost));
    charts[kVolumeChart].values.push_back(static_cast<double>(bar.received) / kBytesPerMegabyte);
    charts[kVolumeChart].stacked.push_back(static_cast<double>(bar.sent) / kBytesPerMegabyte);
    charts[kVolumeChart].marked.push_back(bar.volume_unknown);
  }
  if (connection_ > 0) {
    const Budget& budget = connections_[connection_ - 1].budget;
    const bool days = MonthChosen();
    charts[kTimeChart].limit = Limit(budget.Hours, days, bars_.size());
    charts[kCostChart].limit = Limit(budget.Money, days, bars_.size());
    charts[kVolumeChart].limit = Limit(budget.Volume, days, bars_.size());
  }
  return charts;
}

std::vector<std::pair<std::string, int>> UsageModel::FigureColumns() {
  return {{"Period", 68}, {"Time online", 72}, {"Cost", 48}, {"Received", 75}, {"Sent", 60}};
}

std::vector<std::vector<std::string>> UsageModel::FigureRows() const {
  std::vector<std::vector<std::string>> rows;
  for (const UsageBar& bar : bars_) {
    const auto volume = [&](uint64_t bytes) {
      if (bar.volume_unknown && !bar.volume_known)
        return std::string();
      return FormatMegabytes(bytes, local_.decimal) + (bar.volume_unknown ? "+" : "");
    };
    rows.push_back({Iso(bar, MonthChosen()), FormatDuration(bar.hours / 24),
                    FormatMoney(bar.cost, local_.decimal), volume(bar.received), volume(bar.sent)});
  }
  return rows;
}

std::vector<std::pair<std::string, int>> UsageModel::DropColumns() {
  return {{"Start", 110}, {"Length", 52}, {"Ended", 100}, {"RAS code", 55}};
}

std::vector<std::vector<std::string>> UsageModel::DropRows() const {
  std::vector<std::vector<std::string>> rows;
  for (const UsageSession* session : SessionsIn(history_.sessions, Entry(), bars_)) {
    if (!EndedByTheLine(*session))
      continue;
    const CalendarTime t = FromDateTime(session->start);
    char start[24];
    std::snprintf(start, sizeof(start), "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    rows.push_back({start, FormatDuration(session->seconds / 86400), std::string(session->reason),
                    session->ras_code ? std::to_string(session->ras_code) : ""});
  }
  return rows;
}

std::string UsageModel::ExportText(bool for_spreadsheet) const {
  return ExportSessions(SessionsIn(history_.sessions, Entry(), bars_),
                        for_spreadsheet ? std::optional(local_) : std::nullopt);
}

std::string UsageModel::ExportFileName() const {
  const bool days = MonthChosen();
  std::string name = "Sessions " + Iso(bars_.front(), false);
  if (!days)
    name += " to " + Iso(bars_.back(), false);
  return name + ".csv";
}
