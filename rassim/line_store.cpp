// The line files beside the phonebook, and the machine's handle counter.
#include "rassim/line_store.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>

#include "rassim/phonebook.h"
#include "rassim/rassim.h"
#include "rassim/records.h"

namespace rassim {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLinePrefix = "rassim-line-";
constexpr uint64_t kFirstHandle = 0x1000;

fs::path Folder() {
  return fs::path(PhonebookPath()).parent_path();
}

fs::path LinePath(uint64_t handle) {
  return Folder() / (std::string(kLinePrefix) + std::to_string(handle));
}

// The number a file name carries after `prefix`, if it is all digits.
std::optional<uint64_t> NumberAfter(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) {
    return std::nullopt;
  }
  name.remove_prefix(prefix.size());
  uint64_t number = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
  if (error != std::errc() || end != name.data() + name.size()) {
    return std::nullopt;
  }
  return number;
}

uint64_t Number(const IniSection& section, std::string_view key) {
  const std::string* value = section.Find(key);
  return value ? NumberAfter(*value, "").value_or(0) : 0;
}

std::optional<uint64_t> Moment(const IniSection& section, std::string_view key) {
  return section.Find(key) ? std::optional(Number(section, key)) : std::nullopt;
}

std::string Value(const IniSection& section, std::string_view key) {
  const std::string* value = section.Find(key);
  return value ? *value : "";
}

LineRecord Parse(uint64_t handle, const IniSection& s) {
  LineRecord line;
  line.handle = handle;
  line.entry = Value(s, "Entry");
  line.phonebook = Value(s, "Phonebook");
  line.phone_number = Value(s, "PhoneNumber");
  line.device = Value(s, "Device");
  line.device_type = Value(s, "DeviceType");
  line.server_ip = Value(s, "ServerIP");
  line.client_ip = Value(s, "ClientIP");
  line.connected_at = Number(s, "ConnectedAt");
  line.drop_after_s = static_cast<uint32_t>(Number(s, "DropAfter"));
  line.drop_linger_ms = static_cast<uint32_t>(Number(s, "DropLingerMs"));
  line.hang_up_delay_ms = static_cast<uint32_t>(Number(s, "HangUpDelayMs"));
  line.link_speed = static_cast<uint32_t>(Number(s, "LinkSpeed"));
  line.send_bps = static_cast<uint32_t>(Number(s, "SendBps"));
  line.recv_bps = static_cast<uint32_t>(Number(s, "RecvBps"));
  line.moved_received = Number(s, "MovedReceived");
  line.moved_sent = Number(s, "MovedSent");
  line.dropped_at = Moment(s, "DroppedAt");
  line.hung_up_at = Moment(s, "HungUpAt");
  return line;
}

IniSection Format(const LineRecord& line) {
  IniSection s{"Line", {}};
  s.Set("Entry", line.entry);
  s.Set("Phonebook", line.phonebook);
  s.Set("PhoneNumber", line.phone_number);
  s.Set("Device", line.device);
  s.Set("DeviceType", line.device_type);
  s.Set("ServerIP", line.server_ip);
  s.Set("ClientIP", line.client_ip);
  s.Set("ConnectedAt", std::to_string(line.connected_at));
  s.Set("DropAfter", std::to_string(line.drop_after_s));
  s.Set("DropLingerMs", std::to_string(line.drop_linger_ms));
  s.Set("HangUpDelayMs", std::to_string(line.hang_up_delay_ms));
  s.Set("LinkSpeed", std::to_string(line.link_speed));
  s.Set("SendBps", std::to_string(line.send_bps));
  s.Set("RecvBps", std::to_string(line.recv_bps));
  s.Set("MovedReceived", std::to_string(line.moved_received));
  s.Set("MovedSent", std::to_string(line.moved_sent));
  if (line.dropped_at) {
    s.Set("DroppedAt", std::to_string(*line.dropped_at));
  }
  if (line.hung_up_at) {
    s.Set("HungUpAt", std::to_string(*line.hung_up_at));
  }
  return s;
}

// Lines are read far more often than they change: a file read again as it was is not
// parsed again. Each entry holds a file's text and what it was read as.
std::mutex g_parsed_mutex;
std::map<std::string, std::pair<std::string, LineRecord>> g_parsed;
constexpr size_t kMaxParsed = 256;

std::optional<LineRecord> ReadLineFile(uint64_t handle, const fs::path& path) {
  const std::string key = path.string();
  std::string text = ReadTextFile(key);
  std::lock_guard lock(g_parsed_mutex);
  const auto known = g_parsed.find(key);
  if (known != g_parsed.end() && known->second.first == text) {
    return known->second.second;
  }
  const IniFile ini = IniFile::Parse(text);
  if (ini.sections.empty() || Value(ini.sections.front(), "Entry").empty()) {
    g_parsed.erase(key);
    return std::nullopt;  // gone, or not a line file
  }
  if (g_parsed.size() >= kMaxParsed) {
    g_parsed.clear();
  }
  const LineRecord line = Parse(handle, ini.sections.front());
  g_parsed[key] = {std::move(text), line};
  return line;
}

