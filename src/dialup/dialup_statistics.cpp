// The dial-up component's line statistics: byte counts, link speed and the adapters that
// report them, read from wherever the platform keeps them.
#include <algorithm>
#include <cstring>

#include "dialup/dialup.h"

namespace {

constexpr const char* kEnumKey = "System\\CurrentControlSet\\Control\\PerfStats\\Enum";
constexpr const char* kStartKey = "PerfStats\\StartStat";
constexpr const char* kStopKey = "PerfStats\\StopStat";
constexpr const char* kDataKey = "PerfStats\\StatData";
constexpr const char* kValueNames[3] = {"TotalBytesXmit", "TotalBytesRecvd", "ConnectSpeed"};
constexpr size_t kMaxAdapterName = 32;  // the platform's names fit 33 characters with the NUL
constexpr size_t kMinPerformanceBlock = 100;
constexpr size_t kMaxPerformanceBuffer = 16 << 20;

// The performance-data buffer's size is remembered for the whole process and only grows.
size_t performance_buffer_size = 8192;

uint32_t Dword(const std::string& bytes) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data(), std::min(bytes.size(), sizeof value));
  return value;
}

}  // namespace

bool TDialUp::EnumAdapters() {
  Registry* registry = statistics_.registry;
  if (!registry || statistics_.family != 1)
    return false;
  duna_.clear();
  if (!registry->KeyExists(RegRoot::LocalMachine, kEnumKey) ||
      !registry->KeyExists(RegRoot::DynData, kStartKey))
    return false;
  for (const std::string& name : registry->SubKeys(RegRoot::LocalMachine, kEnumKey)) {
    if (name.size() <= kMaxAdapterName &&
        registry->ValueExists(RegRoot::DynData, kStartKey, name + "\\ConnectSpeed"))
      duna_.push_back(name);
  }
  std::ranges::sort(duna_);
  return true;
}

// Reading the adapter's three values is what makes the consumer family start or stop
// counting for it.
bool TDialUp::ReadStatValues(const std::string& key, std::string values[3]) {
  for (int i = 0; i < 3; ++i) {
    if (statistics_.registry->ReadBytes(RegRoot::DynData, key, DUNA_Key + "\\" + kValueNames[i],
                                        values[i]) != RegRead::Ok)
      return false;
  }
  return true;
}

bool TDialUp::StartStatistics(bool Start, bool RefreshAdapter) {
  if (!statistics_.registry || statistics_.family == 0)
    return false;
  if (statistics_.family == 1) {
    if (RefreshAdapter) {
      EnumAdapters();
      if (duna_.empty())
        return false;
      DUNA_Key = duna_.front();
    }
    std::string values[3];
    if (!ReadStatValues(Start ? kStartKey : kStopKey, values))
      return false;
  }
  if (!Start)
    return true;
  const bool result = GetStatistics();
  ResetBaseline();
  return result;
}

bool TDialUp::GetStatistics() {
  if (!statistics_.registry || statistics_.family == 0)
    return false;
  const bool from_registry =
      statistics_.family == 1 ? GetDynamicStatistics() : GetPerformanceStatistics();
  return from_registry || GetRasStatistics();
}

void TDialUp::ResetBaseline() {
  line_.ResetBaseline();
}

bool TDialUp::GetDynamicStatistics() {
  std::string values[3];
  if (!ReadStatValues(kDataKey, values))
    return false;
  line_.Update({Dword(values[0]), Dword(values[1])});
  connection_speed_ = Dword(values[2]);
  return true;
}

bool TDialUp::GetPerformanceStatistics() {
  std::string block;
  RegRead read;
  while ((read = statistics_.registry->ReadPerformanceData("906", performance_buffer_size,
                                                           block)) == RegRead::MoreData) {
    if (performance_buffer_size >= kMaxPerformanceBuffer)
      return false;
    performance_buffer_size += 1024;
  }
  if (read != RegRead::Ok || block.size() < kMinPerformanceBlock)
    return false;
  const auto counters =
      ParseRasTotals({reinterpret_cast<const std::uint8_t*>(block.data()), block.size()});
  if (!counters)
    return false;
  line_.Update(*counters);
  return true;
}

bool TDialUp::GetRasStatistics() {
  TRasStats stats{};
  stats.dwSize = sizeof stats;
  if (!connection_handle_ || ras_.RasGetConnectionStatistics(connection_handle_, &stats) != 0)
    return false;
  // RAS counts each connection from zero.
  if (connection_handle_ != statistics_handle_) {
    line_ = LineStatistics();
    statistics_handle_ = connection_handle_;
  }
  line_.Update({stats.dwBytesXmited, stats.dwBytesRcved});
  connection_speed_ = stats.dwBps;
  return true;
}
