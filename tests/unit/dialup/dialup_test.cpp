// TDialUp against a scripted RAS: records, dial paths, hang-up and the notification hand-over.
#include "dialup/dialup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <chrono>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_ras.h"
#include "fakes/fake_ui_loop.h"

namespace {

using Names = std::vector<std::string>;
using Error = std::pair<int, std::string>;

RasHandle const kHandle = reinterpret_cast<RasHandle>(0x1234);
RasHandle const kOtherHandle = reinterpret_cast<RasHandle>(0x5678);

// A field's text without trusting it to be terminated.
template <size_t N>
std::string Text(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

class DialUpTest : public testing::Test {
 protected:
  DialUpTest() { dialup.emplace(ras, ui, clock); }

  // Every entry stores this account; the password is flagged as stored or not.
  void StoreAccount(bool password_stored) {
    fake.GetEntryDialParams = [=](const char*, TRasDialParams* params, int32_t* stored) {
      std::strcpy(params->szUserName, "stored-user");
      std::strcpy(params->szPassword, "stored-pw");
      std::strcpy(params->szDomain, "STORED");
      std::strcpy(params->szPhoneNumber, "555-0100");
      *stored = password_stored;
      return kRasSuccess;
    };
  }

  // RAS accepts every dial under kHandle and hands its notifier to `notifier`.
  void AcceptDials(RasDialFunc& notifier) {
    StoreAccount(true);
    fake.Dial = [&](void*, const char*, TRasDialParams*, uint32_t, void* callback,
                    RasHandle* handle) {
      notifier = reinterpret_cast<RasDialFunc>(callback);
      *handle = kHandle;
      return kRasSuccess;
    };
  }

  FakeRas fake;
  RasApi ras{fake};
  FakeClock clock;
  FakeUiLoop ui{clock};
  std::optional<TDialUp> dialup;
};

TEST_F(DialUpTest, DialOnAnUnreadableEntryDialsNothing) {
  for (TDialMode mode : {dmAsync, dmSync}) {
    bool dialing = false;
    bool dialed = false;
    std::vector<Error> errors;
    dialup->DialMode = mode;
    dialup->OnDialing = [&](TDialUp&) { dialing = true; };
    dialup->OnError = [&](TDialUp&, int code, const std::string& text) {
      errors.emplace_back(code, text);
    };
    fake.Dial = [&](auto...) {
      dialed = true;
      return kRasSuccess;
    };
    EXPECT_EQ(623, dialup->Dial());
    EXPECT_EQ((std::vector<Error>{{623, "GetEntryDialParams failed"}}), errors);
    EXPECT_FALSE(dialing);
    EXPECT_FALSE(dialed);
  }
}

TEST_F(DialUpTest, DialUsesTheStoredAccountUnlessOverridden) {
  StoreAccount(true);
  TRasDialParams dialed{};
  std::vector<RasHandle> hung_up;
  bool dialing_raised = false;
  fake.HangUp = [&](RasHandle handle) {
    hung_up.push_back(handle);
    return kRasInvalidHandle;
  };
  fake.Dial = [&](void* extensions, const char* phonebook, TRasDialParams* params,
                  uint32_t notifier_type, void* notifier, RasHandle* handle) {
    EXPECT_TRUE(dialing_raised);
    EXPECT_EQ(nullptr, extensions);
    EXPECT_EQ(nullptr, phonebook);
    EXPECT_EQ(0u, notifier_type);
    EXPECT_NE(nullptr, notifier);
    EXPECT_EQ(nullptr, *handle);
    dialed = *params;
    *handle = kHandle;
    return kRasSuccess;
  };
  dialup->OnDialing = [&](TDialUp&) { dialing_raised = true; };
  dialup->Entry = "Provider";

  ASSERT_EQ(0, dialup->Dial());
  EXPECT_EQ(kRasDialParamsSize, dialed.dwSize);
  EXPECT_EQ("Provider", Text(dialed.szEntryName));
  EXPECT_EQ("stored-user", Text(dialed.szUserName));
  EXPECT_EQ("stored-pw", Text(dialed.szPassword));
  EXPECT_EQ("STORED", Text(dialed.szDomain));
  EXPECT_EQ("555-0100", Text(dialed.szPhoneNumber));
  EXPECT_EQ(kHandle, dialup->ConnectionHandle());

  dialup->Pwd = "secret";
  dialup->Domain = "A-DOMAIN-LONGER-THAN-ITS-FIELD";
  dialup->PhoneNumber = "0800";
  ASSERT_EQ(0, dialup->Dial());
  EXPECT_EQ("stored-user", Text(dialed.szUserName));
  EXPECT_EQ("secret", Text(dialed.szPassword));
  EXPECT_EQ("A-DOMAIN-LONGER", Text(dialed.szDomain));
  EXPECT_EQ("0800", Text(dialed.szPhoneNumber));
  // Each dial first hangs up what the previous one left.
  EXPECT_EQ((std::vector<RasHandle>{nullptr, kHandle}), hung_up);
}

TEST_F(DialUpTest, BlockingAndRefusedDialsReportTheirOutcome) {
  StoreAccount(true);
  std::vector<std::string> events;
  std::vector<RasHandle> hung_up;
  dialup->OnConnect = [&](TDialUp&) { events.push_back("connect"); };
  dialup->OnNotConnected = [&](TDialUp&, int code, const std::string& text) {
    events.push_back("not connected " + std::to_string(code) + " " + text);
  };
  dialup->OnError = [&](TDialUp&, int code, const std::string& text) {
    events.push_back("error " + std::to_string(code) + " " + text);
  };
  fake.HangUp = [&](RasHandle handle) {
    hung_up.push_back(handle);
    return handle == nullptr ? kRasInvalidHandle : kRasSuccess;
  };
  const auto dial_answers = [&](uint32_t code, RasHandle handle) {
    fake.Dial = [this, code, handle](void*, const char*, TRasDialParams*, uint32_t, void* notifier,
                                     RasHandle* out) {
      EXPECT_EQ(dialup->DialMode == dmAsync, notifier != nullptr);
      *out = handle;
      return code;
    };
  };

  dialup->DialMode = dmSync;
  dial_answers(kRasSuccess, kHandle);
  EXPECT_EQ(0, dialup->Dial());
  dial_answers(kRasLineBusy, kOtherHandle);
  EXPECT_EQ(676, dialup->Dial());
  EXPECT_EQ(kOtherHandle, hung_up.back());

  dialup->DialMode = dmAsync;
  dial_answers(kRasPortNotAvailable, kHandle);
  EXPECT_EQ(633, dialup->Dial());
  EXPECT_EQ(kHandle, dialup->ConnectionHandle());

  EXPECT_EQ((Names{"connect", "not connected 676 RAS error 676", "error 633 RAS error 633"}),
            events);
}

TEST_F(DialUpTest, EntriesComeInRasOrderAndWithinTheirFields) {
  const std::string unterminated(kRasMaxEntryName + 1, 'x');
  uint32_t count = 3;
  uint32_t level = 0;  // the newest entry-name size this RAS knows
  fake.EnumEntries = [&](const char*, const char*, TRasEntryName* entries, uint32_t* cb,
                         uint32_t* found) {
    if (entries[0].dwSize != level)
      return kRasInvalidSize;
    EXPECT_EQ(100 * level, *cb);
    TRasEntryName records[3] = {};
    std::strcpy(records[0].szEntryName, "Zulu");
    std::strcpy(records[1].szEntryName, "Alpha");
    // The last record is filled to its end, padding too, with no NUL at all.
    std::memset(&records[2], 'x', level);
    for (int i = 0; i < 3; ++i)
      std::memcpy(reinterpret_cast<char*>(entries) + i * level, &records[i], level);
    *found = count;
    return kRasSuccess;
  };
  // At 5.00, and at 4.00 from a RAS older than that.
  for (const uint32_t size : {kRasEntryNameSize, kRasEntryName400Size}) {
    level = size;
    count = 3;
    Names announced;
    dialup->OnEntryGet = [&](TDialUp& sender, const char* name) {
      EXPECT_EQ(&*dialup, &sender);
      announced.push_back(name);
    };
    EXPECT_EQ(0, dialup->GetEntries());
    EXPECT_EQ((Names{"Zulu", "Alpha", unterminated}), dialup->Entries()) << size;
    EXPECT_EQ(dialup->Entries(), announced);

    // A count past the buffer is not believed.
    count = 250;
    EXPECT_EQ(0, dialup->GetEntries());
    EXPECT_EQ(100u, dialup->Entries().size());
  }
}

TEST_F(DialUpTest, ABufferTooSmallIsOfferedAgainAtTheSizeRasReports) {
  // The phonebook's size at each call, the last one staying.
  std::vector<uint32_t> sizes;
  std::vector<uint32_t> offered;
  fake.EnumEntries = [&](const char*, const char*, TRasEntryName* records, uint32_t* cb,
                         uint32_t* count) {
    EXPECT_EQ(kRasEntryNameSize, records[0].dwSize);
    const uint32_t entries = sizes[std::min(offered.size(), sizes.size() - 1)];
    offered.push_back(*cb);
    const bool fits = *cb >= entries * kRasEntryNameSize;
    *cb = entries * kRasEntryNameSize;
    *count = entries;
    if (!fits) {
      return kRasBufferTooSmall;
    }
    for (uint32_t i = 0; i < entries; ++i) {
      std::snprintf(records[i].szEntryName, sizeof records[i].szEntryName, "E%u", i);
    }
    return kRasSuccess;
  };

  sizes = {120, 125};
  EXPECT_EQ(0, dialup->GetEntries());
  EXPECT_EQ((std::vector<uint32_t>{100 * 532, 120 * 532, 125 * 532}), offered);
  ASSERT_EQ(125u, dialup->Entries().size());
  EXPECT_EQ("E0", dialup->Entries().front());
  EXPECT_EQ("E124", dialup->Entries().back());

  // A phonebook that keeps growing is not chased for ever.
  sizes = {101, 102, 103, 104};
  offered.clear();
  EXPECT_EQ(603, dialup->GetEntries());
  EXPECT_EQ(3u, offered.size());
  EXPECT_EQ(Names{}, dialup->Entries());
}

TEST_F(DialUpTest, ConnectionGoneOnlyWhenRasDoesNotKnowTheHandle) {
  RasDialFunc notify = nullptr;
  AcceptDials(notify);
  ASSERT_EQ(0, dialup->Dial());
  uint32_t answer = kRasSuccess;
  fake.GetConnectStatus = [&](RasHandle handle, TRasConnStatusA* status) {
    EXPECT_EQ(kHandle, handle);
    EXPECT_EQ(kRasConnStatusSize, status->dwSize);
    return answer;
  };
  EXPECT_FALSE(dialup->ConnectionGone());
  answer = kRasInvalidSize;
  EXPECT_FALSE(dialup->ConnectionGone());
  answer = kRasInvalidHandle;
  EXPECT_TRUE(dialup->ConnectionGone());
}

// The record goes back as RAS gave it, with only the account changed, and only when the
// account differs: a dial never stores an empty password RAS would keep as the password.
TEST_F(DialUpTest, TheAccountIsWrittenOnlyWhereItDiffersFromRas) {
  std::vector<std::pair<TRasDialParams, int32_t>> writes;
  fake.SetEntryDialParams = [&](const char*, TRasDialParams* params, int32_t remove_password) {
    writes.emplace_back(*params, remove_password);
    return kRasSuccess;
  };
  dialup->Entry = "Provider";
  StoreAccount(true);
  EXPECT_EQ(0, dialup->SaveAccount("stored-user", ""));
  EXPECT_EQ(0, dialup->SaveAccount("", ""));
  EXPECT_TRUE(writes.empty());

  EXPECT_EQ(0, dialup->SaveAccount("new-user", ""));
  ASSERT_EQ(1u, writes.size());
  EXPECT_EQ("Provider", Text(writes[0].first.szEntryName));
  EXPECT_EQ("new-user", Text(writes[0].first.szUserName));
  EXPECT_EQ("stored-pw", Text(writes[0].first.szPassword));  // the handle keeps it
  EXPECT_EQ("STORED", Text(writes[0].first.szDomain));
  EXPECT_EQ(0, writes[0].second);

  // No password saved: the new user name goes without one.
  StoreAccount(false);
  EXPECT_EQ(0, dialup->SaveAccount("new-user", ""));
  ASSERT_EQ(2u, writes.size());
  EXPECT_EQ(1, writes[1].second);

  // A typed password is the user's to save, cut to the field.
  EXPECT_EQ(0, dialup->SaveAccount("", std::string(300, 'p')));
  ASSERT_EQ(3u, writes.size());
  EXPECT_EQ("stored-user", Text(writes[2].first.szUserName));
  EXPECT_EQ(std::string(kRasMaxPassword, 'p'), Text(writes[2].first.szPassword));
  EXPECT_EQ(0, writes[2].second);

  fake.GetEntryDialParams = [](auto...) { return kRasCannotFindEntry; };
  EXPECT_EQ(static_cast<int>(kRasCannotFindEntry), dialup->SaveAccount("x", "y"));
  EXPECT_EQ(3u, writes.size());
}

TEST_F(DialUpTest, EntryDialogsAreParentedToTheOwnerWindow) {
  int window = 0;
  dialup->OwnerWindow = &window;
  dialup->Entry = "Provider";
  Names calls;
  fake.CreatePhonebookEntry = [&](void* parent, const char*) {
    EXPECT_EQ(&window, parent);
    calls.push_back("create");
    return kRasSuccess;
  };
  fake.EditPhonebookEntry = [&](void* parent, const char*, const char* entry) {
    EXPECT_EQ(&window, parent);
    calls.push_back(std::string("edit ") + entry);
    return kRasSuccess;
  };
  fake.DeleteEntry = [&](const char*, const char* entry) {
    calls.push_back(std::string("delete ") + entry);
    return kRasSuccess;
  };
  dialup->CreateEntry();
  dialup->EditEntry();
  dialup->DeleteEntry();
  EXPECT_EQ((Names{"create", "edit Provider", "delete Provider"}), calls);
}

TEST_F(DialUpTest, HangUpWaitsUntilRasForgetsTheConnectionButNotForEver) {
  int polls = 0;
  int polls_until_gone = 3;
  fake.GetConnectStatus = [&](RasHandle handle, TRasConnStatusA* status) {
    EXPECT_EQ(kHandle, handle);
    EXPECT_EQ(160u, status->dwSize);
    return ++polls > polls_until_gone ? kRasInvalidHandle : kRasSuccess;
  };
  EXPECT_EQ(6, dialup->HangUp());
  EXPECT_EQ(0, polls);

  fake.HangUp = [](auto...) { return kRasSuccess; };
  int ticks = 0;
  std::unique_ptr<UiTimer> timer = ui.CreateTimer();
  timer->SetInterval(1);
  timer->OnTimer = [&] { ++ticks; };
  timer->SetEnabled(true);
  clock.SetAutoAdvance(1);
  EXPECT_EQ(0, dialup->HangUpConnection(kHandle));
  EXPECT_EQ(4, polls);
  EXPECT_GT(ticks, 0);

  polls_until_gone = 1 << 30;
  clock.SetAutoAdvance(100);
  const uint64_t start = clock.Now();
  EXPECT_EQ(kHangUpTimedOut, dialup->HangUpConnection(kHandle));
  EXPECT_GE(clock.Now() - start, 10000u);
  EXPECT_LT(clock.Now() - start, 10300u);

  // RAS takes its time to let go; the wait must leave the processor to it, not spin.
  clock.SetAutoAdvance(0);
  polls = 0;
  const auto released = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
  fake.GetConnectStatus = [&](RasHandle, TRasConnStatusA*) {
    ++polls;
    return std::chrono::steady_clock::now() >= released ? kRasInvalidHandle : kRasSuccess;
  };
  EXPECT_EQ(0, dialup->HangUpConnection(kHandle));
  EXPECT_LT(polls, 60);
}

TEST_F(DialUpTest, StatusTextPrefersRasErrorText) {
  dialup->Language = Czech;
  EXPECT_EQ("Spojeno", dialup->StatusText(8192, 0));
  EXPECT_EQ("RAS error 678", dialup->StatusText(8192, 678));
  EXPECT_EQ("", dialup->StatusText(30, 0));
  fake.GetErrorString = [](unsigned, char* buffer, uint32_t size) {
    std::memset(buffer, 'e', size);
    return kRasSuccess;
  };
  EXPECT_EQ(std::string(512, 'e'), dialup->StatusText(0, 678));
  // A text RAS cannot give (too long, unknown) leaves the code.
  fake.GetErrorString = [](unsigned, char* buffer, uint32_t) {
    buffer[0] = '\0';
    return 122u;
  };
  EXPECT_EQ("RAS error 691", dialup->StatusText(5, 691));
}

TEST_F(DialUpTest, BurstOfNotificationsArrivesInOrderOneAtATimeOnTheUiThread) {
  RasDialFunc notify = nullptr;
  AcceptDials(notify);
  constexpr int kSteps = 2000;
  std::vector<int> states;
  std::atomic<bool> in_handler = false;
  std::atomic<bool> overlapped = false;
  std::atomic<bool> off_ui_thread = false;
  dialup->OnAsyncEvent = [&](TDialUp&, int state, int error, const std::string& text) {
    if (in_handler.exchange(true)) {
      overlapped = true;
    }
    if (!ui.OnUiThread()) {
      off_ui_thread = true;
    }
    states.push_back(state);
    EXPECT_EQ(error == 0 ? "" : "RAS error 1", text);
    ui.ProcessMessages();  // handlers pump messages; the next step must still wait
    in_handler = false;
  };
  ASSERT_EQ(0, dialup->Dial());
  ASSERT_NE(nullptr, notify);

  std::thread ras_thread([&] {
    for (int i = 0; i < kSteps; ++i) {
      notify(kWmRasDialEvent, 100 + i, i % 2);
    }
  });
  const bool all_arrived = ui.RunUntil([&] { return states.size() == kSteps; });
  if (!all_arrived) {
    dialup.reset();  // releases the RAS thread
  }
  ras_thread.join();
  ASSERT_TRUE(all_arrived) << states.size() << " of " << kSteps;
  std::vector<int> expected(kSteps);
  std::iota(expected.begin(), expected.end(), 100);
  EXPECT_EQ(expected, states);
  EXPECT_FALSE(overlapped);
  EXPECT_FALSE(off_ui_thread);
}

TEST_F(DialUpTest, NotificationsForADestroyedComponentAreDropped) {
  RasDialFunc notify = nullptr;
  AcceptDials(notify);
  int delivered = 0;
  dialup->OnAsyncEvent = [&](TDialUp&, int, int, const std::string&) { ++delivered; };
  ASSERT_EQ(0, dialup->Dial());

  // One step fills the slot; the next waits for it on the RAS thread.
  std::thread ras_thread([&] {
    notify(kWmRasDialEvent, 1, 0);
    notify(kWmRasDialEvent, 2, 0);
  });
  ASSERT_TRUE(ui.RunUntil([&] { return ui.EnabledTimers() == 1; }));
  dialup.reset();
  ras_thread.join();

  // A component that has not dialed is not told about another's dial.
  dialup.emplace(ras, ui, clock);
  dialup->OnAsyncEvent = [&](TDialUp&, int, int, const std::string&) { ++delivered; };
  notify(kWmRasDialEvent, 3, 0);
  EXPECT_EQ(0, ui.EnabledTimers());
  EXPECT_EQ(0, delivered);
}

}  // namespace

namespace {

TEST_F(DialUpTest, GetIPAddressesReadsBothAddressesWithinTheirFields) {
  int projection_calls = 0;
  fake.GetProjectionInfo = [&](RasHandle handle, uint32_t projection, void* info, uint32_t* cb) {
    ++projection_calls;
    EXPECT_EQ(handle, kHandle);
    EXPECT_EQ(projection, kRasProjectionPppIp);
    EXPECT_EQ(*cb, 40u);
    auto* ip = static_cast<TRasPppIp*>(info);
    EXPECT_EQ(ip->dwSize, 40u);
    std::strcpy(ip->szIpAddress, "127.0.0.2");
    std::memset(ip->szServerIpAddress, '7', sizeof(ip->szServerIpAddress));  // no NUL left
    return kRasSuccess;
  };
  EXPECT_EQ(dialup->GetIPAddresses(kHandle), 0);
  EXPECT_EQ(dialup->ClientIP(), "127.0.0.2");
  EXPECT_EQ(dialup->ServerIP(), std::string(16, '7'));

  // No handle: nothing asked, both cleared.
  EXPECT_EQ(dialup->GetIPAddresses(nullptr), 0);
  EXPECT_EQ(projection_calls, 1);
  EXPECT_EQ(dialup->ClientIP(), "");
  EXPECT_EQ(dialup->ServerIP(), "");

  // A failure clears them too and passes RAS's code on.
  fake.GetProjectionInfo = [](RasHandle, uint32_t, void*, uint32_t*) { return 730u; };
  dialup->GetIPAddresses(kHandle);
  EXPECT_EQ(dialup->GetIPAddresses(kHandle), 730);
  EXPECT_EQ(dialup->ServerIP(), "");
}

}  // namespace
