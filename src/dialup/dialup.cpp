// The dial-up component: phonebook, stored account, dialing, hang-up and the hand-over of
// RAS notifications to the UI thread.
#include "dialup/dialup.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>

#include "dialup/ras_fields.h"
#include "platform/text.h"

namespace {

constexpr unsigned kNotificationIntervalMs = 1;
constexpr uint64_t kHangUpWaitMs = 10000;
// A first guess that fits most phonebooks in one call.
constexpr uint32_t kFirstGuessEntries = 100;
// The phonebook may grow between RAS reporting its size and the next call.
constexpr int kEnumAttempts = 3;
// RAS documents 512 characters as enough for any of its texts; some are longer than 100.
constexpr uint32_t kErrorTextSize = 512;
// Between looks at a hang-up under way, so that the wait leaves the processor to RAS.
constexpr auto kHangUpLookInterval = std::chrono::milliseconds(5);

// RAS calls the notifier without any context, so this is how it finds its component.
// The hand-over lock guards it together with every component's slot.
TDialUp* CurrentAsyncDialer = nullptr;
std::mutex handover_lock;
std::condition_variable slot_freed;

template <typename Event, typename... Args>
void Raise(const Event& event, Args&&... args) {
  if (event) {
    event(std::forward<Args>(args)...);
  }
}

// RAS answers 6 for a handle it no longer knows: only then has it let go of the port.
bool Released(RasApi& ras, RasHandle handle) {
  TRasConnStatusA status{};
  status.dwSize = kRasConnStatusSize;
  return ras.RasGetConnectStatusA(handle, &status) == kRasInvalidHandle;
}

// Asks for the entry names in records of `record_size`, again with the size RAS reports
// for as long as the buffer is too small, up to kEnumAttempts calls. On success `names`
// holds exactly the entries, each widened to the newest record.
uint32_t EnumEntries(RasApi& ras, uint32_t record_size, std::vector<TRasEntryName>& names) {
  uint32_t size = record_size * kFirstGuessEntries;
  for (int attempt = 1;; ++attempt) {
    std::vector<unsigned char> buffer(std::max(size, record_size) / record_size * record_size);
    size = static_cast<uint32_t>(buffer.size());
    std::memcpy(buffer.data(), &record_size, sizeof record_size);
    uint32_t count = 0;
    const uint32_t code = ras.RasEnumEntriesA(
        nullptr, nullptr, reinterpret_cast<TRasEntryName*>(buffer.data()), &size, &count);
    if (code == kRasSuccess) {
      // A count beyond the buffer would read past it.
      names.assign(std::min<size_t>(count, buffer.size() / record_size), {});
      for (size_t i = 0; i < names.size(); ++i)
        std::memcpy(&names[i], buffer.data() + i * record_size, record_size);
    }
    if (code != kRasBufferTooSmall || attempt == kEnumAttempts) {
      return code;
    }
  }
}

}  // namespace

TDialUp::TDialUp(RasApi& ras, UiLoop& ui, Clock& clock, StatisticsSource statistics)
    : ras_(ras),
      ui_(ui),
      clock_(clock),
      notification_timer_(ui.CreateTimer()),
      statistics_(statistics) {
  notification_timer_->SetInterval(kNotificationIntervalMs);
  notification_timer_->OnTimer = [this] { DeliverNotification(); };
}

TDialUp::~TDialUp() {
  {
    std::lock_guard lock(handover_lock);
    if (CurrentAsyncDialer == this) {
      CurrentAsyncDialer = nullptr;
    }
  }
  // Steps waiting for this component's slot find it gone and are dropped.
  slot_freed.notify_all();
}

