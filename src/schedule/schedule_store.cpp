// Schedules.ini: one key table drives both loading and saving.
#include "schedule/schedule_store.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <variant>

#include "platform/ini_text.h"
#include "platform/numbers.h"
#include "platform/overloaded.h"

namespace {

// A date-time has no default: a missing one is as wrong as one that is not a number.
struct DateTime {
  double* value;
};
// An integer outside its range reads as the nearest bound.
struct Integer {
  int* value;
  int fallback = 0;
  int low = std::numeric_limits<int>::min();
  int high = std::numeric_limits<int>::max();
};
using Field = std::variant<Integer, DateTime, bool*>;

struct Key {
  const char* name;
  Field field;
};

// The keys of a section, in the order in which they are written.
std::array<Key, 14> Keys(ScheduleItem& s) {
  return {{
      {"EventType", Integer{&s.EventType}},
      {"Period", Integer{&s.Period}},
      {"DateTime01", DateTime{&s.DateTime01}},
      {"Minute11", Integer{&s.Minute11}},
      {"Time21", DateTime{&s.Time21}},
      {"Week31", Integer{&s.Week31}},
      {"Time32", DateTime{&s.Time32}},
      {"Month41", Integer{&s.Month41}},
      {"Time42", DateTime{&s.Time42}},
      {"Hour51", Integer{&s.Hour51}},
      {"Minute52", Integer{&s.Minute52}},
      {"PeriodOfValidity", Integer{&s.PeriodOfValidity, 10}},
      {"Confirm", &s.Confirm},
      {"ReconnectAfterHours", Integer{&s.ReconnectAfterHours, 0, 0, kMaxReconnectAfterHours}},
  }};
}

std::string Format(const Field& field, char separator) {
  return std::visit(
      Overloaded{[](Integer number) { return std::to_string(*number.value); },
                 [&](DateTime date_time) { return FormatReal(*date_time.value, separator); },
                 [](bool* flag) { return std::string(*flag ? "1" : "0"); }},
      field);
}

// False for a date-time that is not a number; it then reads as 0.
bool Parse(const std::string& text, const Field& field, char mark) {
  bool number = true;
  std::visit(Overloaded{[&](Integer integer) {
                          *integer.value = std::clamp(ParseInteger(text).value_or(integer.fallback),
                                                      integer.low, integer.high);
                        },
                        [&](DateTime date_time) {
                          const std::optional<double> value = ParseReal(text, mark);
                          *date_time.value = value.value_or(0);
                          number = value.has_value();
                        },
                        [&](bool* flag) { *flag = ParseInteger(text).value_or(0) != 0; }},
             field);
  return number;
}

std::string SectionName(int slot) {
  return "Schedule" + std::to_string(slot);
}

}  // namespace

void ClearSchedules(ScheduleTable& table) {
  table.fill(ScheduleItem());
}

int ScheduleCount(const ScheduleTable& table) {
  int count = 0;
  while (count < kScheduleSlots && table[count].InUse)
    ++count;
  return count;
}

namespace {

// A schedule as the file keeps it: no run-time state, and date-times of the digits the
// file writes, which the dialog's may exceed.
ScheduleItem AsStored(ScheduleItem item) {
  TakeRunState(item, ScheduleItem());
  for (double* at : {&item.DateTime01, &item.Time21, &item.Time32, &item.Time42})
    *at = ParseReal(FormatReal(*at, '.')).value_or(*at);
  return item;
}

}  // namespace

bool SameSchedule(const ScheduleItem& a, const ScheduleItem& b) {
  return AsStored(a) == AsStored(b);
}

void TakeRunState(ScheduleItem& to, const ScheduleItem& from) {
  to.LastPerformed = from.LastPerformed;
  to.Performed = from.Performed;
  to.LoopOrigin = from.LoopOrigin;
}

void KeepRunState(ScheduleTable& loaded, const ScheduleTable& live) {
  std::array<bool, kScheduleSlots> taken{};
  const int live_count = ScheduleCount(live);
  for (int slot = 0; slot < ScheduleCount(loaded); ++slot) {
    for (int from = 0; from < live_count; ++from) {
      if (!taken[from] && SameSchedule(loaded[slot], live[from])) {
        TakeRunState(loaded[slot], live[from]);
        taken[from] = true;
        break;
      }
    }
  }
}

ScheduleStore::ScheduleStore(ProfileFile& file, Files& files, Locale& locale)
    : file_(file), files_(files), locale_(locale) {}

std::string ScheduleStore::Path() {
  return files_.DataDir() + "Schedules.ini";
}

std::vector<std::string> ScheduleStore::LoadSchedules(ScheduleTable& table) {
  std::vector<std::string> problems;
  const std::string path = Path();
  std::string error;
  unread_ = files_.Unreadable(path, error);
  if (unread_) {
    problems.push_back(path + " cannot be read: " + error +
                       "\nThe schedules in it are not loaded, and the file is not written over "
                       "until it can be read.");
    return problems;
  }
  if (!files_.Exists(path))
    return problems;
  const char mark = locale_.DecimalSeparator();
  const std::vector<std::string> sections = file_.Sections(path);
  int slot = 0;
  for (; slot < kScheduleSlots && slot < static_cast<int>(sections.size()); ++slot) {
    ScheduleItem& item = table[slot];
    item = ScheduleItem();
    item.InUse = true;
    for (const Key& key : Keys(item)) {
      const std::string text = file_.Read(path, sections[slot], key.name, "");
      if (!Parse(text, key.field, mark)) {
        problems.push_back(path + ", section [" + sections[slot] + "], key " + key.name + ": '" +
                           text + "' is not a valid floating point value; 0 is used.");
      }
    }
  }
  // A slot the file no longer fills would otherwise run as a schedule the user removed.
  for (int stale = slot; stale < kScheduleSlots; ++stale)
    table[stale] = ScheduleItem();
  if (sections.size() > kScheduleSlots) {
    problems.push_back(path + " holds " + std::to_string(sections.size()) +
                       " schedules; only the first " + std::to_string(kScheduleSlots) +
                       " are loaded.");
  }
  return problems;
}

bool ScheduleStore::SaveSchedules(const ScheduleTable& table, std::string& error) {
  const char separator = locale_.DecimalSeparator();
  IniText text;
  for (int slot = 0; slot < ScheduleCount(table); ++slot) {
    ScheduleItem item = table[slot];  // the key table points into a record it may change
    text.Section(SectionName(slot));
    for (const Key& key : Keys(item))
      text.Key(key.name, Format(key.field, separator));
  }
  const std::string path = Path();
  if (SaveWithBackup(files_, path, files_.DataDir() + "Schedules.bak", text.Text(), error)) {
    unread_ = false;
    return true;
  }
  error = "Unable to write to " + path + ": " + error;
  return false;
}
