// The read-outs' texts.
#include "display/readouts.h"

#include "accounting/accounting.h"
#include "accounting/budget.h"

namespace {

constexpr std::array<std::array<const char*, 3>, 4> kCaptions = {{
    {"Time", "Today", "Since Billing Day"},
    {"Bytes Received", "Bytes Sent", "Current Speed"},
    {"Server IP", "Client IP", "Connection Speed"},
    {"Expense", "Today", "Since Billing Day"},
}};

}  // namespace

std::string FormatGrouped(int64_t value) {
  if (value <= 0)
    return "0";
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0)
      grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

Readouts::Readouts(TDialUp& dialup, ConnectionList& connections, AppSettings& settings,
                   const TransferRing& ring, Locale& locale, Clock& clock, Desktop& desktop,
                   ReadoutsView& view)
    : dialup_(dialup),
      connections_(connections),
      settings_(settings),
      ring_(ring),
      locale_(locale),
      clock_(clock),
      desktop_(desktop),
      view_(view) {}

void Readouts::ShowView(int mode, bool online) {
  if (!connections_.Table()[0].InUse || mode < kViewTime || mode > kViewExpense)
    return;
  settings_.ViewMode = mode;
  const auto& captions = kCaptions[mode];
  view_.ShowReadouts({captions[0], captions[1], captions[2]}, Values(mode, online));
  view_.ShowBillingHint(BillingHint(mode));
}

void Readouts::Copytoclipboard1Click() {
  if (copy_tag_ >= 1 && copy_tag_ <= 3)
    desktop_.SetClipboardText(view_.ReadoutText(copy_tag_ - 1) + "\r\n");
}

ReadoutValues Readouts::Values(int mode, bool online) {
  if (mode == kViewSpeed)
    return Speed(online);
  if (mode == kViewIP)
    return Addresses();
  const int selected = SelectedAccount(connections_.Table());
  if (selected < 0)
    return {};
  const AccountInfo& row = connections_.Table()[selected];
  if (mode == kViewTime)
    return {FormatDuration(row.SessionTime), FormatDuration(row.TodayTime),
            FormatDuration(row.BillingTime)};
  const char mark = locale_.DecimalSeparator();
  return {FormatMoney(row.SessionExpense, mark), FormatMoney(row.TodayExpense, mark),
          FormatMoney(row.BillingExpense, mark)};
}

std::string Readouts::BillingHint(int mode) {
  const int selected = SelectedAccount(connections_.Table());
  const EntryInfo& profile = connections_.CurrentProfile();
  if (mode == kViewIP || selected < 0 ||
      connections_.Table()[selected].EntryName != profile.EntryName)
    return "";
  const AccountInfo& row = connections_.Table()[selected];
  const char mark = locale_.DecimalSeparator();
  if (mode == kViewSpeed)
    return "Since the billing day: " + FormatMegabytes(row.BillingBytes, mark);
  return BudgetHint(profile.Limit, profile.Rates.BillingDay, row, clock_.LocalNow(), mark);
}

ReadoutValues Readouts::Speed(bool online) {
  if (!online || !dialup_.GetStatistics())
    return {"0", "0", "0"};
  // The bytes since the last sample: the tick takes the sample after showing this.
  const int64_t moved =
      dialup_.BytesRecv() + dialup_.BytesXmit() - ring_.LastRecv() - ring_.LastSent();
  return {FormatGrouped(dialup_.BytesRecv()), FormatGrouped(dialup_.BytesXmit()),
          FormatGrouped(moved)};
}

ReadoutValues Readouts::Addresses() {
  ReadoutValues values;
  if (dialup_.GetIPAddresses(dialup_.ConnectionHandle()) != 0) {
    values[0] = values[1] = "N/A";
  } else {
    values[0] = dialup_.ServerIP().empty() ? "N/A" : dialup_.ServerIP();
    values[1] = dialup_.ClientIP().empty() ? "N/A" : dialup_.ClientIP();
  }
  values[2] = dialup_.GetStatistics() ? FormatGrouped(dialup_.ConnectionSpeed()) : "0";
  return values;
}