int TDialUp::GetEntries() {
  entries_.clear();
  listed_.clear();
  shadowed_.clear();
  std::vector<TRasEntryName> names;
  int code = static_cast<int>(EnumEntries(ras_, kRasEntryNameSize, names));
  // A RAS older than 5.00 knows one phonebook and the name alone.
  if (code == kRasInvalidSize)
    code = static_cast<int>(EnumEntries(ras_, kRasEntryName400Size, names));
  if (code != 0) {
    return code;
  }
  // RAS lists both phonebooks; of a name in both, the user's own entry is the one listed.
  auto user_has = [&](const std::string& name) {
    return std::ranges::any_of(names, [&](const TRasEntryName& other) {
      return !(other.dwFlags & kRasEntryInAllUsersPhonebook) &&
             SameText(FieldText(other.szEntryName), name);
    });
  };
  for (const TRasEntryName& record : names) {
    const std::string name = FieldText(record.szEntryName);
    const bool all_users = record.dwFlags & kRasEntryInAllUsersPhonebook;
    if (all_users && user_has(name)) {
      shadowed_.push_back(name);
      continue;
    }
    entries_.push_back(name);
    listed_.push_back({FieldText(record.szPhonebookPath), all_users});
    Raise(OnEntryGet, *this, name.c_str());
  }
  return 0;
}

bool TDialUp::InUserPhonebook(const std::string& name) const {
  const auto at = std::ranges::find(entries_, name);
  return at != entries_.end() && !listed_[at - entries_.begin()].all_users;
}

const char* TDialUp::Phonebook() const {
  const auto at = std::ranges::find_if(
      entries_, [&](const std::string& listed) { return SameText(listed, Entry); });
  if (at == entries_.end() || listed_[at - entries_.begin()].phonebook.empty())
    return nullptr;
  return listed_[at - entries_.begin()].phonebook.c_str();
}

int TDialUp::Dial() {
  HangUp();
  TRasDialParams params;
  int32_t password_stored;
  const int code = ReadDialParams(params, password_stored);
  if (code != 0) {
    Raise(OnError, *this, code, "GetEntryDialParams failed");
    return code;
  }
  if (!Pwd.empty()) {
    CopyField(params.szPassword, Pwd);
  }
  if (!Domain.empty()) {
    CopyField(params.szDomain, Domain);
  }
  if (!PhoneNumber.empty()) {
    CopyField(params.szPhoneNumber, PhoneNumber);
  }
  // RAS takes a non-null handle as one to redial on.
  connection_handle_ = nullptr;
  return DialMode == dmSync ? DialSync(params) : DialAsync(params);
}

int TDialUp::DialSync(TRasDialParams& params) {
  Raise(OnDialing, *this);
  const int code = ras_.RasDialA(nullptr, Phonebook(), &params, 0, nullptr, &connection_handle_);
  if (code == 0) {
    Raise(OnConnect, *this);
    return 0;
  }
  // A failed dial can still hold a port until it is hung up.
  if (connection_handle_ != nullptr) {
    HangUpConnection(connection_handle_);
  }
  Raise(OnNotConnected, *this, code, ErrorText(code));
  return code;
}

int TDialUp::DialAsync(TRasDialParams& params) {
  {
    std::lock_guard lock(handover_lock);
    CurrentAsyncDialer = this;
  }
  // Steps still waiting for another component's slot now come here.
  slot_freed.notify_all();
  Raise(OnDialing, *this);
  const RasDialFunc notifier = &Notify;
  const int code = ras_.RasDialA(nullptr, Phonebook(), &params, 0,
                                 reinterpret_cast<void*>(notifier), &connection_handle_);
  if (code != 0) {
    // RAS may refuse the dial and still hand out a handle that holds the port.
    if (connection_handle_ != nullptr) {
      HangUpConnection(connection_handle_);
    }
    Raise(OnError, *this, code, ErrorText(code));
  }
  return code;
}

// RAS thread. Waits for the slot so that no step overwrites one not yet delivered.
void TDialUp::Notify(unsigned message, uint32_t state, uint32_t error) {
  std::unique_lock lock(handover_lock);
  slot_freed.wait(lock,
                  [] { return CurrentAsyncDialer == nullptr || !CurrentAsyncDialer->pending_; });
  TDialUp* dialer = CurrentAsyncDialer;
  if (dialer == nullptr) {
    return;
  }
  dialer->slot_ = {message, static_cast<int>(state), static_cast<int>(error)};
  dialer->pending_ = true;
  // Still under the lock, so that the component cannot be destroyed meanwhile; the timer
  // must therefore not wait for the UI thread here (post, never send).
  dialer->notification_timer_->SetEnabled(true);
}

