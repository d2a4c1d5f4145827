// Byte counts from a baseline, and the RAS totals found in performance-data blocks.
#include "dialup/statistics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <ostream>
#include <vector>

#include "fakes/perf_block.h"

void PrintTo(const LineCounters& counters, std::ostream* out) {
  *out << counters.transmitted << "/" << counters.received;
}

namespace {

using namespace perf_block;

LineCounters Counts(const LineStatistics& statistics) {
  return {statistics.BytesXmit(), statistics.BytesRecv()};
}

TEST(LineStatistics, CountsFromTheBaseline) {
  LineStatistics statistics;
  statistics.Update({400, 500});
  EXPECT_EQ(LineCounters({400, 500}), Counts(statistics));
  statistics.ResetBaseline();
  EXPECT_EQ(LineCounters({0, 0}), Counts(statistics));
  statistics.Update({1000, 2000});
  EXPECT_EQ(LineCounters({600, 1500}), Counts(statistics));
  statistics.Update({5'000'000'400, 2000});
  EXPECT_EQ(LineCounters({5'000'000'000, 1500}), Counts(statistics));
}

TEST(LineStatistics, ACounterBelowItsBaselineRebaselinesBoth) {
  LineStatistics statistics;
  statistics.Update({5000, 6000});
  statistics.ResetBaseline();
  statistics.Update({100, 7000});
  EXPECT_EQ(LineCounters({0, 0}), Counts(statistics));
  statistics.Update({150, 7100});
  EXPECT_EQ(LineCounters({50, 100}), Counts(statistics));
  statistics.Update({200, 10});
  EXPECT_EQ(LineCounters({0, 0}), Counts(statistics));
  statistics.Update({260, 30});
  EXPECT_EQ(LineCounters({60, 20}), Counts(statistics));
}

// The system-wide counters start anywhere. A 32-bit one that wraps goes on counting from
// its baseline, and the count wraps at 32 bits, as a count from 0 does, only once the
// counter passes its baseline again; a fall of less than half the range is a restart.
TEST(LineStatistics, A32BitCounterThatWrapsGoesOnCountingFromItsBaseline) {
  constexpr uint64_t k32Bits = uint64_t{1} << 32;
  LineStatistics statistics;
  statistics.Update({1'000'000'000, 3'000'000'000});
  statistics.ResetBaseline();
  statistics.Update({4'290'000'000, 3'100'000'000});
  statistics.Update({50'000'000, 3'200'000'000});
  EXPECT_EQ(LineCounters({50'000'000 + k32Bits - 1'000'000'000, 200'000'000}), Counts(statistics));
  statistics.Update({1'100'000'000, 3'300'000'000});
  EXPECT_EQ(LineCounters({100'000'000, 300'000'000}), Counts(statistics));
  statistics.Update({1'200'000'000, 2'000'000'000});
  EXPECT_EQ(LineCounters({0, 0}), Counts(statistics));
  // A 64-bit counter never wraps: any fall is a restart.
  statistics.Update({5'000'000'000, 2'000'000'000});
  statistics.ResetBaseline();
  statistics.Update({10, 2'000'000'000});
  EXPECT_EQ(LineCounters({0, 0}), Counts(statistics));
}

TEST(RasTotals, ReadFromTheRasTotalsObject) {
  EXPECT_EQ(LineCounters({600, 1500}), ParseRasTotals(PerfBlock({RasTotals(600, 1500)})));
  EXPECT_EQ(LineCounters({600, 1500}),
            ParseRasTotals(PerfBlock({OtherObject(), RasTotals(600, 1500)})));
  // Past 2 GiB a 32-bit counter is not negative, and a 64-bit one keeps its high half.
  EXPECT_EQ(LineCounters({0xFFFFFFF0, 5'000'000'000}),
            ParseRasTotals(PerfBlock({RasTotals(0xFFFFFFF0, 5'000'000'000)})));

  TestObject wide{kRasTotalObject, {}, {{}}};
  for (std::uint32_t i = 0; i < 60; ++i) {
    wide.counters.push_back({i == 55 ? 872 : i == 58 ? 874 : 1000 + i, 4});
    wide.blocks[0].push_back(i);
  }
  EXPECT_EQ(LineCounters({55, 58}), ParseRasTotals(PerfBlock({wide})));

  TestObject ports{kRasTotalObject, kRasCounters, {{0, 10, 90, 0}, {0, 70, 20, 0}}, true};
  EXPECT_EQ(LineCounters({70, 90}), ParseRasTotals(PerfBlock({ports})));
}

TEST(RasTotals, NoCountersWithoutTheRasTotalsObject) {
  const Block wine = PerfBlock({});  // what Wine answers
  ASSERT_EQ(96u, wine.size());
  EXPECT_EQ(std::nullopt, ParseRasTotals(wine));
  EXPECT_EQ(std::nullopt, ParseRasTotals({}));
  EXPECT_EQ(std::nullopt, ParseRasTotals(PerfBlock({OtherObject()})));

  TestObject received_only = RasTotals(1, 2);
  received_only.counters[1].name = 871;
  EXPECT_EQ(std::nullopt, ParseRasTotals(PerfBlock({received_only})));
  EXPECT_EQ(std::nullopt, ParseRasTotals(PerfBlock({{kRasTotalObject, kRasCounters, {}, true}})));

  Block unsigned_block = PerfBlock({RasTotals(1, 2)});
  unsigned_block[0] = 'X';
  EXPECT_EQ(std::nullopt, ParseRasTotals(unsigned_block));
}

TEST(RasTotals, EveryCutOfABlockGivesNoCounters) {
  TestObject ports{kRasTotalObject, kRasCounters, {{0, 10, 90, 0}, {0, 70, 20, 0}}, true};
  const Block full = PerfBlock({OtherObject(), ports});
  ASSERT_EQ(LineCounters({70, 90}), ParseRasTotals(full));
  for (std::size_t length = 0; length < full.size(); ++length) {
    // Exactly as long as the cut, so that AddressSanitizer sees any read past it.
    const Block cut(full.begin(), full.begin() + length);
    EXPECT_EQ(std::nullopt, ParseRasTotals(cut)) << "cut at " << length;
  }
}

TEST(RasTotals, InconsistentLengthsGiveNoCounters) {
  // The object lies at 96, its counter definitions at 160, 200 (872), 240 (874) and 280,
  // its one instance at 320 and that instance's counter block at 344.
  TestObject port{kRasTotalObject, kRasCounters, {{0, 10, 90, 0}}, true};
  const Block valid = PerfBlock({port});
  ASSERT_EQ(384u, valid.size());
  ASSERT_EQ(LineCounters({10, 90}), ParseRasTotals(valid));
  const struct {
    std::size_t at;
    std::uint32_t value;
  } kDamages[] = {
      {24, 0},           {24, 0x7FFFFFF0}, {96, 8},           {96, 289}, {100, 0xFFFFFFF0},
      {104, 0xFFFFFFF0}, {128, 1'000'000}, {136, 0},          {136, 2},  {136, 0x7FFFFFFF},
      {200, 0},          {232, 3},         {236, 0xFFFFFFFE}, {276, 36}, {320, 0},
      {320, 0xFFFFFFF0}, {344, 2},         {344, 0xFFFFFFFF},
  };
  for (const auto& damage : kDamages) {
    Block block = valid;
    Put32(block, damage.at, damage.value);
    EXPECT_EQ(std::nullopt, ParseRasTotals(block)) << damage.value << " at " << damage.at;
  }
}

}  // namespace
