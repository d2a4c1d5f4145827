// TDialUp: the RAS phonebook and dialer behind properties, operations and events.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialup/ras_api.h"
#include "dialup/ras_types.h"
#include "dialup/statistics.h"
#include "dialup/status_text.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/ui_loop.h"

// HangUpConnection gave up waiting for RAS to forget the connection. Lies outside RAS's
// own codes so that it can be told apart in the log.
constexpr int kHangUpTimedOut = 0x10000;

enum TDialMode { dmAsync, dmSync };

// Every operation acts on `Entry`, in the phonebook the last GetEntries listed it in (the
// default one for a name it did not list), and returns RAS's result code, 0 for success. All
// members are used on the UI thread only, and every event is raised there; an event that is not set
// is skipped. Binding failures throw ERasError.
//
// An asynchronous dial reports each RAS step through OnAsyncEvent: in arrival order, one
// at a time (a step waits on the RAS thread until the previous handler has returned), and
// only to the component that dialed last. OnConnect and OnNotConnected belong to blocking
// dials only.
// Where the line statistics come from: the registry, read as the platform family says
// (1: the consumer family's dynamic data, 2: the NT family's performance data). Without a
// registry, or in family 0, there are none.
struct StatisticsSource {
  Registry* registry = nullptr;
  int family = 0;
};

class TDialUp {
 public:
  TDialUp(RasApi& ras, UiLoop& ui, Clock& clock, StatisticsSource statistics = {});
  // Does not hang up. Notifications arriving later are dropped.
  ~TDialUp();
  TDialUp(const TDialUp&) = delete;
  TDialUp& operator=(const TDialUp&) = delete;

  TDialMode DialMode = dmAsync;
  std::string Entry;
  std::string Pwd;          // empty: the password RAS stores for the entry
  std::string Domain;       // empty: the stored domain
  std::string PhoneNumber;  // empty: the stored number
  TLanguage Language = English;
  void* OwnerWindow = nullptr;  // parent of the entry dialogs; nullptr leaves them unparented

  // Names from the last GetEntries, in RAS's order.
  const std::vector<std::string>& Entries() const { return entries_; }
  // Entries of the all-users phonebook that the last GetEntries left out, because the
  // user's own phonebook has an entry of the same name.
  const std::vector<std::string>& Shadowed() const { return shadowed_; }
  // Whether the last GetEntries listed this entry (exact name) in the user's own phonebook.
  // A RAS older than 5.00 has no other.
  bool InUserPhonebook(const std::string& name) const;
  // The connection being dialed or held, nullptr for none. Cleared when a dial starts,
  // kept through hang-up.
  RasHandle ConnectionHandle() const { return connection_handle_; }
  std::function<void(TDialUp& Sender, const char* EntryName)> OnEntryGet;
  std::function<void(TDialUp& Sender)> OnDialing;  // just before RAS is asked to dial
  std::function<void(TDialUp& Sender)> OnConnect;
  std::function<void(TDialUp& Sender, int ErrorCode, const std::string& ErrorMessage)>
      OnNotConnected;
  std::function<void(TDialUp& Sender, int State, int Error, const std::string& MessageText)>
      OnAsyncEvent;
  // A dial was not started.
  std::function<void(TDialUp& Sender, int ErrorCode, const std::string& ErrorMessage)> OnError;