// UI thread, the notification timer's tick.
void TDialUp::DeliverNotification() {
  notification_timer_->SetEnabled(false);
  Notification notification;
  {
    std::lock_guard lock(handover_lock);
    if (!pending_) {
      return;
    }
    notification = slot_;
  }
  // The slot stays taken until the handler has returned, so that a handler that pumps
  // messages never sees the next step inside itself. A throwing handler must not leave
  // the RAS thread waiting for ever.
  try {
    Raise(OnAsyncEvent, *this, notification.state, notification.error,
          StatusText(notification.state, notification.error));
  } catch (...) {
    ReleaseSlot();
    throw;
  }
  ReleaseSlot();
}

void TDialUp::ReleaseSlot() {
  {
    std::lock_guard lock(handover_lock);
    pending_ = false;
  }
  slot_freed.notify_all();
}

int TDialUp::HangUp() {
  return HangUpConnection(connection_handle_);
}

int TDialUp::HangUpConnection(RasHandle Handle) {
  const int code = ras_.RasHangUpA(Handle);
  if (code != 0) {
    return code;
  }
  // RAS hangs up in the background; redialing before it has let go of the port fails.
  // A RAS that never lets go must not freeze the program.
  const uint64_t deadline = clock_.MonotonicMs() + kHangUpWaitMs;
  while (!Released(ras_, Handle)) {
    if (clock_.MonotonicMs() >= deadline) {
      return kHangUpTimedOut;
    }
    std::this_thread::sleep_for(kHangUpLookInterval);
    ui_.ProcessMessages();
  }
  return 0;
}

bool TDialUp::ConnectionGone() const {
  TRasConnStatusA status{};
  status.dwSize = kRasConnStatusSize;
  const uint32_t code = ras_.RasGetConnectStatusA(connection_handle_, &status);
  return code == kRasInvalidHandle ||
         (code == kRasSuccess && status.rasconnstate == kRasDisconnected);
}

uint32_t TDialUp::DisconnectError() const {
  TRasConnStatusA status{};
  status.dwSize = kRasConnStatusSize;
  const uint32_t code = ras_.RasGetConnectStatusA(connection_handle_, &status);
  return code == kRasSuccess && status.rasconnstate == kRasDisconnected ? status.dwError : 0;
}

int TDialUp::NotifyOnDisconnection(void* event) {
  return static_cast<int>(
      ras_.RasConnectionNotificationA(connection_handle_, event, kRasNotifyDisconnection));
}

void TDialUp::CreateEntry() {
  ras_.RasCreatePhonebookEntryA(OwnerWindow, nullptr);
}

void TDialUp::EditEntry() {
  ras_.RasEditPhonebookEntryA(OwnerWindow, Phonebook(), Entry.c_str());
}

void TDialUp::DeleteEntry() {
  ras_.RasDeleteEntry(Phonebook(), Entry.c_str());
}

int TDialUp::ReadDialParams(TRasDialParams& params, int32_t& password_stored) {
  params = {};
  params.dwSize = kRasDialParamsSize;
  CopyField(params.szEntryName, Entry);
  password_stored = 0;
  return ras_.RasGetEntryDialParamsA(Phonebook(), &params, &password_stored);
}

int TDialUp::GetEntryUserName(std::string& Value) {
  TRasDialParams params;
  int32_t password_stored;
  const int code = ReadDialParams(params, password_stored);
  if (code == 0) {
    Value = FieldText(params.szUserName);
  }
  return code;
}

