// TDialUp against the RAS substitute's engine: phonebook, stored account and whole dials.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialup/dialup.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_ui_loop.h"
#include "fakes/rassim_loader.h"
#include "fakes/temp_phonebook.h"
#include "rassim/rassim.h"

namespace {

using Names = std::vector<std::string>;

struct Step {
  int state;
  int error;
  std::string text;
  bool operator==(const Step&) const = default;
};

void PrintTo(const Step& step, std::ostream* out) {
  *out << "(" << step.state << ", " << step.error << ", \"" << step.text << "\")";
}

class DialUpRassimTest : public testing::Test {
 protected:
  DialUpRassimTest() {
    // The substitute lets go of a connection within milliseconds; this only keeps a fault
    // from hanging.
    clock.SetAutoAdvance(1);
    dialup.emplace(ras, ui, clock);
    dialup->OnAsyncEvent = [this](TDialUp&, int state, int error, const std::string& text) {
      steps.push_back({state, error, text});
      if (on_step) {
        on_step(steps.back());
      }
    };
  }

  // Runs the UI until the dial has connected or failed.
  bool RunDial() {
    return ui.RunUntil([&] {
      return !steps.empty() && (steps.back().state == kRasConnected || steps.back().error != 0);
    });
  }

  std::string RasText(unsigned code) {
    char text[512] = {};
    ras.RasGetErrorStringA(code, text, sizeof text);
    return text;
  }

  uint32_t Status(RasHandle handle) {
    TRasConnStatusA status{};
    status.dwSize = kRasConnStatusSize;
    return ras.RasGetConnectStatusA(handle, &status);
  }

