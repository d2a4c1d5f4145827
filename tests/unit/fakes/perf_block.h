// Performance-data blocks built byte by byte from the documented layout, for tests of
// the code that reads them.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "dialup/statistics.h"

namespace perf_block {

using Block = std::vector<std::uint8_t>;

inline void Put32(Block& block, std::size_t at, std::uint64_t value) {
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
inline Block ObjectBytes(const TestObject& object) {
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
inline Block PerfBlock(const std::vector<TestObject>& objects) {
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

inline const std::vector<TestCounter> kRasCounters = {{870, 4}, {872, 4}, {874, 8}, {876, 4}};

inline TestObject RasTotals(std::uint64_t transmitted, std::uint64_t received) {
  return {kRasTotalObject, kRasCounters, {{7, transmitted, received, 9}}};
}

// Another object that happens to use the same counter indices.
inline TestObject OtherObject() {
  return {870, kRasCounters, {{1, 111, 222, 3}}};
}

}  // namespace perf_block