// RAS hands out a handle for a saved password, never the password, so one the profile
// holds counts as different. The record goes back as read apart from the account: the
// handle keeps the saved password, and an entry without one is asked to keep none, since
// an empty password with fRemovePassword FALSE would be saved as the password.
int TDialUp::SaveAccount(const std::string& UserName, const std::string& Password) {
  TRasDialParams params;
  int32_t password_stored;
  const int code = ReadDialParams(params, password_stored);
  if (code != 0)
    return code;
  const bool new_name = !UserName.empty() && UserName != FieldText(params.szUserName);
  if (!new_name && Password.empty())
    return 0;
  if (!UserName.empty())
    CopyField(params.szUserName, UserName);
  if (!Password.empty())
    CopyField(params.szPassword, Password);
  const bool keep_none = Password.empty() && !password_stored;
  return static_cast<int>(ras_.RasSetEntryDialParamsA(Phonebook(), &params, keep_none ? 1 : 0));
}

// Asks RAS for the size first: the properties come with the alternate numbers behind the
// record, so a buffer of the record's size alone is too small for an entry that has some.
int TDialUp::ReadEntryProperties(std::vector<uint8_t>& buffer) {
  buffer.clear();
  uint32_t size = 0;
  uint32_t code = ras_.RasGetEntryPropertiesA(Phonebook(), Entry.c_str(), nullptr, &size);
  // An entry that grows between the calls asks for more once again; a third time is a fault.
  for (int call = 0; code == kRasBufferTooSmall && call < 3; ++call) {
    buffer.assign(std::max(size, kRasEntrySize), 0);
    auto* record = reinterpret_cast<TRasEntry*>(buffer.data());
    record->dwSize = kRasEntrySize;
    size = static_cast<uint32_t>(buffer.size());
    code = ras_.RasGetEntryPropertiesA(Phonebook(), Entry.c_str(), record, &size);
  }
  if (code == kRasSuccess && buffer.empty())
    code = kRasBufferTooSmall;  // a RAS that claims a record it did not give
  return static_cast<int>(code);
}

int TDialUp::GetEntryAutoDial(std::string& Library, std::string& Function) {
  std::vector<uint8_t> buffer;
  const int code = ReadEntryProperties(buffer);
  if (code == 0) {
    const auto* record = reinterpret_cast<const TRasEntry*>(buffer.data());
    Library = FieldText(record->szAutodialDll);
    Function = FieldText(record->szAutodialFunc);
  }
  return code;
}

int TDialUp::GetEntryPhoneNumber(std::string& Value) {
  std::vector<uint8_t> buffer;
  const int code = ReadEntryProperties(buffer);
  if (code == 0)
    Value = FieldText(reinterpret_cast<const TRasEntry*>(buffer.data())->szLocalPhoneNumber);
  return code;
}

// Writes back the buffer as read, alternates and all, so that only the handler differs.
int TDialUp::SetEntryAutoDial(const std::string& Library, const std::string& Function) {
  std::vector<uint8_t> buffer;
  const int code = ReadEntryProperties(buffer);
  if (code != 0)
    return code;
  auto* record = reinterpret_cast<TRasEntry*>(buffer.data());
  CopyField(record->szAutodialDll, Library);
  CopyField(record->szAutodialFunc, Function);
  return static_cast<int>(ras_.RasSetEntryPropertiesA(Phonebook(), Entry.c_str(), record,
                                                      static_cast<uint32_t>(buffer.size())));
}

std::string TDialUp::StatusText(int State, int Error) {
  return Error != 0 ? ErrorText(Error) : StateText(Language, State);
}

std::string TDialUp::ErrorText(int code) {
  char text[kErrorTextSize] = {};
  if (ras_.RasGetErrorStringA(code, text, sizeof text) != kRasSuccess || text[0] == '\0') {
    return "RAS error " + std::to_string(code);
  }
  return FieldText(text);
}

int TDialUp::GetIPAddresses(RasHandle Handle) {
  server_ip_.clear();
  client_ip_.clear();
  if (!Handle)
    return 0;
  TRasPppIp info{};
  info.dwSize = kRasPppIpSize;
  uint32_t size = kRasPppIpSize;
  const int code =
      static_cast<int>(ras_.RasGetProjectionInfoA(Handle, kRasProjectionPppIp, &info, &size));
  if (code == 0) {
    client_ip_ = FieldText(info.szIpAddress);
    server_ip_ = FieldText(info.szServerIpAddress);
  }
  return code;
}
