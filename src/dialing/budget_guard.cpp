// The budget of each connection.
#include "dialing/budget_guard.h"

#include <algorithm>
#include <cmath>

#include "accounting/accounting.h"
#include "accounting/budget.h"

namespace {

constexpr const char* kCaption = "Budget";

std::string UsedUp(const std::string& entry) {
  return "The budget of " + entry + " for this billing period is used up";
}

}  // namespace

BudgetGuard::BudgetGuard(const MainPorts& ports, ConnectionList& connections, ConnectionLog& log,
                         LineEvents& events)
    : ports_(ports), connections_(connections), log_(log), events_(events) {}

bool BudgetGuard::Exhausted(const std::string& entry) {
  const auto usage = UsageOf(entry);
  return usage && usage->used >= 1 && !usage->free;
}

bool BudgetGuard::MayDial(const std::string& entry, DialBy by) {
  const auto usage = UsageOf(entry);
  const bool over = Exhausted(entry);
  if (by == DialBy::User) {
    const bool yes =
        over && ports_.prompts.AskYesNo(kCaption, UsedUp(entry) + ". Dial all the same?");
    allowed_ = yes ? entry : "";
    agreed_ = yes ? usage->period : 0;
    return !over || yes;
  }
  if (by == DialBy::Program) {
    allowed_.clear();
    agreed_ = 0;
  }
  if (!over || allowed_ == entry)
    return true;
  log_.WriteDialLog("No dial started: " + UsedUp(entry) + ".", LogKind::Message);
  return false;
}

void BudgetGuard::Connected(const std::string& entry) {
  settled_ = allowed_ == entry ? agreed_ : 0;
  agreed_ = 0;
}

bool BudgetGuard::HangUpNow(const std::string& entry) {
  const auto usage = UsageOf(entry);
  if (!usage || usage->free)
    return false;
  if (usage->used >= kWarnAt)
    WarnOnce(*usage);
  if (usage->used < 1 || usage->period <= settled_)
    return false;
  settled_ = usage->period;  // before the question: the ticks go on under it
  return ports_.prompts.AskYesNo(kCaption, UsedUp(entry) + ". Hang up now?");
}

std::optional<BudgetGuard::Usage> BudgetGuard::UsageOf(const std::string& entry) {
  const TAccountTable& table = connections_.Table();
  const auto row = std::find_if(table.begin(), table.end(), [&](const AccountInfo& r) {
    return Counted(r) && r.EntryName == entry;
  });
  if (row == table.end())
    return std::nullopt;
  Usage usage;
  usage.profile = connections_.ProfileOf(entry);
  usage.row = *row;
  usage.used = BudgetUsed(usage.profile.Limit, usage.row);
  const double now = ports_.clock.LocalNow(), today = std::floor(now);
  usage.free = InFreeHours(usage.profile.Rates, now);
  usage.period = static_cast<int>(BillingPeriodStart(usage.profile.Rates.BillingDay, today));
  return usage;
}

void BudgetGuard::WarnOnce(const Usage& usage) {
  const std::string& entry = usage.profile.EntryName;
  // A clock set back into a period that has passed brings no warning of it.
  if (usage.period <= usage.profile.BudgetWarned || !warned_.insert({entry, usage.period}).second)
    return;
  const std::string text =
      "80% of the budget of " + entry + " for this billing period is used; " +
      BudgetLeft(usage.profile.Limit, usage.row, ports_.locale.DecimalSeparator()) + " left.";
  log_.WriteDialLog(text, LogKind::Message);
  events_.Warn(text);
  connections_.SaveBudgetWarned(entry, usage.period);
}
