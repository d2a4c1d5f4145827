// Byte counts of the dial-up line: baselines, and the RAS totals in performance data.
#include "dialup/statistics.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

namespace {

constexpr std::uint64_t k32Bits = std::uint64_t{1} << 32;

// Whether a counter read `last`, then `now`, started again rather than went on.
bool Restarted(std::uint64_t last, std::uint64_t now) {
  const bool wrapped = last < k32Bits && last - now > k32Bits / 2;
  return now < last && !wrapped;
}

}  // namespace

void LineStatistics::Update(const LineCounters& raw) {
  const bool restarted =
      Restarted(raw_.transmitted, raw.transmitted) || Restarted(raw_.received, raw.received);
  raw_ = raw;
  if (restarted) {
    ResetBaseline();
  }
}

std::uint64_t LineStatistics::Since(std::uint64_t raw, std::uint64_t baseline) {
  return raw >= baseline ? raw - baseline : raw + k32Bits - baseline;
}

void LineStatistics::ResetBaseline() {
  baseline_ = raw_;
}

namespace {

// The records are copied out as they lie, and the system writes them little-endian.
static_assert(std::endian::native == std::endian::little);

// The system's records, laid out the same in 32- and 64-bit processes: the reserved title
// fields are 32 bits wide in both.
struct PerfDataBlock {
  char16_t signature[4];
  std::uint32_t little_endian;
  std::uint32_t version;
  std::uint32_t revision;
  std::uint32_t total_byte_length;
  std::uint32_t header_length;  // also the offset of the first object
  std::uint32_t num_object_types;
  std::int32_t default_object;
  std::uint16_t system_time[8];
  alignas(8) std::int64_t perf_time;
  std::int64_t perf_freq;
  std::int64_t perf_time_100nsec;
  std::uint32_t system_name_length;
  std::uint32_t system_name_offset;
};
static_assert(offsetof(PerfDataBlock, perf_time) == 56 && sizeof(PerfDataBlock) == 88);

struct PerfObjectType {
  std::uint32_t total_byte_length;  // also the offset of the next object
  std::uint32_t definition_length;  // offset of the first instance or the counter block
  std::uint32_t header_length;      // offset of the first counter definition
  std::uint32_t object_name_title_index;
  std::uint32_t object_name_title;
  std::uint32_t object_help_title_index;
  std::uint32_t object_help_title;
  std::uint32_t detail_level;
  std::uint32_t num_counters;
  std::int32_t default_counter;
  std::int32_t num_instances;  // negative: no instances, one counter block
  std::uint32_t code_page;
  std::int64_t perf_time;
  std::int64_t perf_freq;
};
static_assert(offsetof(PerfObjectType, perf_time) == 48 && sizeof(PerfObjectType) == 64);

struct PerfCounterDefinition {
  std::uint32_t byte_length;
  std::uint32_t counter_name_title_index;
  std::uint32_t counter_name_title;
  std::uint32_t counter_help_title_index;
  std::uint32_t counter_help_title;
  std::int32_t default_scale;
  std::uint32_t detail_level;
  std::uint32_t counter_type;
  std::uint32_t counter_size;
  std::uint32_t counter_offset;  // from the start of the counter block
};
static_assert(sizeof(PerfCounterDefinition) == 40);

// Followed by its name, within byte_length; its counter block comes after that.
struct PerfInstanceDefinition {
  std::uint32_t byte_length;
  std::uint32_t parent_object_title_index;
  std::uint32_t parent_object_instance;
  std::int32_t unique_id;
  std::uint32_t name_offset;
  std::uint32_t name_length;
};
static_assert(sizeof(PerfInstanceDefinition) == 24);

// Followed by the counter values, within byte_length.
struct PerfCounterBlock {
  std::uint32_t byte_length;
};
static_assert(sizeof(PerfCounterBlock) == 4);

using Bytes = std::span<const std::uint8_t>;

// The `length` bytes at `offset`, if `bytes` holds them all.
std::optional<Bytes> Slice(Bytes bytes, std::size_t offset, std::size_t length) {
  if (offset > bytes.size() || length > bytes.size() - offset) {
    return std::nullopt;
  }
  return bytes.subspan(offset, length);
}

// A copy of the record at `offset`: the block promises no alignment.
template <typename Record>
std::optional<Record> ReadAt(Bytes bytes, std::size_t offset) {
  const std::optional<Bytes> source = Slice(bytes, offset, sizeof(Record));
  if (!source) {
    return std::nullopt;
  }
  Record record;
  std::memcpy(&record, source->data(), sizeof(Record));
  return record;
}

// The bytes of a record that begins with its own length, which must cover at least the
// record, so that the record can be read from them.
template <typename Record>
std::optional<Bytes> SizedRecordAt(Bytes bytes, std::size_t offset) {
  const std::optional<std::uint32_t> length = ReadAt<std::uint32_t>(bytes, offset);
  if (!length || *length < sizeof(Record)) {
    return std::nullopt;
  }
  return Slice(bytes, offset, *length);
}

// Where a counter's value lies in a counter block.
struct CounterPlace {
  std::uint32_t offset = 0;
  std::uint32_t size = 0;  // 0 until the counter's definition is found
};

struct ByteCounterPlaces {
  CounterPlace transmitted;
  CounterPlace received;
};

// The places of the two byte counters among the object's counter definitions.
std::optional<ByteCounterPlaces> FindByteCounters(Bytes object, const PerfObjectType& header) {
  const std::optional<Bytes> definitions = Slice(object, 0, header.definition_length);
  if (!definitions) {
    return std::nullopt;
  }
  ByteCounterPlaces places;
  std::size_t offset = header.header_length;
  for (std::uint32_t i = 0; i < header.num_counters; ++i) {
    const std::optional<Bytes> bytes = SizedRecordAt<PerfCounterDefinition>(*definitions, offset);
    if (!bytes) {
      return std::nullopt;
    }
    const PerfCounterDefinition definition = *ReadAt<PerfCounterDefinition>(*bytes, 0);
    const CounterPlace place{definition.counter_offset, definition.counter_size};
    if (definition.counter_name_title_index == kBytesTransmittedCounter) {
      places.transmitted = place;
    } else if (definition.counter_name_title_index == kBytesReceivedCounter) {
      places.received = place;
    }
    offset += bytes->size();
  }
  return places;
}

// A counter's value; byte counts come only as 32- or 64-bit counters.
std::optional<std::uint64_t> ReadCounter(Bytes counter_block, CounterPlace place) {
  if (place.size == sizeof(std::uint32_t)) {
    return ReadAt<std::uint32_t>(counter_block, place.offset);
  }
  if (place.size == sizeof(std::uint64_t)) {
    return ReadAt<std::uint64_t>(counter_block, place.offset);
  }
  return std::nullopt;
}

// Both byte counters from one counter block.
std::optional<LineCounters> ReadCounters(Bytes counter_block, const ByteCounterPlaces& places) {
  const std::optional<std::uint64_t> transmitted = ReadCounter(counter_block, places.transmitted);
  const std::optional<std::uint64_t> received = ReadCounter(counter_block, places.received);
  if (!transmitted || !received) {
    return std::nullopt;
  }
  return LineCounters{*transmitted, *received};
}

// The largest counters among the object's instances; an object without any has none.
std::optional<LineCounters> ReadInstances(Bytes object, const PerfObjectType& header,
                                          const ByteCounterPlaces& places) {
  if (header.num_instances == 0) {
    return std::nullopt;
  }
  LineCounters largest;
  std::size_t offset = header.definition_length;
  for (std::int32_t i = 0; i < header.num_instances; ++i) {
    const std::optional<Bytes> instance = SizedRecordAt<PerfInstanceDefinition>(object, offset);
    if (!instance) {
      return std::nullopt;
    }
    offset += instance->size();
    const std::optional<Bytes> block = SizedRecordAt<PerfCounterBlock>(object, offset);
    if (!block) {
      return std::nullopt;
    }
    offset += block->size();
    const std::optional<LineCounters> counters = ReadCounters(*block, places);
    if (!counters) {
      return std::nullopt;
    }
    largest.transmitted = std::max(largest.transmitted, counters->transmitted);
    largest.received = std::max(largest.received, counters->received);
  }
  return largest;
}

std::optional<LineCounters> ReadRasObject(Bytes object, const PerfObjectType& header) {
  const std::optional<ByteCounterPlaces> places = FindByteCounters(object, header);
  if (!places) {
    return std::nullopt;
  }
  if (header.num_instances < 0) {
    const std::optional<Bytes> block =
        SizedRecordAt<PerfCounterBlock>(object, header.definition_length);
    if (!block) {
      return std::nullopt;
    }
    return ReadCounters(*block, *places);
  }
  return ReadInstances(object, header, *places);
}

}  // namespace

std::optional<LineCounters> ParseRasTotals(std::span<const std::uint8_t> block) {
  const std::optional<PerfDataBlock> header = ReadAt<PerfDataBlock>(block, 0);
  if (!header || std::memcmp(header->signature, u"PERF", sizeof header->signature) != 0) {
    return std::nullopt;
  }
  std::size_t offset = header->header_length;
  for (std::uint32_t i = 0; i < header->num_object_types; ++i) {
    const std::optional<Bytes> object = SizedRecordAt<PerfObjectType>(block, offset);
    if (!object) {
      return std::nullopt;
    }
    const PerfObjectType object_header = *ReadAt<PerfObjectType>(*object, 0);
    if (object_header.object_name_title_index == kRasTotalObject) {
      return ReadRasObject(*object, object_header);
    }
    offset += object->size();
  }
  return std::nullopt;
}