  // Refills Entries with every entry of both phonebooks, raising OnEntryGet per name. When RAS
  // reports its buffer too small, asks again with the size RAS reported; a phonebook that keeps
  // growing meanwhile gives up after three calls with that code. On failure Entries stays
  // empty.
  int GetEntries();
  // Hangs up the previous connection, then dials with the stored account, overridden by
  // Pwd, Domain and PhoneNumber where those are not empty.
  int Dial();
  int HangUp();
  // RAS hangs up in the background: returns once RAS no longer knows the connection (it has
  // let go of the port), looking every few milliseconds and processing UI messages
  // meanwhile, so timer ticks and events may run inside. Gives up with kHangUpTimedOut
  // after 10 s. A refused asynchronous dial that left a handle is hung up the same way.
  int HangUpConnection(RasHandle Handle);
  // True when RAS answers that it does not know ConnectionHandle() (kRasInvalidHandle), or
  // that it is disconnected (state kRasDisconnected, with an error for a drop): the line
  // has ended, been hung up or vanished. Every other answer, a connection still dialing or
  // up, or any other error, counts as not gone.
  bool ConnectionGone() const;
  // The error RAS gives for the end of a connection it still knows as disconnected (why
  // the line dropped); 0 when it gives none or has let go of the connection.
  uint32_t DisconnectError() const;
  // Asks RAS to set `event` (a system event handle) when ConnectionHandle() ends. Returns
  // RAS's code; a RAS without the notification answers kRasCallNotImplemented.
  int NotifyOnDisconnection(void* event);
  void CreateEntry();
  void EditEntry();
  void DeleteEntry();
  // On failure Value is left untouched.
  int GetEntryUserName(std::string& Value);
  // Stores the account in the entry's saved dial parameters, only where it differs from
  // RAS's: an empty UserName or Password leaves RAS's as it is, and a dial never saves a
  // password the user did not give. A non-empty Password always counts as different (RAS
  // never shows the saved one). Returns RAS's code, 0 when nothing needed writing.
  int SaveAccount(const std::string& UserName, const std::string& Password);
  // The handler the system's automatic dialing calls for the entry: a library and the name
  // of its function without the A or W. On failure the values are left untouched.
  // Both read the properties with RAS's size query; Set writes back the same bytes, the
  // alternate numbers behind the record included, with only the handler changed.
  int GetEntryAutoDial(std::string& Library, std::string& Function);
  // The number the phonebook keeps for the entry; on failure Value is left untouched.
  int GetEntryPhoneNumber(std::string& Value);
  int SetEntryAutoDial(const std::string& Library, const std::string& Function);
  // Line statistics. The counts run from the baseline that StartStatistics takes before
  // each dial; a counter that drops below its baseline re-baselines both. Where the
  // registry has no RAS counters (the NT family without the RAS object, as under Wine),
  // RAS's own statistics of ConnectionHandle() feed the same counts, from zero for each new
  // connection. Every failure is the false result; the counts keep their last values.
  int64_t BytesXmit() const { return static_cast<int64_t>(line_.BytesXmit()); }
  int64_t BytesRecv() const { return static_cast<int64_t>(line_.BytesRecv()); }
  uint32_t ConnectionSpeed() const { return connection_speed_; }  // bits per second
  // The dial-up adapters that have statistics, sorted (consumer family only).
  const std::vector<std::string>& DUNA() const { return duna_; }
  std::string DUNA_Key;  // the adapter whose counters are read
  bool EnumAdapters();
  // Start: the platform counts for DUNA_Key (refreshed first when asked) and a new
  // baseline is taken. Not Start: the platform stops counting.
  bool StartStatistics(bool Start, bool RefreshAdapter);
  bool GetStatistics();
  void ResetBaseline();
  // Reads the two addresses of a connected line into ServerIP and ClientIP, which are
  // cleared first. No handle: 0, both empty.
  int GetIPAddresses(RasHandle Handle);
  const std::string& ServerIP() const { return server_ip_; }
  const std::string& ClientIP() const { return client_ip_; }
  // RAS's own text for a non-zero Error ("RAS error <code>" when RAS has none to give),
  // else the State's text in Language ("" if none).
  std::string StatusText(int State, int Error);

 private:
  struct Notification {
    unsigned message;
    int state;
    int error;
  };

  static void RAS_CALL Notify(unsigned message, uint32_t state, uint32_t error);
  void DeliverNotification();
  void ReleaseSlot();

  struct Listed {
    std::string phonebook;  // empty where RAS did not say
    bool all_users = false;
  };

  // The path of Entry's phonebook for RAS, nullptr for the default one.
  const char* Phonebook() const;
  int ReadDialParams(TRasDialParams& params, int32_t& password_stored);
  // The entry's properties, a TRasEntry at kRasEntrySize followed by what RAS appends.
  int ReadEntryProperties(std::vector<uint8_t>& buffer);
  int DialSync(TRasDialParams& params);
  int DialAsync(TRasDialParams& params);
  std::string ErrorText(int code);
  bool ReadStatValues(const std::string& key, std::string values[3]);
  bool GetDynamicStatistics();
  bool GetPerformanceStatistics();
  bool GetRasStatistics();

  RasApi& ras_;
  UiLoop& ui_;
  Clock& clock_;
  std::unique_ptr<UiTimer> notification_timer_;
  std::vector<std::string> entries_;
  std::vector<Listed> listed_;  // one per entries_
  std::vector<std::string> shadowed_;
  RasHandle connection_handle_ = nullptr;
  std::string server_ip_;
  std::string client_ip_;
  StatisticsSource statistics_;
  LineStatistics line_;
  uint32_t connection_speed_ = 0;
  std::vector<std::string> duna_;
  RasHandle statistics_handle_ = nullptr;  // the connection RAS's own counters came from
  // The one-slot mailbox between the RAS thread and the UI thread, guarded by the
  // process-wide hand-over lock.
  bool pending_ = false;
  Notification slot_{};
};
