// Byte counts from a baseline, and the RAS totals found in performance-data blocks.
#include "dialup/statistics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <ostream>
#include <vector>

void PrintTo(const LineCounters& counters, std::ostream* out) {
  *out << counters.transmitted << "/" << counters.received;
}

namespace {

using Block = std::vector<std::uint8_t>;

void Put32(Block& block, std::size_t at, std::uint64_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    block[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

struct TestCounter {
  std::uint32_t name;
  std::uint32_t size;  // 4 or 8
};

// One object: its counters, and the values of each counter block, one block per instance
// or the object's only block when it has no instances.
struct TestObject {
  std::uint32_t name = kRasTotalObject;
  std::vector<TestCounter> counters;
  std::vector<std::vector<std::uint64_t>> blocks;
  bool instances = false;
};

// Laid out by the documented offsets: object header 64 bytes, counter definitions 40,
// instance definitions 24, counter blocks their length and then the values.
Block ObjectBytes(const TestObject& object) {
  const std::size_t definitions = 64 + 40 * object.counters.size();
  Block bytes(definitions);
  Put32(bytes, 4, definitions);                                            // DefinitionLength
  Put32(bytes, 8, 64);                                                     // HeaderLength
  Put32(bytes, 12, object.name);                                           // ObjectNameTitleIndex
  Put32(bytes, 32, object.counters.size());                                // NumCounters
  Put32(bytes, 40, object.instances ? object.blocks.size() : 0xFFFFFFFF);  // NumInstances
  for (std::size_t i = 0; i < object.counters.size(); ++i) {
    Put32(bytes, 64 + 40 * i, 40);                            // ByteLength
    Put32(bytes, 64 + 40 * i + 4, object.counters[i].name);   // CounterNameTitleIndex
    Put32(bytes, 64 + 40 * i + 32, object.counters[i].size);  // CounterSize
    Put32(bytes, 64 + 40 * i + 36, 8 + 8 * i);                // CounterOffset
  }
  for (const std::vector<std::uint64_t>& values : object.blocks) {
    if (object.instances) {  // without a name
      bytes.resize(bytes.size() + 24);
      Put32(bytes, bytes.size() - 24, 24);
    }
    const std::size_t at = bytes.size();
    bytes.resize(at + 8 + 8 * values.size());
    Put32(bytes, at, 8 + 8 * values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      Put32(bytes, at + 8 + 8 * i, values[i]);
      if (object.counters[i].size == 8) {
        Put32(bytes, at + 12 + 8 * i, values[i] >> 32);
      }
    }
  }
  Put32(bytes, 0, bytes.size());
  return bytes;
}

// A block as the registry answers: the 88-byte header, the machine's name, the objects.
Block PerfBlock(const std::vector<TestObject>& objects) {
  Block block(96);
  std::memcpy(block.data(), "P\0E\0R\0F\0", 8);
  Put32(block, 8, 1);                // LittleEndian
  Put32(block, 24, 96);              // HeaderLength
  Put32(block, 28, objects.size());  // NumObjectTypes
  Put32(block, 80, 6);               // SystemNameLength
  Put32(block, 84, 88);              // SystemNameOffset
  block[88] = 'P';
  block[90] = 'C';
  for (const TestObject& object : objects) {
    const Block bytes = ObjectBytes(object);
    block.insert(block.end(), bytes.begin(), bytes.end());
  }
  Put32(block, 20, block.size());  // TotalByteLength
  return block;
}

const std::vector<TestCounter> kRasCounters = {{870, 4}, {872, 4}, {874, 8}, {876, 4}};

TestObject RasTotals(std::uint64_t transmitted, std::uint64_t received) {
  return {kRasTotalObject, kRasCounters, {{7, transmitted, received, 9}}};
}

// Another object that happens to use the same counter indices.
TestObject OtherObject() {
  return {870, kRasCounters, {{1, 111, 222, 3}}};
}

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
