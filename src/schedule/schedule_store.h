// The user's schedules: the table of 100 slots and its file Schedules.ini beside the
// executable.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/locale.h"
#include "platform/profile_file.h"

// What a schedule does (EventType) and how often it comes due (Period).
enum ScheduleEvent { kConnect = 0, kDisconnect = 1, kShutDown = 2, kReconnect = 3 };
enum SchedulePeriod {
  kOnlyOnce = 0,
  kHourly = 1,
  kDaily = 2,
  kWeekly = 3,
  kMonthly = 4,
  kLoop = 5
};

// One schedule. Date-times as in platform/date_time.h; of Time21, Time32 and Time42 only
// the time of day counts. Every period type's fields are kept whatever Period is.
// LastPerformed, Performed and LoopOrigin live only in memory: when it last came due,
// whether it came due and was not re-armed since, and for a loop the monotonic time
// (platform/clock.h) its intervals count from, none until the scheduler starts it.
struct ScheduleItem {
  bool InUse = false;
  int EventType = kConnect;
  int Period = kOnlyOnce;
  double LastPerformed = 0;
  double DateTime01 = 0;
  int Minute11 = 0;  // minute of the hour
  double Time21 = 0;
  int Week31 = 0;  // 0 Sunday to 6 Saturday
  double Time32 = 0;
  int Month41 = 0;  // day of the month minus one
  double Time42 = 0;
  int Hour51 = 0;  // the loop's interval
  int Minute52 = 0;
  bool Performed = false;
  int PeriodOfValidity = 10;  // minutes after the set time in which it may still come due
  bool Confirm = false;
  int ReconnectAfterHours = 0;  // a reconnect only of a line up this long; 0 always
  std::optional<uint64_t> LoopOrigin{};
  bool operator==(const ScheduleItem&) const = default;
};

// Slots in use are packed from slot 0; readers stop at the first free slot.
constexpr int kScheduleSlots = 100;
using ScheduleTable = std::array<ScheduleItem, kScheduleSlots>;

// Every slot free, with the empty slot's values.
void ClearSchedules(ScheduleTable& table);

// Slots in use, counted from slot 0 up to the first free one.
int ScheduleCount(const ScheduleTable& table);

// Whether two schedules are the same as the file holds them, whatever their run-time state.
bool SameSchedule(const ScheduleItem& a, const ScheduleItem& b);
// `to` takes the run-time state of `from`: when it last came due, and where a loop stands.
void TakeRunState(ScheduleItem& to, const ScheduleItem& from);
// Every schedule of `loaded` that is the same as one of `live` goes on from that one's
// run-time state, so that reading the file again runs nothing twice. Equal schedules pair
// up in slot order.
void KeepRunState(ScheduleTable& loaded, const ScheduleTable& live);

// The hours a reconnect's line must have been up, at most a month.
constexpr int kMaxReconnectAfterHours = 720;

// One section per schedule, "Schedule0", "Schedule1", ..., each with all fourteen keys.
// Date-times are written in the shortest general form of up to 15 significant digits with
// the user's decimal separator and read with "." or "," or the user's separator, so that a
// change of the regional setting between two runs loses nothing.
class ScheduleStore {
 public:
  ScheduleStore(ProfileFile& file, Files& files, Locale& locale);

  std::string Path();

  // Reads the sections in file order into the slots from 0 on; section names are not
  // interpreted. Leaves the table alone when there is no file, or when the file exists but
  // cannot be read (see Unread). Loaded slots start with no run-time state (see
  // KeepRunState); slots after the last section are freed. A date-time that is missing or
  // not a number reads as 0 and the other keys and schedules load all the same; sections
  // beyond the table's 100 slots are left unread. Returns one text per such problem. A
  // ReconnectAfterHours that is missing (older files) or not a number reads as 0, one out
  // of range as its nearest bound.
  std::vector<std::string> LoadSchedules(ScheduleTable& table);
  // The file existed at the last load but could not be read: writing it now could lose
  // schedules the program never saw.
  bool Unread() const { return unread_; }

  // Replaces the file whole with the slots in use, the old file kept as Schedules.bak when
  // no backup exists. False with a text naming the file when it could not be written; the
  // old file then stays as it was.
  bool SaveSchedules(const ScheduleTable& table, std::string& error);

 private:
  ProfileFile& file_;
  Files& files_;
  Locale& locale_;
  bool unread_ = false;
};
