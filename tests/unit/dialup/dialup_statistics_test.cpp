// TDialUp's line statistics from each platform family's registry source, and from RAS
// where the registry has no RAS counters.
#include <gtest/gtest.h>

#include <string>

#include "dialup/dialup.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_ui_loop.h"
#include "fakes/perf_block.h"
#include "fakes/rassim_loader.h"
#include "fakes/temp_phonebook.h"

namespace {

constexpr const char* kEnum = "System\\CurrentControlSet\\Control\\PerfStats\\Enum";

std::string Dword(uint32_t value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

class DialUpStatisticsTest : public testing::Test {
 protected:
  TDialUp& Make(int family) {
    dialup.emplace(ras, ui, clock, StatisticsSource{&registry, family});
    return *dialup;
  }

  // The consumer family's counters of adapter `name`.
  void SetDynamicData(const std::string& name, uint32_t sent, uint32_t received) {
    registry.WriteBinary(RegRoot::DynData, "PerfStats\\StatData", name + "\\TotalBytesXmit",
                         Dword(sent));
    registry.WriteBinary(RegRoot::DynData, "PerfStats\\StatData", name + "\\TotalBytesRecvd",
                         Dword(received));
    registry.WriteBinary(RegRoot::DynData, "PerfStats\\StatData", name + "\\ConnectSpeed",
                         Dword(57600));
  }

  void AddAdapter(const std::string& name) {
    registry.CreateKey(RegRoot::LocalMachine, std::string(kEnum) + "\\" + name);
    for (const char* value : {"TotalBytesXmit", "TotalBytesRecvd", "ConnectSpeed"})
      registry.WriteBinary(RegRoot::DynData, "PerfStats\\StartStat", name + "\\" + value, Dword(0));
  }

  static std::pair<int64_t, int64_t> Counts(const TDialUp& d) {
    return {d.BytesXmit(), d.BytesRecv()};
  }

  TempPhonebook phonebook{"[Line]\nStepDelayMs=0\nLinkSpeed=33600\n"};
  RassimLoader loader;
  RasApi ras{loader};
  FakeClock clock;
  FakeUiLoop ui{clock};
  FakeRegistry registry;
  std::optional<TDialUp> dialup;
};

TEST_F(DialUpStatisticsTest, ConsumerFamilyCountsFromTheBaselineOfItsFirstAdapter) {
  TDialUp& d = Make(1);
  registry.CreateKey(RegRoot::LocalMachine, std::string(kEnum) + "\\Network");  // no counters
  registry.CreateKey(RegRoot::DynData, "PerfStats\\StartStat");
  EXPECT_FALSE(d.StartStatistics(true, true));

  AddAdapter("0003");
  AddAdapter("0002");
  SetDynamicData("0002", 400, 500);
  EXPECT_TRUE(d.StartStatistics(true, true));
  EXPECT_EQ(d.DUNA(), (std::vector<std::string>{"0002", "0003"}));
  EXPECT_EQ(d.DUNA_Key, "0002");
  EXPECT_EQ(Counts(d), std::make_pair(int64_t{0}, int64_t{0}));

  SetDynamicData("0002", 1000, 2000);
  EXPECT_TRUE(d.GetStatistics());
  EXPECT_EQ(Counts(d), std::make_pair(int64_t{600}, int64_t{1500}));
  EXPECT_EQ(d.ConnectionSpeed(), 57600u);

  SetDynamicData("0002", 100, 2600);  // the adapter restarted: both start again
  EXPECT_TRUE(d.GetStatistics());
  EXPECT_EQ(Counts(d), std::make_pair(int64_t{0}, int64_t{0}));
}

TEST_F(DialUpStatisticsTest, NtFamilyGrowsItsBufferUntilThePerformanceDataFits) {
  TDialUp& d = Make(2);
  using namespace perf_block;
  Block block = PerfBlock({OtherObject(), RasTotals(1000, 2000)});
  block.resize(12000);  // larger than any buffer asked for so far
  registry.performance_data = std::string(block.begin(), block.end());
  EXPECT_TRUE(d.StartStatistics(true, true));
  const auto& sizes = registry.performance_sizes;
  ASSERT_GE(sizes.size(), 2u);
  for (size_t i = 1; i < sizes.size(); ++i)
    EXPECT_EQ(sizes[i], sizes[i - 1] + 1024);
  EXPECT_GE(sizes.back(), block.size());

  block = PerfBlock({RasTotals(1600, 3500)});
  registry.performance_data = std::string(block.begin(), block.end());
  const size_t asked = sizes.size();
  EXPECT_TRUE(d.GetStatistics());
  EXPECT_EQ(sizes.size(), asked + 1);  // the grown size is remembered
  EXPECT_EQ(Counts(d), std::make_pair(int64_t{600}, int64_t{1500}));
}

TEST_F(DialUpStatisticsTest, WithoutRasCountersInTheRegistryTheConnectionsOwnAreRead) {
  TDialUp& d = Make(2);
  using namespace perf_block;
  const Block empty = PerfBlock({});  // what Wine answers: a header and no objects
  registry.performance_data = std::string(empty.begin(), empty.end());
  EXPECT_FALSE(d.StartStatistics(true, true));  // no line yet

  bool connected = false;
  d.OnAsyncEvent = [&](TDialUp&, int state, int, const std::string&) {
    connected = state == kRasConnected;
  };
  d.Entry = "Line";
  ASSERT_EQ(d.Dial(), 0);
  ASSERT_TRUE(ui.RunUntil([&] { return connected; }));
  EXPECT_TRUE(d.GetStatistics());
  EXPECT_EQ(d.ConnectionSpeed(), 33600u);
  EXPECT_GE(d.BytesXmit(), 0);
  d.HangUp();
  EXPECT_FALSE(d.GetStatistics());
}

TEST_F(DialUpStatisticsTest, WithoutARegistrySourceThereAreNoStatistics) {
  TDialUp d(ras, ui, clock);
  EXPECT_FALSE(d.StartStatistics(true, true));
  EXPECT_FALSE(d.GetStatistics());
  EXPECT_FALSE(Make(0).StartStatistics(true, true));
}

}  // namespace
