// The per-connection profiles in Entries.ini: one key table drives both loading and saving.
#include "profiles/profile_store.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

#include "settings/password.h"

namespace {

constexpr std::string_view kListSeparator = "^^";
constexpr int kRealDigits = 15;

// The password is kept in the file through the password encoding.
struct Encoded {
  std::string* text;
};
using Field = std::variant<std::string*, Encoded, bool*, int*, double*>;

struct Key {
  std::string name;
  Field field;
};

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
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
  return keys;
}

// from_chars takes a minus sign but no plus sign.
std::string_view WithoutPlus(std::string_view text) {
  return text.starts_with('+') && !text.starts_with("+-") ? text.substr(1) : text;
}

// True when a conversion took the whole text, and the text was not empty.
bool TookAll(std::string_view text, std::from_chars_result result) {
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// Decimal with an optional sign, or hexadecimal after "0x"; nullopt for anything else,
// including values outside the range of int.
std::optional<int> ParseInteger(std::string_view text) {
  text = WithoutPlus(text);
  const bool negative = text.starts_with('-');
  text.remove_prefix(negative ? 1 : 0);
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  const uint64_t limit = negative ? uint64_t{INT_MAX} + 1 : INT_MAX;
  uint64_t magnitude = 0;
  if (!TookAll(text, std::from_chars(text.data(), text.data() + text.size(), magnitude, base)) ||
      magnitude > limit) {
    return std::nullopt;
  }
  const int64_t value = static_cast<int64_t>(magnitude);
  return static_cast<int>(negative ? -value : value);
}

std::optional<double> ParseReal(std::string text) {
  // Either separator, so that a file written under one regional setting loads under another.
  std::ranges::replace(text, ',', '.');
  const std::string_view number = WithoutPlus(text);
  double value = 0;
  if (!TookAll(number, std::from_chars(number.data(), number.data() + number.size(), value)) ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string FormatReal(double value, char separator) {
  char text[32];
  auto result = std::to_chars(text, std::end(text), value, std::chars_format::general, kRealDigits);
  std::string formatted(text, result.ptr);
  std::ranges::replace(formatted, '.', separator);
  return formatted;
}

std::string Format(const Field& field, char separator) {
  return std::visit(Overloaded{[](std::string* text) { return *text; },
                               [](Encoded pwd) { return EncodePassword(*pwd.text); },
                               [](bool* flag) { return std::string(*flag ? "1" : "0"); },
                               [](int* number) { return std::to_string(*number); },
                               [&](double* real) { return FormatReal(*real, separator); }},
                    field);
}

// False for a real that is not a number; the field then holds 0. An empty text reads as 0
// unreported, as a missing key does.
bool Parse(const std::string& text, const Field& field) {
  bool number = true;
  std::visit(Overloaded{[&](std::string* value) { *value = text; },
                        [&](Encoded pwd) { *pwd.text = DecodePassword(text); },
                        [&](bool* flag) { *flag = ParseInteger(text).value_or(0) != 0; },
                        [&](int* value) { *value = ParseInteger(text).value_or(0); },
                        [&](double* real) {
                          const std::optional<double> value = text.empty() ? 0.0 : ParseReal(text);
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
  return files_.ExeDir() + "Entries.ini";
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
  // Reading changes nothing and only a real can fail, so the table's order serves here too.
  for (const Key& key : files_.Exists(path) ? Keys(info) : std::vector<Key>{}) {
    const std::string text = file_.Read(path, info.EntryName, key.name, "");
    if (!Parse(text, key.field)) {
      problems.push_back(path + ", section [" + info.EntryName + "], key " + key.name + ": \"" +
                         text + "\" is not a number; 0 is used.");
    }
  }
  // The phonebook's stored account stands in for what the file lacks, also when there is
  // no file yet: the profile is handed back to the phonebook before every dial, and an
  // empty account would wipe the one the user saved there.
  if (info.UserName.empty()) {
    dialup.GetEntryUserName(info.UserName);
  }
  if (info.Pwd.empty()) {
    dialup.GetEntryPassword(info.Pwd);
  }
  return problems;
}

bool ProfileStore::SaveProfile(const EntryInfo& info, std::string& error) {
  const std::string path = Path();
  const char separator = locale_.DecimalSeparator();
  EntryInfo fields = info;  // the key table points into a record it may change
  for (const Key& key : Keys(fields)) {
    if (!file_.Write(path, info.EntryName, key.name, Format(key.field, separator))) {
      error = "Unable to write to " + path;
      return false;
    }
  }
  return true;
}

void ApplyProfile(const EntryInfo& info, TDialUp& dialup) {
  dialup.SetEntryUserName(info.UserName);
  dialup.SetEntryPassword(info.Pwd);
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