  // Outlives the component, whose dial workers it waits for.
  TempPhonebook phonebook{""};
  RassimLoader loader;
  RasApi ras{loader};
  FakeClock clock;
  FakeUiLoop ui{clock};
  std::optional<TDialUp> dialup;
  std::vector<Step> steps;
  std::function<void(const Step&)> on_step;
};

TEST_F(DialUpRassimTest, EveryEntryComesInPhonebookOrder) {
  phonebook.Write("[Zeta]\nPhoneNumber=1\n[Alpha]\nPhoneNumber=2\n[Mid]\nPhoneNumber=3\n");
  Names announced;
  dialup->OnEntryGet = [&](TDialUp&, const char* name) { announced.push_back(name); };
  EXPECT_EQ(0, dialup->GetEntries());
  EXPECT_EQ((Names{"Zeta", "Alpha", "Mid"}), dialup->Entries());
  EXPECT_EQ(dialup->Entries(), announced);

  // More than a first guess of a hundred holds.
  std::string many;
  Names expected;
  for (int i = 0; i < 130; ++i) {
    expected.push_back("Entry " + std::to_string(i));
    many += "[" + expected.back() + "]\nPhoneNumber=" + std::to_string(i) + "\n";
  }
  phonebook.Write(many);
  announced.clear();
  EXPECT_EQ(0, dialup->GetEntries());
  EXPECT_EQ(expected, dialup->Entries());
  EXPECT_EQ(expected, announced);
}

// RAS hands out a handle for a saved password, never the password: a change of the user
// name gives the handle back, which keeps the password saved.
TEST_F(DialUpRassimTest, StoredAccountRoundTrip) {
  phonebook.Write("[Provider]\nUserName=alice\nPassword=pw\nPasswordStored=1\n");
  std::string value;
  dialup->Entry = "Provider";
  EXPECT_EQ(0, dialup->GetEntryUserName(value));
  EXPECT_EQ("alice", value);
  EXPECT_EQ(0, dialup->SaveAccount("carol", ""));
  EXPECT_NE(phonebook.Read().find("Password=pw\r\n"), std::string::npos) << phonebook.Read();
  EXPECT_EQ(0, dialup->SaveAccount("", "new-pw"));
  EXPECT_EQ(0, dialup->GetEntryUserName(value));
  EXPECT_EQ("carol", value);
  EXPECT_NE(phonebook.Read().find("Password=new-pw\r\n"), std::string::npos) << phonebook.Read();

  dialup->Entry = "Missing";
  value = "untouched";
  EXPECT_EQ(623, dialup->GetEntryUserName(value));
  EXPECT_EQ("untouched", value);
}

// The dial takes the saved password's handle from RAS and hands it back: RAS authenticates
// with the password it stands for; a typed password goes as typed.
TEST_F(DialUpRassimTest, ADialWithTheSavedPasswordsHandleAuthenticatesWithThePassword) {
  phonebook.Write("[Provider]\nPassword=pw\nAcceptPassword=pw\nStepDelayMs=0\n");
  dialup->Entry = "Provider";
  dialup->DialMode = dmSync;
  EXPECT_EQ(0, dialup->Dial());
  dialup->Pwd = "wrong";
  EXPECT_EQ(static_cast<int>(kRasAuthenticationFailure), dialup->Dial());
  dialup->Pwd = "pw";
  EXPECT_EQ(0, dialup->Dial());
}

TEST_F(DialUpRassimTest, AsyncDialReportsEveryStepInOrderUntilConnected) {
  phonebook.Write("[Provider]\nOutcome=connect\nStepDelayMs=0\n");
  dialup->Entry = "Provider";
  ASSERT_EQ(0, dialup->Dial());
  ASSERT_TRUE(RunDial());

  EXPECT_EQ((Step{0, 0, "Opening port"}), steps.front());
  EXPECT_EQ((Step{8192, 0, "Connected"}), steps.back());
  for (size_t i = 1; i < steps.size(); ++i) {
    EXPECT_LT(steps[i - 1].state, steps[i].state) << "step " << i;
    EXPECT_EQ(0, steps[i].error) << "step " << i;
  }
  const RasHandle connection = dialup->ConnectionHandle();
  EXPECT_EQ(0u, Status(connection));

  EXPECT_EQ(0, dialup->HangUp());
  EXPECT_EQ(6u, Status(connection));
  EXPECT_EQ(connection, dialup->ConnectionHandle());
}

TEST_F(DialUpRassimTest, ConnectionGoneOnceTheLineIsHungUp) {
  phonebook.Write("[Provider]\nOutcome=connect\nStepDelayMs=0\n");
  dialup->Entry = "Provider";
  std::vector<bool> gone_while_dialing;
  on_step = [&](const Step& step) {
    if (step.state != kRasConnected) {
      gone_while_dialing.push_back(dialup->ConnectionGone());
    }
  };
  ASSERT_EQ(0, dialup->Dial());
  ASSERT_TRUE(RunDial());
  ASSERT_EQ(kRasConnected, steps.back().state);
  EXPECT_FALSE(gone_while_dialing.empty());
  EXPECT_EQ(std::vector<bool>(gone_while_dialing.size(), false), gone_while_dialing);
  EXPECT_FALSE(dialup->ConnectionGone());

  EXPECT_EQ(0, dialup->HangUp());
  EXPECT_TRUE(dialup->ConnectionGone());
}

TEST_F(DialUpRassimTest, ARefusalsHandleIsLetGoAndALineShownDisconnectedIsGone) {
  phonebook.Write(
      "[Held]\nOutcome=refuse\nRefuseWithHandle=1\n"
      "[Lingers]\nStepDelayMs=0\nDropLingerMs=60000\n");
  std::optional<int> refused;
  dialup->OnError = [&](TDialUp&, int code, const std::string&) { refused = code; };
  dialup->Entry = "Held";
  EXPECT_EQ(633, dialup->Dial());
  EXPECT_EQ(633, refused);
  ASSERT_NE(nullptr, dialup->ConnectionHandle());
  // The port the refused dial held is free again.
  EXPECT_EQ(kRasInvalidHandle, Status(dialup->ConnectionHandle()));

  dialup->Entry = "Lingers";
  ASSERT_EQ(0, dialup->Dial());
  ASSERT_TRUE(RunDial());
  EXPECT_FALSE(dialup->ConnectionGone());
  rassim::Drop("Lingers");
  EXPECT_EQ(kRasSuccess, Status(dialup->ConnectionHandle()));
  EXPECT_TRUE(dialup->ConnectionGone());
}

TEST_F(DialUpRassimTest, FailedDialEndsWithRasText) {
  phonebook.Write(
      "[Busy]\nOutcome=busy\nStepDelayMs=0\n[Silent]\nOutcome=noanswer\nStepDelayMs=0\n"
      "[Refused]\nOutcome=badaccount\nStepDelayMs=0\n");
  dialup->Language = Czech;
  for (auto [entry, error] :
       {std::pair{"Busy", 676}, std::pair{"Silent", 678}, std::pair{"Refused", 691}}) {
    steps.clear();
    dialup->Entry = entry;
    ASSERT_EQ(0, dialup->Dial());
    ASSERT_TRUE(RunDial());
    EXPECT_EQ(error, steps.back().error);
    EXPECT_NE("", steps.back().text);
    EXPECT_EQ(RasText(error), steps.back().text);
  }
}

TEST_F(DialUpRassimTest, HangUpDuringTheDialEndsItWith631) {
  phonebook.Write("[Provider]\nOutcome=connect\nStepDelayMs=1\n");
  dialup->Entry = "Provider";
  std::optional<int> hang_up_result;
  // As the main form does: hang up from inside a notification.
  on_step = [&](const Step& step) {
    if (step.state == kRasConnectDevice && step.error == 0) {
      hang_up_result = dialup->HangUp();
    }
  };
  ASSERT_EQ(0, dialup->Dial());
  ASSERT_TRUE(RunDial());
  EXPECT_EQ(0, hang_up_result);
  // The RAS thread may have reached the next step before the hang-up: the final
  // notification carries whichever step the dial was in.
  EXPECT_EQ(631, steps.back().error);
  EXPECT_EQ(RasText(631), steps.back().text);
  EXPECT_LE(steps.back().state, static_cast<int>(kRasDeviceConnected));
  for (const auto& step : steps)
    EXPECT_NE(static_cast<int>(kRasConnected), step.state);
}

}  // namespace
