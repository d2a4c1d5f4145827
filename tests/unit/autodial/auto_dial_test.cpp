// The companion's request and wait on fake time, and its reading of RAS through the
// substitute's engine.
#include "autodial/auto_dial.h"

#include <gtest/gtest.h>

#include <vector>

#include "dialup/ras_fields.h"
#include "fakes/rassim_loader.h"
#include "fakes/temp_phonebook.h"
#include "rassim/rassim.h"

namespace {

class FakeHost : public CompanionHost {
 public:
  Reply SendDialRequest(const std::string& entry) override {
    sent.push_back(entry);
    if (!running)
      return Reply::NoProgram;
    return entry == known ? reply : Reply::Refused;
  }
  bool StartProgram() override {
    ++starts;
    return can_start;
  }
  bool EntryConnected(const std::string& entry) override {
    return entry == known && connected_at_ms && now >= connected_at_ms;
  }
  uint64_t NowMs() override { return now; }
  void Wait(unsigned ms) override {
    now += ms;
    if (starts && now >= window_at_ms)
      running = true;
  }

  std::string known = "Office";
  Reply reply = Reply::Taken;  // the program's answer for the known entry
  bool running = true;
  bool can_start = true;
  uint64_t window_at_ms = 0;     // when a started program shows its window
  uint64_t connected_at_ms = 0;  // 0: never
  uint64_t now = 5000;
  int starts = 0;
  std::vector<std::string> sent;
};

TEST(AutoDial, TheProgramIsAskedByNameAndRasSaysWhenTheEntryIsConnected) {
  FakeHost host;
  host.connected_at_ms = 5000 + 3000;
  const AutoDialAnswer answer = HandleAutoDial(host, "Office");
  EXPECT_TRUE(answer.handled);
  EXPECT_EQ(answer.code, 0u);
  EXPECT_EQ(host.sent, std::vector<std::string>{"Office"});
  EXPECT_EQ(host.starts, 0);
  EXPECT_EQ(host.now, 8000u);

  // Never connected: handled, with the time-out code, once the two minutes are up.
  FakeHost slow;
  const AutoDialAnswer late = HandleAutoDial(slow, "Office");
  EXPECT_TRUE(late.handled);
  EXPECT_EQ(late.code, kAutoDialTimedOut);
  EXPECT_GE(slow.now, 5000 + kAutoDialLimitMs);
  EXPECT_LT(slow.now, 5000 + kAutoDialLimitMs + kAutoDialPollMs);
}

TEST(AutoDial, AProgramNotRunningIsStartedAndAskedOnceItsWindowExists) {
  FakeHost host;
  host.running = false;
  host.window_at_ms = 5000 + 4000;
  host.connected_at_ms = 5000 + 9000;
  const AutoDialAnswer answer = HandleAutoDial(host, "Office");
  EXPECT_TRUE(answer.handled);
  EXPECT_EQ(answer.code, 0u);
  EXPECT_EQ(host.starts, 1);
  EXPECT_EQ(host.sent.size(), 1u + 4000 / kAutoDialPollMs);

  // A window that never comes: the system dials itself once the time is up.
  FakeHost silent;
  silent.running = false;
  silent.window_at_ms = UINT64_MAX;
  EXPECT_FALSE(HandleAutoDial(silent, "Office").handled);
  EXPECT_GE(silent.now, 5000 + kAutoDialLimitMs);
}

TEST(AutoDial, RefusalsLeaveTheDialToTheSystemAndOtherAnswersComeAtOnce) {
  FakeHost unknown;
  EXPECT_FALSE(HandleAutoDial(unknown, "Elsewhere").handled);
  EXPECT_FALSE(HandleAutoDial(unknown, "").handled);
  FakeHost no_start;
  no_start.running = false;
  no_start.can_start = false;
  EXPECT_FALSE(HandleAutoDial(no_start, "Office").handled);
  for (const FakeHost* host : {&unknown, &no_start})
    EXPECT_EQ(host->now, 5000u);

  // Online already, or declined: answered at once, the second with the code that keeps
  // the system from dialing past the program.
  FakeHost online, declined;
  online.reply = CompanionHost::Reply::Online;
  declined.reply = CompanionHost::Reply::Declined;
  const AutoDialAnswer up = HandleAutoDial(online, "Office");
  const AutoDialAnswer no = HandleAutoDial(declined, "Office");
  EXPECT_TRUE(up.handled && no.handled);
  EXPECT_EQ(up.code, 0u);
  EXPECT_EQ(no.code, kAutoDialCancelled);
  EXPECT_EQ(online.now + declined.now, 10000u);
}

TEST(AutoDial, RasShowsTheEntryConnectedOnlyOnceItsDialHasConnected) {
  TempPhonebook phonebook("[Office]\nStepDelayMs=0\n[Home]\nStepDelayMs=0\n");
  RassimLoader loader;
  RasApi ras(loader);
  EXPECT_FALSE(RasEntryConnected(ras, "Office"));

  // Six lines of another entry overflow the first buffer.
  for (int i = 0; i < 6; ++i) {
    TRasDialParams params{};
    params.dwSize = kRasDialParamsSize;
    CopyField(params.szEntryName, "Home");
    RasHandle handle = nullptr;
    ASSERT_EQ(ras.RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle), kRasSuccess);
  }
  EXPECT_FALSE(RasEntryConnected(ras, "Office"));
  TRasDialParams params{};
  params.dwSize = kRasDialParamsSize;
  CopyField(params.szEntryName, "Office");
  RasHandle office = nullptr;
  ASSERT_EQ(ras.RasDialA(nullptr, nullptr, &params, 0, nullptr, &office), kRasSuccess);
  EXPECT_TRUE(RasEntryConnected(ras, "Office"));
  EXPECT_FALSE(RasEntryConnected(ras, "office"));
  ras.RasHangUpA(office);
  EXPECT_FALSE(RasEntryConnected(ras, "Office"));
  rassim::Shutdown();
}

}  // namespace
