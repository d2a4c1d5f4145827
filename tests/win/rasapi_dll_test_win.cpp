// The RAS substitute DLL, loaded and bound exactly as the program does, driven through
// TDialUp on real window timers.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "dialup/dialup.h"
#include "driver.h"
#include "platform/win_ports.h"

namespace {

struct Event {
  int State;
  int Error;
  std::string Text;
};

class RasDll : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    phonebook_ = std::string(temp) + "rasapi-dll-test.pbk";
    _putenv(("RASSIM_PHONEBOOK=" + phonebook_).c_str());
    dialup_.OnAsyncEvent = [this](TDialUp&, int state, int error, const std::string& text) {
      events_.push_back({state, error, text});
    };
  }

  void TearDown() override {
    dialup_.HangUp();
    DeleteFileA(phonebook_.c_str());
    _putenv("RASSIM_PHONEBOOK=");
  }

  void WritePhonebook(const std::string& text) { std::ofstream(phonebook_) << text; }

  // Pumps this thread's messages until `done` holds or the time is up.
  bool Pump(const std::function<bool()>& done) {
    return WaitUntil([&] {
      ui_->ProcessMessages();
      return done();
    });
  }

  bool Gone(RasHandle handle) {
    TRasConnStatusA status{};
    status.dwSize = kRasConnStatusSize;
    return ras_.RasGetConnectStatusA(handle, &status) == kRasInvalidHandle;
  }

  std::string phonebook_;
  std::unique_ptr<LibraryLoader> loader_ = MakeWinLibraryLoader();
  RasApi ras_{*loader_};
  std::unique_ptr<UiLoop> ui_ = MakeWinUiLoop();
  std::unique_ptr<Clock> clock_ = MakeWinClock();
  std::unique_ptr<Registry> registry_ = MakeWinRegistry();
  std::unique_ptr<System> system_ = MakeWinSystem();
  TDialUp dialup_{ras_, *ui_, *clock_, {registry_.get(), system_->PlatformFamily()}};
  std::vector<Event> events_;
};

TEST_F(RasDll, EnumeratesThePhonebookFileInFileOrder) {
  WritePhonebook("[Zulu]\nPhoneNumber=1\n[Alpha]\nPhoneNumber=2\n[Mike]\nPhoneNumber=3\n");
  ASSERT_EQ(dialup_.GetEntries(), 0);
  EXPECT_EQ(dialup_.Entries(), (std::vector<std::string>{"Zulu", "Alpha", "Mike"}));
}

TEST_F(RasDll, AnEntryThatConnectsReportsEveryStepThenConnected) {
  WritePhonebook("[Good]\nOutcome=connect\nStepDelayMs=10\nServerIP=127.9.8.7\n");
  dialup_.Entry = "Good";
  ASSERT_EQ(dialup_.Dial(), 0);
  ASSERT_TRUE(Pump([&] { return !events_.empty() && events_.back().State == kRasConnected; }));
  std::vector<int> states;
  for (const auto& e : events_) {
    EXPECT_EQ(e.Error, 0);
    states.push_back(e.State);
  }
  EXPECT_EQ(states, (std::vector<int>{0, 1, 2, 3, 4, 5, 14, 8192}));
  EXPECT_EQ(events_.back().Text, "Connected");
  EXPECT_FALSE(Gone(dialup_.ConnectionHandle()));
  EXPECT_EQ(dialup_.HangUp(), 0);
  EXPECT_TRUE(Gone(dialup_.ConnectionHandle()));
}

TEST_F(RasDll, StatisticsOfALiveLineGrowWithItsTraffic) {
  WritePhonebook("[Good]\nStepDelayMs=10\nSendBps=100000\nRecvBps=200000\nLinkSpeed=33600\n");
  dialup_.Entry = "Good";
  dialup_.StartStatistics(true, true);
  ASSERT_EQ(dialup_.Dial(), 0);
  ASSERT_TRUE(Pump([&] { return !events_.empty() && events_.back().State == kRasConnected; }));
  ASSERT_TRUE(dialup_.GetStatistics());
  const int64_t sent = dialup_.BytesXmit();
  const int64_t received = dialup_.BytesRecv();
  EXPECT_EQ(dialup_.ConnectionSpeed(), 33600u);
  EXPECT_TRUE(WaitUntil([&] {
    return dialup_.GetStatistics() && dialup_.BytesXmit() > sent && dialup_.BytesRecv() > received;
  }));
  EXPECT_GT(dialup_.BytesRecv(), dialup_.BytesXmit());
}

TEST_F(RasDll, ABusyEntryEndsWithError676AndRassOwnText) {
  WritePhonebook("[Busy]\nOutcome=busy\nStepDelayMs=10\n");
  dialup_.Entry = "Busy";
  ASSERT_EQ(dialup_.Dial(), 0);
  ASSERT_TRUE(Pump([&] { return !events_.empty() && events_.back().Error != 0; }));
  EXPECT_EQ(events_.back().Error, 676);
  char text[100] = {};
  ras_.RasGetErrorStringA(676, text, sizeof(text));
  EXPECT_EQ(events_.back().Text, text);
  EXPECT_FALSE(events_.back().Text.empty());
}

TEST_F(RasDll, HangingUpDuringTheDialEndsItWith631) {
  WritePhonebook("[Slow]\nOutcome=connect\nStepDelayMs=400\n");
  dialup_.Entry = "Slow";
  ASSERT_EQ(dialup_.Dial(), 0);
  ASSERT_TRUE(Pump([&] { return !events_.empty(); }));
  EXPECT_EQ(dialup_.HangUp(), 0);
  EXPECT_TRUE(Gone(dialup_.ConnectionHandle()));
  ASSERT_TRUE(Pump([&] { return events_.back().Error != 0; }));
  EXPECT_EQ(events_.back().Error, 631);
  for (const auto& e : events_)
    EXPECT_NE(e.State, kRasConnected);
}

TEST_F(RasDll, AVanishedAttemptLeavesAnInvalidHandleAndNoFinalNotification) {
  WritePhonebook("[Ghost]\nOutcome=vanish\nStepDelayMs=10\n");
  dialup_.Entry = "Ghost";
  ASSERT_EQ(dialup_.Dial(), 0);
  const RasHandle handle = dialup_.ConnectionHandle();
  ASSERT_NE(handle, nullptr);
  ASSERT_TRUE(Pump([&] { return Gone(handle); }));
  const size_t seen = events_.size();
  // A late notification would come within a step's delay or two.
  EXPECT_TRUE(HoldsFor(
      [&] {
        ui_->ProcessMessages();
        return events_.size() == seen;
      },
      500));
  for (const auto& e : events_) {
    EXPECT_EQ(e.Error, 0);
    EXPECT_NE(e.State, kRasConnected);
  }
}

}  // namespace
