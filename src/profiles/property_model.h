// The rules of the connection property dialog: what its controls show of a profile, the
// phone-number list, and what OK takes back into the profile.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "profiles/entry_info.h"

// How OK's save went. Saved closes the dialog. Failed says Text and keeps the dialog open
// with the user's edits. Gone (the entry left the phonebook) says Text and closes it;
// nothing was written.
struct PropertySaved {
  enum Outcome { Saved, Failed, Gone } Result = Saved;
  std::string Text;
};

// What the dialog is opened with.
struct PropertyDialogInput {
  EntryInfo Profile;  // as just loaded; its EntryName is the dialog's caption
  char DecimalSeparator = '.';
  // The phonebook's new-entry and edit-entry dialogs, owned by `owner` (the property
  // dialog, so that it stays disabled under them). The edit dialog is for entry `name` and
  // gives the entry's name afterwards: the new one when the user renamed it there, and
  // the dialog then goes on for that name.
  std::function<void(void* owner)> NewConnection;
  std::function<std::string(void* owner, const std::string& name)> EditConnection;
  // Writes the accepted profile to the file and its account to the entry named by its
  // EntryName.
  std::function<PropertySaved(const EntryInfo&)> Save;
};

// The ranges of the dialog's up-down controls.
inline constexpr int kHourLow = 0;
inline constexpr int kHourHigh = 24;
inline constexpr int kBillingDayLow = 1;
inline constexpr int kBillingDayHigh = 31;

struct PhoneButtons {
  bool Add = false;
  bool Replace = false;
  bool Delete = false;
};

// The number to dial (the edit), the user's numbers (the list) and the list's selection.
// The number to dial need not be in the list; choosing an item only copies it.
class PhoneNumbers {
 public:
  PhoneNumbers(std::string pn, std::vector<std::string> numbers);

  const std::string& PN() const { return pn_; }
  const std::vector<std::string>& Numbers() const { return numbers_; }
  int Selected() const { return selected_; }

  // The edit's text changed.
  void EdPNChange(const std::string& text);
  // An item was clicked or chosen by a key (-1: none): its number goes into the edit.
  void LbPNClick(int index);
  // Appends the edit's number unless it is empty or exactly equal to one in the list.
  void BtnAddPNClick();
  // Puts the edit's number in place of the selected one (duplicates allowed); nothing
  // when the edit is empty or nothing is selected. The selection ends, as after Delete.
  void BtnReplacePNClick();
  void BtnDeletePNClick();
  PhoneButtons UpdatePhoneButtons() const;

 private:
  std::string pn_;
  std::vector<std::string> numbers_;
  int selected_ = -1;
};

// The number edits of the Rate page, in the order OK reads them: the rates, then the
// budget's limits.
enum RateField {
  kGeneralRate,
  kSection1Rate,
  kSection2Rate,
  kSection3Rate,
  kWeekendRate,
  kBudgetHours,
  kBudgetMoney,
  kBudgetVolume
};
inline constexpr int kRateFields = 5;
inline constexpr int kNumberFields = 8;
// The free hours' edit, after the number edits.
inline constexpr int kFreeHoursField = kNumberFields;

// The free hours of a plan as the dialog shows them: "23:00-07:00", or empty for none.
std::string FormatFreeHours(const RatePlan& plan);
// Such a text into the plan's FreeFrom and FreeTo (minutes of the day; empty for none);
// false for any other text. The hours run 0 to 23, the minutes 0 to 59.
bool ParseFreeHours(const std::string& text, RatePlan& plan);

// The controls' contents, as texts where the user types numbers.
struct PropertyFields {
  std::string UserName, Pwd, Domain;
  bool PulseDial = false;
  PhoneNumbers Phones{"", {}};
  // Rates "%4.4f", limits in their shortest form, both with the user's decimal separator.
  std::string Numbers[kNumberFields];
  bool SectionEnabled[3] = {};
  int From[3] = {}, To[3] = {};  // kHourLow..kHourHigh
  bool WeekendEnabled = false;
  int BillingDay = kBillingDayLow;
  std::string FreeHours;
};

// Fills the controls from the profile; values outside an up-down's range show clamped
// (a billing day of 0 shows as 1).
PropertyFields ShowProfile(const EntryInfo& profile, char decimal_separator);

// Why OK was refused, and the control to go back to (-1: the user name, else a RateField
// or kFreeHoursField).
struct PropertyProblem {
  std::string Text;
  int Field = -1;
};

// OK: every field into `profile`, the list joined. Checks everything first: an empty
// user name, a rate or limit that is not a number in the user's decimal form (with
// `decimal_separator`, never the other mark, which would be taken for thousands), a
// limit below 0, or free hours ParseFreeHours does not take, refuses, naming the field
// and its text, and leaves `profile` untouched.
std::optional<PropertyProblem> StoreProfile(const PropertyFields& fields, char decimal_separator,
                                            EntryInfo& profile);
