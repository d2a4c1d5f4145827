// The Usage window's rules: its choices, the charts' values and limits, the rows of its
// two tables and what Export writes. The window only shows what this model gives.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "accounting/usage.h"
#include "profiles/entry_info.h"

// A connection the window offers: its name as the list shows it, the same in UTF-8 as the
// record files hold it, and its budget for each billing period.
struct UsageConnection {
  std::string name;
  std::string utf8;
  Budget budget;
};

// One chart: a value per bar, the part stacked on it (empty: none), the bars to mark as
// leaving out sessions whose volume is not known (empty: none), and the budget's limit for
// one bar as a line, when the chosen connection has one.
struct UsageChart {
  std::vector<double> values;
  std::vector<double> stacked;
  std::vector<bool> marked;
  std::optional<double> limit;
};

class UsageModel {
 public:
  // `today` is a local date-time; the months offered end with its month. `local` is how
  // this computer writes numbers and lists, for the figures and an export.
  UsageModel(std::vector<UsageConnection> connections, double today, SpreadsheetForm local);

  static constexpr int kMonthsOffered = 24;

  // The texts of the three drop-down lists: "All connections" then each connection; the
  // spans; this month and the 23 before it, newest first.
  std::vector<std::string> ConnectionChoices() const;
  static std::vector<std::string> SpanChoices();
  std::vector<std::string> MonthChoices() const;

  // The sessions of both files, as ReadUsage gives them.
  void SetSessions(UsageHistory history);
  // The choices' indexes as the lists give them; out of range picks the first.
  void Choose(int connection, int span, int month);
  // Whether the month list means anything for the chosen span.
  bool MonthChosen() const { return span_ == UsageSpan::kDaysOfMonth; }

  // The charts of time online (hours), cost and volume (MB received, sent stacked).
  enum { kTimeChart, kCostChart, kVolumeChart };
  std::array<UsageChart, 3> Charts() const;
  // Per bar: the day or month, time online, cost, MB received, MB sent. A volume is empty
  // where no session of the bar has its volume known, and followed by "+" where some
  // session's is not known.
  static std::vector<std::pair<std::string, int>> FigureColumns();
  std::vector<std::vector<std::string>> FigureRows() const;
  // The sessions of the range a drop or an error ended: start, length, how it ended, the
  // RAS code.
  static std::vector<std::pair<std::string, int>> DropColumns();
  std::vector<std::vector<std::string>> DropRows() const;
  // The range's sessions in the "Sessions.csv" form, or for this computer's spreadsheet,
  // and a name to offer for the file.
  std::string ExportText(bool for_spreadsheet) const;
  std::string ExportFileName() const;

 private:
  const std::string& Entry() const;
  void Refigure();

  std::vector<UsageConnection> connections_;
  int year_, month_;  // this month
  SpreadsheetForm local_;
  UsageHistory history_;
  int connection_ = 0;  // 0: all, else connections_[connection_ - 1]
  UsageSpan span_ = UsageSpan::kDaysOfMonth;
  int months_back_ = 0;
  std::vector<UsageBar> bars_;
};