// The numbers after `prefix` of the names in `folder`, in order.
std::vector<uint64_t> Numbered(const fs::path& folder, std::string_view prefix) {
  std::vector<uint64_t> numbers;
  std::error_code error;
  for (const auto& file : fs::directory_iterator(folder, error)) {
    if (const auto number = NumberAfter(file.path().filename().string(), prefix)) {
      numbers.push_back(*number);
    }
  }
  std::ranges::sort(numbers);
  return numbers;
}

// The handle counter: a folder holding one empty file named by the next handle.
fs::path CounterFolder() {
  return Folder() / "rassim-handles";
}

fs::path CounterPath(uint64_t next) {
  return CounterFolder() / std::to_string(next);
}

// Makes the counter, past every line there is, unless another process has: a folder
// holding its first file is renamed into place, which fails when one is there.
void StartCounter() {
  const std::vector<uint64_t> lines = Numbered(Folder(), kLinePrefix);
  const uint64_t start = std::max(kFirstHandle, lines.empty() ? 0 : lines.back() + 1);
  fs::path temp = CounterFolder();
  temp += '.';
  temp += std::to_string(std::random_device{}());
  temp += ".tmp";
  std::error_code error;
  fs::create_directories(temp, error);
  std::ofstream{temp / std::to_string(start)};
  fs::rename(temp, CounterFolder(), error);
  fs::remove_all(temp, error);
}

}  // namespace

uint64_t MachineMs() {
  // The steady clock is the machine's monotonic one (the performance counter on Windows),
  // which every process reads alike.
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

std::optional<uint64_t> DropTime(const LineRecord& line) {
  std::optional<uint64_t> drop = line.dropped_at;
  if (line.drop_after_s > 0) {
    const uint64_t due = line.connected_at + uint64_t{line.drop_after_s} * 1000;
    drop = std::min(drop.value_or(due), due);
  }
  return drop;
}

LineState StateAt(const LineRecord& line, uint64_t now) {
  const std::optional<uint64_t> drop = DropTime(line);
  const uint64_t forgotten = drop ? *drop + line.drop_linger_ms : UINT64_MAX;
  // A hang-up before the line is forgotten takes over: it ends after its own delay.
  if (line.hung_up_at && *line.hung_up_at < forgotten) {
    return now >= *line.hung_up_at + line.hang_up_delay_ms
               ? LineState{Phase::kGone, kUserDisconnection}
               : LineState{Phase::kHangingUp, kSuccess};
  }
  if (drop && now >= forgotten) {
    return {Phase::kGone, kPortDisconnected};
  }
  if (drop && now >= *drop) {
    return {Phase::kDropped, kPortDisconnected};
  }
  return {Phase::kConnected, kSuccess};
}

std::optional<uint64_t> NextChange(const LineRecord& line, uint64_t now) {
  const std::optional<uint64_t> drop = DropTime(line);
  std::optional<uint64_t> next;
  const auto consider = [&](uint64_t moment) {
    if (moment > now) {
      next = std::min(next.value_or(moment), moment);
    }
  };
  if (drop) {
    consider(*drop);
    consider(*drop + line.drop_linger_ms);
  }
  if (line.hung_up_at) {
    consider(*line.hung_up_at + line.hang_up_delay_ms);
  }
  return next;
}

std::vector<LineRecord> ReadLines() {
  std::vector<LineRecord> lines;
  for (const uint64_t handle : Numbered(Folder(), kLinePrefix)) {
    if (auto line = ReadLineFile(handle, LinePath(handle))) {
      lines.push_back(std::move(*line));
    }
  }
  return lines;
}

std::optional<LineRecord> ReadLine(uint64_t handle) {
  return ReadLineFile(handle, LinePath(handle));
}

bool WriteLine(const LineRecord& line) {
  const fs::path path = LinePath(line.handle);
  // A name of the writer's own: two processes may write one line at once.
  static thread_local std::mt19937_64 random{std::random_device{}()};
  IniFile ini;
  ini.sections.push_back(Format(line));
  return WriteIniFile(path.string(), ini, path.string() + "." + std::to_string(random()) + ".tmp");
}

void RemoveLine(uint64_t handle) {
  std::error_code ignored;
  fs::remove(LinePath(handle), ignored);
}

uint64_t NewHandle() {
  if (!fs::exists(CounterFolder())) {
    StartCounter();
  }
  // Taking the number n is renaming the counter's file n to n + 1, which only one process
  // can do. A process that loses the race, or lists the folder while it changes, looks
  // again.
  for (int look = 0; look < 10000; ++look) {
    const std::vector<uint64_t> counter = Numbered(CounterFolder(), "");
    if (counter.empty()) {
      continue;
    }
    std::error_code error;
    fs::rename(CounterPath(counter.back()), CounterPath(counter.back() + 1), error);
    if (!error) {
      return counter.back();
    }
  }
  return 0;  // the counter is gone
}

}  // namespace rassim
