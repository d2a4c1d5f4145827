// Binding of the RAS entry points by name, with the fallbacks of old systems.
#include "dialup/ras_api.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_library_loader.h"

namespace {

using Names = std::vector<std::string>;

// Entry points that only say which export answered.
template <uint32_t kAnswer>
uint32_t RAS_CALL DeleteEntryAnswer(const char*, const char*) {
  return kAnswer;
}
template <uint32_t kAnswer>
uint32_t RAS_CALL HangUpAnswer(RasHandle) {
  return kAnswer;
}

// The message of the ERasError the call throws; "" when it throws none.
std::string BindingError(const std::function<void()>& call) {
  try {
    call();
  } catch (const ERasError& error) {
    return error.what();
  }
  return "";
}

TEST(RasApiBinding, PrefersTheASuffixAndLooksUpAgainOnEveryCall) {
  FakeLibraryLoader loader;
  loader.AddLibrary("rasapi32.dll");
  loader.Export("rasapi32.dll", "RasDeleteEntryA", &DeleteEntryAnswer<1>);
  loader.Export("rasapi32.dll", "RasDeleteEntry", &DeleteEntryAnswer<2>);
  loader.Export("rasapi32.dll", "RasHangUpAA", &HangUpAnswer<3>);
  loader.Export("rasapi32.dll", "RasHangUpA", &HangUpAnswer<4>);
  {
    RasApi ras(loader);
    EXPECT_EQ(1u, ras.RasDeleteEntry(nullptr, "Provider"));
    EXPECT_EQ(3u, ras.RasHangUpA(nullptr));

    loader.RemoveExport("rasapi32.dll", "RasDeleteEntryA");
    EXPECT_EQ(2u, ras.RasDeleteEntry(nullptr, "Provider"));
    loader.Export("rasapi32.dll", "RasDeleteEntryA", &DeleteEntryAnswer<5>);
    EXPECT_EQ(5u, ras.RasDeleteEntry(nullptr, "Provider"));
  }
  EXPECT_EQ(Names{"rasapi32.dll"}, loader.load_attempts);
  EXPECT_EQ(Names{}, loader.freed);
}

TEST(RasApiBinding, PassesArgumentsAndResultThrough) {
  FakeLibraryLoader loader;
  loader.AddLibrary("rasapi32.dll");
  loader.Export(
      "rasapi32.dll", "RasGetErrorStringA",
      +[](unsigned code, char* buffer, uint32_t size) -> uint32_t {
        std::snprintf(buffer, size, "code %u size %u", code, size);
        return code + 1;
      });
  RasApi ras(loader);
  char text[40] = {};
  EXPECT_EQ(679u, ras.RasGetErrorStringA(678, text, sizeof text));
  EXPECT_STREQ("code 678 size 40", text);
}

TEST(RasApiBinding, FallsBackToRnaphForGood) {
  FakeLibraryLoader loader;
  loader.AddLibrary("rasapi32.dll");
  loader.Export("rasapi32.dll", "RasDeleteEntry", &DeleteEntryAnswer<1>);
  loader.AddLibrary("rnaph.dll");
  loader.Export("rnaph.dll", "RasHangUpAA", &HangUpAnswer<2>);
  loader.Export("rnaph.dll", "RasHangUpA", &HangUpAnswer<3>);
  loader.Export("rnaph.dll", "RasDeleteEntryA", &DeleteEntryAnswer<4>);
  {
    RasApi ras(loader);
    EXPECT_EQ(3u, ras.RasHangUpA(nullptr));
    // rasapi32.dll's own export is not asked for any more, nor the "A" name.
    EXPECT_EQ("Function RasDeleteEntry not found!",
              BindingError([&] { ras.RasDeleteEntry(nullptr, "Provider"); }));
    loader.Export("rnaph.dll", "RasDeleteEntry", &DeleteEntryAnswer<5>);
    EXPECT_EQ(5u, ras.RasDeleteEntry(nullptr, "Provider"));
  }
  EXPECT_EQ((Names{"rasapi32.dll", "rnaph.dll"}), loader.load_attempts);
  EXPECT_EQ(Names{"rnaph.dll"}, loader.freed);
}

TEST(RasApiBinding, ReportsWhatCouldNotBeBound) {
  FakeLibraryLoader loader;
  RasApi ras(loader);
  const auto hang_up = [&] { ras.RasHangUpA(nullptr); };
  EXPECT_EQ("Error opening rasapi.dll", BindingError(hang_up));

  loader.AddLibrary("rasapi32.dll");
  EXPECT_EQ("Error opening rnaph.dll", BindingError(hang_up));

  loader.AddLibrary("rnaph.dll");
  EXPECT_EQ("Function RasHangUpA not found!", BindingError(hang_up));
}

}  // namespace
