// What the fuzz targets share: the check that stops a run, and the sound section each INI
// target puts after whatever the fuzzer wrote.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text.h"

// A broken expectation stops the run like a crash, and libFuzzer keeps the input.
#define FUZZ_EXPECT(condition) \
  ((condition) ? void() : FuzzExpectationFailed(#condition, __FILE__, __LINE__))

[[noreturn]] inline void FuzzExpectationFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: expected %s\n", file, line, condition);
  std::abort();
}

inline std::string FuzzText(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// The name every target gives its sound section.
inline constexpr const char* kSoundSection = "Sound";

// `damaged`, then on a line of its own the first section of `saved` renamed kSoundSection.
inline std::string WithSoundSection(const std::string& damaged, const std::string& saved) {
  return damaged + "\r\n[" + kSoundSection + "]" + saved.substr(saved.find(']') + 1);
}

// Whether a section of that name comes before the sound one, which would then hide it.
inline bool HidesSoundSection(const std::vector<std::string>& sections) {
  return std::count_if(sections.begin(), sections.end(),
                       [](const std::string& name) { return SameText(name, kSoundSection); }) > 1;
}
