// The per-connection profiles in Entries.ini: one key table drives both loading and saving.
#include "profiles/profile_store.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <variant>

#include "platform/ini_text.h"
#include "platform/numbers.h"
#include "platform/overloaded.h"
#include "platform/text.h"
#include "settings/password.h"

namespace {

constexpr std::string_view kListSeparator = "^^";
constexpr const char* kBudgetWarnedKey = "BudgetWarned";

// The password is kept in the file through the password encoding.
struct Encoded {
  std::string* text;
};
using Field = std::variant<std::string*, Encoded, bool*, int*, double*>;

struct Key {
  std::string name;
  Field field;
};

// Every key of a section, in the order in which a new section is written.
std::vector<Key> Keys(EntryInfo& info) {
  RatePlan& rates = info.Rates;
  std::vector<Key> keys = {
      {"UserName", &info.UserName},
      {"Pwd", Encoded{&info.Pwd}},
      {"Domain", &info.Domain},
      {"PN", &info.PN},
      {"PulseDial", &info.PulseDial},
      {"PNList", &info.PNList},
      {"GeneralRate", &rates.GeneralRate},
      {"WeekendRate", &rates.WeekendRate},
      {"WeekendEnabled", &rates.WeekendEnabled},
  };
  int number = 1;
  for (RateSection& section : rates.Sections) {
    const std::string prefix = "Section" + std::to_string(number++);
    keys.push_back({prefix + "Enabled", &section.Enabled});
    keys.push_back({prefix + "Rate", &section.Rate});
    keys.push_back({prefix + "RateFrom", &section.From});
    keys.push_back({prefix + "RateTo", &section.To});
  }
  keys.push_back({"BillingDay", &rates.BillingDay});
  keys.push_back({"BudgetHours", &info.Limit.Hours});
  keys.push_back({"BudgetMoney", &info.Limit.Money});
  keys.push_back({"BudgetVolume", &info.Limit.Volume});
  keys.push_back({"FreeHoursFrom", &rates.FreeFrom});
  keys.push_back({"FreeHoursTo", &rates.FreeTo});
  keys.push_back({kBudgetWarnedKey, &info.BudgetWarned});
  return keys;
}

std::string Format(const Field& field, char separator) {
  return std::visit(Overloaded{[](std::string* text) { return IniValue(*text); },
                               [](Encoded pwd) { return IniValue(EncodePassword(*pwd.text)); },
                               [](bool* flag) { return std::string(*flag ? "1" : "0"); },
                               [](int* number) { return std::to_string(*number); },
                               [&](double* real) { return FormatReal(*real, separator); }},
                    field);
}

// False for a real that is not a number; the field then holds 0. An empty text reads as 0
// unreported, as a missing key does.
bool Parse(const std::string& text, const Field& field, char mark) {
  bool number = true;
  std::visit(Overloaded{[&](std::string* value) { *value = text; },
                        [&](Encoded pwd) { *pwd.text = DecodePassword(text); },
                        [&](bool* flag) { *flag = ParseInteger(text).value_or(0) != 0; },
                        [&](int* value) { *value = ParseInteger(text).value_or(0); },
                        [&](double* real) {
                          const std::optional<double> value =
                              text.empty() ? 0.0 : ParseReal(text, mark);
                          *real = value.value_or(0);
                          number = value.has_value();
                        }},
             field);
  return number;
}

}  // namespace

ProfileStore::ProfileStore(ProfileFile& file, Files& files, Locale& locale)
    : file_(file), files_(files), locale_(locale) {}

std::string ProfileStore::Path() {
  return files_.DataDir() + "Entries.ini";
}

std::vector<std::string> ProfileStore::LoadProfile(EntryInfo& info, TDialUp& dialup) {
  std::vector<std::string> problems;
  if (info.EntryName.empty()) {
    return problems;
  }
  // Nothing of the entry loaded before may survive, not even its rate plan, which would
  // price this connection by another one's rates.
  const std::string name = info.EntryName;
  info = EntryInfo();
  info.EntryName = name;
  const std::string path = Path();
  const char mark = locale_.DecimalSeparator();
  // Reading changes nothing and only a real can fail, so the table's order serves here too.
  for (const Key& key : files_.Exists(path) ? Keys(info) : std::vector<Key>{}) {
    const std::string text = file_.Read(path, info.EntryName, key.name, "");
    if (!Parse(text, key.field, mark)) {
      problems.push_back(path + ", section [" + info.EntryName + "], key " + key.name + ": \"" +
                         text + "\" is not a number; 0 is used.");
    }
  }
  // The phonebook's stored user name stands in for what the file lacks, also when there
  // is no file yet. Its password never does: RAS hands out a handle to it, not the
  // password, and an empty one in the profile keeps the saved one (ApplyProfile).
  if (info.UserName.empty()) {
    dialup.GetEntryUserName(info.UserName);
  }
  return problems;
}

bool ProfileStore::SaveProfile(const EntryInfo& info, std::string& error) {
  return SaveKeys(
      info, [](const std::string& key) { return key != kBudgetWarnedKey; }, error);
}

bool ProfileStore::SaveBudgetWarned(const EntryInfo& info, std::string& error) {
  return SaveKeys(
      info, [](const std::string& key) { return key == kBudgetWarnedKey; }, error);
}

bool ProfileStore::CopyProfile(const std::string& from, const std::string& to, std::string& error) {
  const std::string path = Path();
  const std::vector<std::string> sections = file_.Sections(path);
  const auto has = [&](const std::string& name) {
    return std::ranges::any_of(sections,
                               [&](const auto& section) { return SameText(section, name); });
  };
  if (!has(from) || has(to))
    return true;
  EntryInfo names;
  for (const Key& key : Keys(names)) {
    if (!file_.Write(path, to, key.name, IniValue(file_.Read(path, from, key.name, "")))) {
      error = "Unable to write to " + path;
      return false;
    }
  }
  return true;
}

bool ProfileStore::SaveKeys(const EntryInfo& info, bool (*wanted)(const std::string& key),
                            std::string& error) {
  const std::string path = Path();
  const char separator = locale_.DecimalSeparator();
  EntryInfo fields = info;  // the key table points into a record it may change
  for (const Key& key : Keys(fields)) {
    if (!wanted(key.name))
      continue;
    if (!file_.Write(path, info.EntryName, key.name, Format(key.field, separator))) {
      error = "Unable to write to " + path;
      return false;
    }
  }
  return true;
}

void ApplyProfile(const EntryInfo& info, TDialUp& dialup) {
  dialup.SaveAccount(info.UserName, info.Pwd);
  dialup.Pwd = info.Pwd;
  dialup.Domain = info.Domain;
  dialup.PhoneNumber = info.PN;
}

std::vector<std::string> SplitPhoneList(const std::string& text) {
  std::vector<std::string> numbers;
  std::string_view rest = text;
  for (size_t end = rest.find(kListSeparator); end != std::string_view::npos && end != 0;
       end = rest.find(kListSeparator)) {
    numbers.emplace_back(rest.substr(0, end));
    rest.remove_prefix(end + kListSeparator.size());
  }
  return numbers;
}

std::string JoinPhoneList(const std::vector<std::string>& numbers) {
  std::string text;
  for (const std::string& number : numbers) {
    text += number;
    text += kListSeparator;
  }
  return text;
}
