// One phonebook entry as the substitute reads it: its section's keys with their defaults.
#include "rassim/entry.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "rassim/records.h"

namespace rassim {
namespace {

// An empty value counts as missing, so that a cleared field shows its default.
std::string Text(const IniSection& section, std::string_view key, std::string_view fallback,
                 size_t max_size) {
  const std::string* value = section.Find(key);
  const std::string_view text = (value && !value->empty()) ? std::string_view(*value) : fallback;
  return std::string(text.substr(0, max_size));
}

std::optional<int64_t> Number(const IniSection& section, std::string_view key) {
  const std::string* value = section.Find(key);
  int64_t number = 0;
  if (!value) {
    return std::nullopt;
  }
  const char* end = value->data() + value->size();
  const auto [stop, error] = std::from_chars(value->data(), end, number);
  if (error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return number;
}

// A count that a RAS record holds in 32 bits; anything else takes the default.
uint32_t Count(const IniSection& section, std::string_view key, uint32_t fallback) {
  const std::optional<int64_t> number = Number(section, key);
  if (!number || *number < 0 || *number > std::numeric_limits<uint32_t>::max()) {
    return fallback;
  }
  return static_cast<uint32_t>(*number);
}

// A pause in milliseconds, clamped to a minute.
uint32_t Milliseconds(const IniSection& section, std::string_view key, int64_t fallback) {
  return static_cast<uint32_t>(
      std::clamp<int64_t>(Number(section, key).value_or(fallback), 0, 60000));
}

bool Flag(const IniSection& section, std::string_view key, bool fallback) {
  const std::string* value = section.Find(key);
  if (value && (*value == "0" || *value == "1")) {
    return *value == "1";
  }
  return fallback;
}

Outcome OutcomeOf(const IniSection& section) {
  const std::string* value = section.Find("Outcome");
  for (size_t i = 0; value && i < kOutcomeWords.size(); ++i) {
    if (SameText(*value, kOutcomeWords[i])) {
      return static_cast<Outcome>(i);
    }
  }
  return Outcome::kConnect;
}

// The key holds the numbers separated by commas; empty ones are dropped.
std::vector<std::string> Alternates(const IniSection& section) {
  std::vector<std::string> numbers;
  const std::string list = Text(section, "AlternatePhoneNumbers", "", std::string::npos);
  for (size_t start = 0; start <= list.size();) {
    const size_t end = std::min(list.find(',', start), list.size());
    const std::string number(Trim(std::string_view(list).substr(start, end - start)));
    if (!number.empty())
      numbers.push_back(number.substr(0, kMaxPhoneNumber));
    start = end + 1;
  }
  return numbers;
}

}  // namespace

EntrySettings ReadEntry(const IniSection& section) {
  EntrySettings entry;
  entry.name = EntryName(section);
  entry.phone_number = Text(section, "PhoneNumber", "", kMaxPhoneNumber);
  entry.device = Text(section, "Device", "Simulated Modem", kMaxDeviceName);
  entry.device_type = Text(section, "DeviceType", "modem", kMaxDeviceType);
  entry.user_name = Text(section, "UserName", "", kMaxUserName);
  entry.password = Text(section, "Password", "", kMaxPassword);
  entry.password_stored = Flag(section, "PasswordStored", !entry.password.empty());
  entry.accept_password = Text(section, "AcceptPassword", "", kMaxPassword);
  entry.domain = Text(section, "Domain", "", kMaxDomain);
  entry.outcome = OutcomeOf(section);
  entry.refuse_code = Count(section, "RefuseCode", kPortNotAvailable);
  if (entry.refuse_code == kSuccess) {
    entry.refuse_code = kPortNotAvailable;  // a refused dial must not look like success
  }
  entry.refuse_with_handle = Flag(section, "RefuseWithHandle", false);
  entry.step_delay_ms = Milliseconds(section, "StepDelayMs", 150);
  entry.hang_up_delay_ms = Milliseconds(section, "HangUpDelayMs", kDefaultHangUpDelayMs);
  entry.drop_linger_ms = Milliseconds(section, "DropLingerMs", 0);
  entry.drop_after_s = Count(section, "DropAfter", 0);
  entry.link_speed = Count(section, "LinkSpeed", 57600);
  entry.server_ip = Text(section, "ServerIP", "127.0.0.1", kMaxIpAddress);
  entry.client_ip = Text(section, "ClientIP", "127.0.0.2", kMaxIpAddress);
  entry.send_bps = Count(section, "SendBps", 800);
  entry.recv_bps = Count(section, "RecvBps", 5000);
  entry.autodial_dll = Text(section, "AutodialDll", "", kMaxPath - 1);
  entry.autodial_func = Text(section, "AutodialFunc", "", kMaxPath - 1);
  entry.alternates = Alternates(section);
  return entry;
}

std::string EntryName(const IniSection& section) {
  return section.name.substr(0, kMaxEntryName);
}

std::optional<EntrySettings> LoadEntry(const char* phonebook, std::string_view name) {
  const std::string path = PhonebookFor(phonebook);
  IniFile ini = ReadIniFile(path);
  const IniSection* section = FindEntry(ini, name);
  if (!section) {
    return std::nullopt;
  }
  EntrySettings entry = ReadEntry(*section);
  entry.phonebook = path;
  return entry;
}

std::vector<IniSection*> ListEntries(IniFile& ini) {
  std::vector<IniSection*> entries;
  for (IniSection& section : ini.sections) {
    const std::string name = EntryName(section);
    const bool seen = std::ranges::any_of(
        entries, [&](const IniSection* entry) { return SameText(EntryName(*entry), name); });
    if (!name.empty() && !seen) {
      entries.push_back(&section);
    }
  }
  return entries;
}

IniSection* FindEntry(IniFile& ini, std::string_view name) {
  for (IniSection* entry : ListEntries(ini)) {
    if (SameText(EntryName(*entry), name)) {
      return entry;
    }
  }
  return nullptr;
}

EntryFields DialogFields(const IniSection& section) {
  const EntrySettings entry = ReadEntry(section);
  return {entry.name, entry.phone_number, entry.device, kOutcomeWords[int(entry.outcome)]};
}

void ApplyDialogFields(IniSection& section, const EntryFields& fields) {
  section.name = fields.name;
  section.Set("PhoneNumber", fields.phone_number);
  section.Set("Device", fields.device);
  section.Set("Outcome", fields.outcome);
}

}  // namespace rassim
