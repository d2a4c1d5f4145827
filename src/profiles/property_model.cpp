// The rules of the connection property dialog.
#include "profiles/property_model.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/numbers.h"
#include "platform/text.h"
#include "profiles/profile_store.h"

namespace {

constexpr const char* kNumberNames[kNumberFields] = {
    "General rate", "Section 1 rate", "Section 2 rate", "Section 3 rate",
    "Weekend rate", "budget's hours", "budget's money", "budget's volume"};

constexpr int kMinutesPerDay = 1440;

// Fixed point with four decimals, as the rate edits show a rate.
std::string FormatRate(double rate, char separator) {
  char text[64];
  std::snprintf(text, sizeof text, "%4.4f", rate);
  std::string shown = text;
  std::replace(shown.begin(), shown.end(), '.', separator);
  return shown;
}

// Files read with either mark, but a person typing "1,000" under "." means a thousand, not
// one: only the user's own mark is taken.
std::optional<double> ParseRate(const std::string& text, char decimal_separator) {
  const char other = decimal_separator == ',' ? '.' : ',';
  if (text.find(other) != std::string::npos)
    return std::nullopt;
  return ParseReal(text);
}

}  // namespace

PhoneNumbers::PhoneNumbers(std::string pn, std::vector<std::string> numbers)
    : pn_(std::move(pn)), numbers_(std::move(numbers)) {}

void PhoneNumbers::EdPNChange(const std::string& text) {
  pn_ = text;
}

void PhoneNumbers::LbPNClick(int index) {
  selected_ = index >= 0 && index < static_cast<int>(numbers_.size()) ? index : -1;
  if (selected_ >= 0)
    pn_ = numbers_[selected_];
}

void PhoneNumbers::BtnAddPNClick() {
  if (pn_.empty() || std::find(numbers_.begin(), numbers_.end(), pn_) != numbers_.end())
    return;
  numbers_.push_back(pn_);
}

void PhoneNumbers::BtnReplacePNClick() {
  if (selected_ < 0 || pn_.empty())
    return;
  numbers_[selected_] = pn_;
  selected_ = -1;
}

void PhoneNumbers::BtnDeletePNClick() {
  if (selected_ < 0)
    return;
  numbers_.erase(numbers_.begin() + selected_);
  selected_ = -1;
}

PhoneButtons PhoneNumbers::UpdatePhoneButtons() const {
  return {!pn_.empty(), selected_ >= 0, selected_ >= 0};
}

PropertyFields ShowProfile(const EntryInfo& profile, char decimal_separator) {
  const RatePlan& plan = profile.Rates;
  PropertyFields fields;
  fields.UserName = profile.UserName;
  fields.Pwd = profile.Pwd;
  fields.Domain = profile.Domain;
  fields.PulseDial = profile.PulseDial;
  fields.Phones = PhoneNumbers(profile.PN, SplitPhoneList(profile.PNList));
  const double rates[kRateFields] = {plan.GeneralRate, plan.Sections[0].Rate, plan.Sections[1].Rate,
                                     plan.Sections[2].Rate, plan.WeekendRate};
  for (int i = 0; i < kRateFields; ++i)
    fields.Numbers[i] = FormatRate(rates[i], decimal_separator);
  fields.Numbers[kBudgetHours] = FormatReal(profile.Limit.Hours, decimal_separator);
  fields.Numbers[kBudgetMoney] = FormatReal(profile.Limit.Money, decimal_separator);
  fields.Numbers[kBudgetVolume] = FormatReal(profile.Limit.Volume, decimal_separator);
  fields.FreeHours = FormatFreeHours(plan);
  for (int i = 0; i < 3; ++i) {
    fields.SectionEnabled[i] = plan.Sections[i].Enabled;
    fields.From[i] = std::clamp(plan.Sections[i].From, kHourLow, kHourHigh);
    fields.To[i] = std::clamp(plan.Sections[i].To, kHourLow, kHourHigh);
  }
  fields.WeekendEnabled = plan.WeekendEnabled;
  fields.BillingDay = std::clamp(plan.BillingDay, kBillingDayLow, kBillingDayHigh);
  return fields;
}

std::optional<PropertyProblem> StoreProfile(const PropertyFields& fields, char decimal_separator,
                                            EntryInfo& profile) {
  if (fields.UserName.empty())
    return PropertyProblem{"Empty user name!", -1};
  double numbers[kNumberFields];
  for (int i = 0; i < kNumberFields; ++i) {
    const auto number = ParseRate(fields.Numbers[i], decimal_separator);
    if (!number || (i >= kRateFields && *number < 0))
      return PropertyProblem{
          "'" + fields.Numbers[i] + "' is not a valid number for the " + kNumberNames[i] + ".", i};
    if (*number < 0)
      return PropertyProblem{"Rates cannot be below 0.", i};
    numbers[i] = *number;
  }
  RatePlan free;
  if (!ParseFreeHours(fields.FreeHours, free))
    return PropertyProblem{"'" + fields.FreeHours +
                               "' are not valid free hours; write them as 23:00-07:00, or leave "
                               "them empty for none.",
                           kFreeHoursField};
  profile.UserName = fields.UserName;
  profile.Pwd = fields.Pwd;
  profile.Domain = fields.Domain;
  profile.PulseDial = fields.PulseDial;
  profile.PN = fields.Phones.PN();
  profile.PNList = JoinPhoneList(fields.Phones.Numbers());
  RatePlan& plan = profile.Rates;
  plan.GeneralRate = numbers[kGeneralRate];
  for (int i = 0; i < 3; ++i)
    plan.Sections[i] = {fields.SectionEnabled[i], numbers[kSection1Rate + i], fields.From[i],
                        fields.To[i]};
  plan.WeekendEnabled = fields.WeekendEnabled;
  plan.WeekendRate = numbers[kWeekendRate];
  plan.BillingDay = fields.BillingDay;
  plan.FreeFrom = free.FreeFrom;
  plan.FreeTo = free.FreeTo;
  profile.Limit = {numbers[kBudgetHours], numbers[kBudgetMoney], numbers[kBudgetVolume]};
  return std::nullopt;
}

std::string FormatFreeHours(const RatePlan& plan) {
  if (plan.FreeFrom == plan.FreeTo)
    return "";
  const auto at = [](int minutes) {
    minutes = std::clamp(minutes, 0, kMinutesPerDay - 1);
    char text[16];  // room for any int, as the compiler cannot see the clamp
    std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60, minutes % 60);
    return std::string(text);
  };
  return at(plan.FreeFrom) + "-" + at(plan.FreeTo);
}

bool ParseFreeHours(const std::string& text, RatePlan& plan) {
  const std::string trimmed(Trim(text));
  if (trimmed.empty()) {
    plan.FreeFrom = plan.FreeTo = 0;
    return true;
  }
  int from_hour, from_minute, to_hour, to_minute, used = 0;
  if (std::sscanf(trimmed.c_str(), "%2d:%2d - %2d:%2d%n", &from_hour, &from_minute, &to_hour,
                  &to_minute, &used) != 4 ||
      used != static_cast<int>(trimmed.size()))
    return false;
  for (const int hour : {from_hour, to_hour})
    if (hour < 0 || hour > 23)
      return false;
  for (const int minute : {from_minute, to_minute})
    if (minute < 0 || minute > 59)
      return false;
  plan.FreeFrom = from_hour * 60 + from_minute;
  plan.FreeTo = to_hour * 60 + to_minute;
  return true;
}
