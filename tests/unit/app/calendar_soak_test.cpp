// A calendar soak: the running program over four hundred days of fake time, with both
// changes of daylight saving, a clock set back, sleeps of up to thirty hours, month ends
// and 29 February, billing days 1, 15, 29, 30 and 31, hour sections and a weekend rate,
// sessions across midnight, phonebook rebuilds while online, TimeCount.CSV held by another
// program (also across a restart), kills and restarts, one schedule of every repeating
// kind (the weekly one at a time the spring change skips), and a schedule edited in the
// list. Every day the sessions in the files must be those the test saw, the day's and the
// billing period's time and cost must equal a recount (dated and priced by the test's own
// code), and every schedule must run once in each window it was awake for.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "accounting/time_records.h"
#include "fakes/heap_in_use.h"
#include "mainform_fixture.h"
#include "platform/date_time.h"
#include "platform/numbers.h"
#include "rassim/rassim.h"

namespace {

constexpr const char* kCsv = "C:\\Tarvolin\\TimeCount.CSV";
constexpr const char* kCheckpoint = "C:\\Tarvolin\\TimeCount.run";
constexpr const char* kSessions = "C:\\Tarvolin\\Sessions.csv";
constexpr int kDays = 400;
constexpr uint64_t kStepMs = 5 * 60000;  // the program ticks each time fake time moves on
constexpr double kMsPerDay = 86400000.0;
constexpr double kHour = 1.0 / 24;
constexpr double kSecond = 1.0 / 86400;
const double kFirstDay = ToDateTime({2027, 3, 1});
// The local clock's changes: spring on, autumn back, and the user setting it back.
const double kSpring2027 = ToDateTime({2027, 3, 28, 2});
const double kAutumn2027 = ToDateTime({2027, 10, 31, 3});
const double kSpring2028 = ToDateTime({2028, 3, 26, 2});
const double kSetBack = ToDateTime({2027, 6, 15, 14});

struct Plan {
  const char* entry;
  double general;
  int billing_day;
  double weekend;  // 0: no weekend rate
  int from, to;    // an hour section, every day but a weekend one; from = to: none
  double section;
  uint64_t step_bytes;     // received in each step online; an eighth of it sent
  int free_from, free_to;  // the budget's free hours; equal: none
};
// B1's 32-bit received count wraps after an hour online. Its free hours hold the hours
// around each change of daylight saving, where it is online, whichever hours the clock
// showed.
constexpr Plan kPlans[] = {{"B1", 1.0, 1, 0, 22, 6, 0.25, 320'000'000, 1, 6},
                           {"B15", 2.0, 15, 5.0, 9, 17, 4.0, 24'000'000, 0, 0},
                           {"B29", 0.5, 29, 0, 0, 0, 0, 8'000'000, 0, 0},
                           {"B30", 3.0, 30, 0, 18, 24, 1.0, 16'000'000, 0, 0},
                           {"B31", 1.5, 31, 0, 0, 0, 0, 40'000'000, 0, 0}};

// Once, an entry online is renamed: its new name is the old one and this.
constexpr const char* kRenamed = " renamed";

const Plan& PlanOf(const std::string& entry) {
  for (const Plan& plan : kPlans)
    if (entry == plan.entry || entry == plan.entry + std::string(kRenamed))
      return plan;
  return kPlans[0];
}

// The schedules' slots.
enum Slot { kDaily, kHourly, kWeekly, kMonthly, kLoop, kSlots };

// A schedule set at hour:minute where its kind takes a time, valid `validity` minutes.
std::string Schedule(int slot, int event, int period, int hour, int minute, int validity,
                     const std::string& more = "") {
  const std::string at = FormatReal(ToDateTime({2027, 1, 1, hour, minute}), '.');
  return "[Schedule" + std::to_string(slot) + "]\r\nEventType=" + std::to_string(event) +
         "\r\nPeriod=" + std::to_string(period) + "\r\nDateTime01=0\r\nTime21=" + at +
         "\r\nTime32=" + at + "\r\nTime42=" + at + "\r\n" + more +
         "PeriodOfValidity=" + std::to_string(validity) + "\r\nConfirm=0\r\n";
}

double Minutes(int hour, int minute) {
  return (hour * 60 + minute) / 1440.0;
}

// Where each schedule's window lies, and the key that tells one window from the next.
struct Window {
  double from, to;  // times of day; the hourly one's are minutes of the hour
  int day_of_week;  // -1: any
  int day;          // -1: any
};
const Window kWindows[] = {
    {Minutes(23, 30), Minutes(23, 55), -1, -1},  // Daily Connect
    {Minutes(0, 41), Minutes(0, 50), -1, -1},    // Hourly Disconnect, minute 40: 41 to 50
    {Minutes(2, 30), Minutes(2, 40), 0, -1},     // Weekly Disconnect, Sundays
    {Minutes(8, 0), Minutes(8, 10), -1, 29},     // Monthly Connect, the 29th
};

class CalendarSoakTest : public MainformTest {
 protected:
  CalendarSoakTest() : MainformTest(Phonebook(false)) {
    std::string entries;
    for (const Plan& p : kPlans) {
      entries += std::string("[") + p.entry + "]\r\nGeneralRate=" + FormatReal(p.general, '.') +
                 "\r\nBillingDay=" + std::to_string(p.billing_day) + "\r\n";
      if (p.weekend > 0)
        entries += "WeekendEnabled=1\r\nWeekendRate=" + FormatReal(p.weekend, '.') + "\r\n";
      if (p.free_from != p.free_to)
        entries += "FreeHoursFrom=" + std::to_string(p.free_from * 60) +
                   "\r\nFreeHoursTo=" + std::to_string(p.free_to * 60) + "\r\n";
      if (p.from != p.to)
        entries += "Section1Enabled=1\r\nSection1Rate=" + FormatReal(p.section, '.') +
                   "\r\nSection1RateFrom=" + std::to_string(p.from) +
                   "\r\nSection1RateTo=" + std::to_string(p.to) + "\r\n";
    }
    files_.content["C:\\Tarvolin\\Entries.ini"] = entries;
    // The Daily one's window, 23:30 to 23:55, is where the list dialog opens once.
    files_.content["C:\\Tarvolin\\Schedules.ini"] =
        Schedule(kDaily, kConnect, 2, 23, 30, 25) +
        Schedule(kHourly, kDisconnect, 1, 0, 0, 10, "Minute11=40\r\n") +
        Schedule(kWeekly, kDisconnect, 3, 2, 30, 10, "Week31=0\r\n") +
        Schedule(kMonthly, kConnect, 4, 8, 0, 10, "Month41=28\r\n") +
        Schedule(kLoop, kConnect, 5, 0, 0, 10, "Hour51=5\r\nMinute52=20\r\n");
    clock_.SetLocalStart(kFirstDay);
    expected_.reserve(20000);
    for (auto& runs : runs_)
      runs.reserve(20000);
    for (auto& windows : windows_)
      windows.reserve(20000);
  }

  // The entries, `renamed` by its new name, or left out with `miss`.
  static std::string Phonebook(bool extra, const Plan* renamed = nullptr, bool miss = false) {
    std::string text;
    for (const Plan& p : kPlans) {
      if (&p != renamed || !miss)
        text += "[" + Called(p, renamed) + "]\nStepDelayMs=0\nRecvBps=0\nSendBps=0\n";
    }
    return text + (extra ? "[Extra]\nStepDelayMs=0\n" : "");
  }

  static std::string Called(const Plan& plan, const Plan* renamed) {
    return plan.entry + std::string(&plan == renamed ? kRenamed : "");
  }
  std::string Called(const Plan& plan) const { return Called(plan, renamed_); }

  void StartProgram() {
    Tmainform& form = Start();
    AppSettings& settings = form.Settings();
    settings.CkbEnableAllSchedules = true;
    settings.CkbKeepConnection = false;
    // The program ticks once a step here, not once a second: only a sleep is a gap.
    form.Session().SetTickGapMs(2 * kStepMs);
    seen_.fill(0);
  }

  double Local() { return clock_.LocalNow(); }
  static double TimeOfDay(double t) { return t - std::floor(t); }

  // Fake time moves on to the next step, the clock changes that fall in it happen, the
  // program ticks. Steps keep to a grid of the monotonic clock, whatever dials took.
  void Step() {
    clock_.Advance(kStepMs - clock_.Now() % kStepMs);
    files_.unreadable.clear();
    ChangeClock();
    const uint64_t bytes = session_ ? PlanOf(session_->entry).step_bytes : 0;
    // The tick's checkpoint comes before its sample of the line's counts.
    if (session_)
      session_->kept = {session_->received, session_->sent, session_->budget};
    if (session_ && rassim::Move(session_->line, bytes, bytes / 8)) {
      session_->received += bytes;
      session_->sent += bytes / 8;
      // The tick that samples them judges the free hours by the clock it shows.
      const Plan& plan = PlanOf(session_->entry);
      const int hour = FromDateTime(Local()).hour;
      if (hour < plan.free_from || hour >= plan.free_to)
        session_->budget += bytes + bytes / 8;
    }
    ui_.ProcessMessages();
    // The session a wake begins, from the wake; one found by the gap, from this tick.
    if (woke_ && !session_) {
      session_ = *woke_;
      if (session_->start_ms == 0)
        session_ = Session{session_->entry, Local(), clock_.Now()};
    }
    woke_.reset();
    last_tick_ms_ = clock_.Now();
    NoteWindows(Local());
    Observe();
    Settle();
  }

  // The schedules' windows this tick saw: each must hold exactly one run. Their ends count
  // to the millisecond, as the program's do, whatever the rounding of a time of day.
  void NoteWindows(double now, int only = -1) {
    constexpr double kEdge = 0.5 / 86400000;
    const CalendarTime t = FromDateTime(now);
    const double tod = TimeOfDay(now);
    for (int slot = 0; slot < kLoop; ++slot) {
      if (only >= 0 && slot != only)
        continue;
      const Window& w = kWindows[slot];
      const double at = slot == kHourly ? std::fmod(tod, 1.0 / 24) : tod;
      if (at < w.from - kEdge || at > w.to + kEdge ||
          (w.day_of_week >= 0 && t.day_of_week != w.day_of_week) || (w.day >= 0 && t.day != w.day))
        continue;
      // A window seen again after the clock was set back is one window still: it ran in it.
      const std::string key = WindowKey(slot, now);
      if (windows_[slot].empty() || windows_[slot].back() != key)
        windows_[slot].push_back(key);
    }
  }

  static std::string WindowKey(int slot, double t) {
    return Date(t).substr(0, slot == kHourly ? 13 : 10);
  }

  void ChangeClock() {
    struct Change {
      double at;
      double by;
    };
    static const Change kChanges[] = {
        {kSpring2027, kHour}, {kSetBack, -2 * kHour}, {kAutumn2027, -kHour}, {kSpring2028, kHour}};
    for (std::size_t i = 0; i < std::size(kChanges); ++i) {
      if (!changed_[i] && Local() >= kChanges[i].at) {
        clock_.ShiftLocal(kChanges[i].by);
        changed_[i] = true;
        online_across_changes_ += session_ && kChanges[i].at != kSetBack ? 1 : 0;
        if (kChanges[i].by > 0)
          NoteSkippedWindows(kChanges[i].at, kChanges[i].by);
      }
    }
  }

  bool NearDaylightSavingChange() {
    for (double change : {kSpring2027, kAutumn2027, kSpring2028}) {
      if (Local() > change - kHour / 2 && Local() < change + 1.5 * kHour)
        return true;
    }
    return false;
  }

  // The weekly window the spring change skips is due right after it. (The hourly one of
  // the skipped hour is not: that hour never was.)
  void NoteSkippedWindows(double at, double by) {
    for (double t = at; t < at + by; t += 1.0 / 1440) {
      const size_t before = windows_[kWeekly].size();
      NoteWindows(t, kWeekly);
      skipped_windows_ += windows_[kWeekly].size() > before ? 1 : 0;
    }
  }

  // A dial under way comes to its end, then what happened is noted.
  void Settle() {
    if (form_->Dialing().Dialing()) {
      const uint64_t deadline = clock_.Now() + 60000;
      ASSERT_TRUE(
          ui_.RunUntil([&] { return !form_->Dialing().Dialing() || clock_.Now() > deadline; }));
      ASSERT_FALSE(form_->Dialing().Dialing()) << "a dial did not end";
    }
    Observe();
  }

  // What the window was told since the last look, all of it at the time now: the line
  // can go down and a schedule dial it again within one tick.
  void Observe() {
    for (const std::string& told : view_.journal) {
      if (told == "online Offline" && session_)
        EndSession(clock_.Now());
      if (told == "online Online") {
        session_ = Session{form_->Dialing().LastDialedEntry(), Local(), clock_.Now()};
        session_->line = session_->entry;
      }
    }
    view_.journal.clear();
    for (int slot = 0; slot < kSlots; ++slot) {
      const double last = form_->Schedules().Table()[slot].LastPerformed;
      if (last != 0 && last != seen_[slot])
        runs_[slot].push_back(
            {last, clock_.Now(), kills_, form_->Schedules().Table()[slot].LoopOrigin.value_or(0)});
      seen_[slot] = last;
    }
  }

  void EndSession(uint64_t end_ms) {
    TimeRecord ended{session_->start, (end_ms - session_->start_ms) / kMsPerDay, 0,
                     session_->entry};
    ended.received = session_->received;
    ended.sent = session_->sent;
    ended.budget_bytes = session_->budget;
    expected_.push_back(ended);
    if (files_.locked.count(kCsv) || files_.locked.count(kSessions))
      ++locked_appends_;
    session_.reset();
  }

  // What the user and the world do at this step.
  void Act(std::mt19937& random) {
    // Online across each change of daylight saving, on a plan whose night section covers
    // the hours around it: the counters put the ticks on the hours the clock showed, the
    // recount on those the start and the real length give.
    if (NearDaylightSavingChange()) {
      if (!session_) {
        form_->CnListSelectItem(Called(kPlans[0]));
        form_->Dial1Click();
        Settle();
      }
      return;
    }
    const double tod = TimeOfDay(Local());
    if (!session_ && (random() % 100 == 0 || (tod > 23.9 / 24 && random() % 4 == 0))) {
      form_->CnListSelectItem(Called(kPlans[random() % std::size(kPlans)]));
      form_->Dial1Click();
      Settle();
    } else if (session_ && random() % 24 == 0) {
      if (random() % 5 == 0)
        files_.locked.insert(++locks_ % 3 == 0 ? kSessions : kCsv);
      if (random() % 2)
        form_->HangUp1Click();
      else
        rassim::Drop(session_->line);  // the next tick notices
      Observe();
    }
    if (!files_.locked.empty() && random() % 30 == 0)
      files_.locked.clear();
    if (session_ && random() % 400 == 0) {
      extra_ = !extra_;  // the phonebook changes while online: the table is rebuilt
      phonebook_.Write(Phonebook(extra_, renamed_));
      ++rebuilds_;
    }
    // Clear of the schedules that end a line or dial one: 45 minutes from minute 51.
    const CalendarTime now = FromDateTime(Local());
    if (session_ && !renamed_ && Local() > kFirstDay + 150 && tod < 20 * kHour && now.day != 29 &&
        now.minute >= 51 && now.minute < 56)
      RenameAndMiss();
    if (random() % 2500 == 0)
      Sleep(1 + random() % 30, random() % 3);
    const int minute = FromDateTime(Local()).minute, hour = FromDateTime(Local()).hour;
    // Not killed between a sleep and the tick that takes its wake in.
    if (!woke_ && random() % 3000 == 0 && minute < 30 && hour != 23 && hour != 2 && hour != 8)
      Kill();
  }

  // Asleep: no tick until it wakes; a line that was up is still up. The session ends at
  // the last tick and a new one begins at the wake, which the program hears of from the
  // system, with the resume check on or off, or else finds by the gap in its ticks at the
  // next one. Not online across a change of the clock: the running counters put such a
  // session's time on the days the clock showed, the start-up tally on the days its start
  // and real length give, an hour apart when a midnight follows the change.
  void Sleep(int hours, int told) {
    const double wake = Local() + (hours + 1) * kHour;
    for (double change : {kSpring2027, kSetBack, kAutumn2027, kSpring2028}) {
      if (session_ && Local() < change && change < wake)
        return;
    }
    form_->Settings().CkbResumeCheck = told == 2;
    const std::optional<Session> was = session_;
    if (session_)
      EndSession(std::max(last_tick_ms_, session_->start_ms));  // or dialed since that tick
    if (told)
      form_->SystemSuspending();
    clock_.Advance(hours * 3600000ull);
    ChangeClock();
    if (told)
      form_->SystemResumed();
    if (was) {
      woke_ = Session{was->entry, Local(), clock_.Now()};
      woke_->line = was->line;
    }
    if (was && !told)
      woke_->start_ms = 0;  // begins at the next tick
    ++sleeps_;
    ++told_sleeps_[told];
  }

  // Ended at once, as by the task manager, then started again from its files; every
  // other time with a session waiting for TimeCount.CSV, which another program holds while
  // it starts.
  void Kill() {
    if (kills_ % 2 == 1)
      EndWithTheFileHeld();
    files_.locked.clear();
    if (session_) {
      // Recorded up to its last checkpoint, which every tick of a session writes.
      if (session_->start_ms <= last_tick_ms_) {
        std::tie(session_->received, session_->sent, session_->budget) = session_->kept;
        EndSession(last_tick_ms_);
      } else
        session_.reset();
      form_.reset();
      rassim::Drop("*");
    }
    if (kills_ % 2 == 1) {
      files_.locked.insert(kCsv);
      ++held_starts_;
    }
    if (kills_ % 4 == 3) {
      files_.unreadable.insert(kCsv);  // until the next step
      ++unread_starts_;
    }
    StartProgram();
    Observe();
    ++kills_;
  }

  // A session ends while another program holds TimeCount.CSV, so that it waits in the
  // checkpoint: the kill that follows leaves it to the next start.
  void EndWithTheFileHeld() {
    if (!session_) {
      form_->Dial1Click();
      Settle();
    }
    ASSERT_TRUE(session_);
    files_.locked.insert(kCsv);
    form_->HangUp1Click();
    Observe();
  }

  // Once, the entry online is renamed in the phonebook; once the program has seen that,
  // a listing misses it, then it is back. The line and its session go on throughout, and
  // the session is recorded under the new name.
  void RenameAndMiss() {
    const Plan& plan = PlanOf(session_->entry);
    renamed_ = &plan;
    renamed_in_run_ = kills_;
    for (const bool miss : {false, true, false}) {
      phonebook_.Write(Phonebook(extra_, renamed_, miss));
      for (int tick = 0; tick < 3; ++tick)
        Step();
      ASSERT_EQ(view_.rows.size(), std::size(kPlans) + extra_ - miss);
    }
    ASSERT_TRUE(session_);
    ASSERT_EQ(form_->Dialing().LastDialedEntry(), Called(plan));
    session_->entry = Called(plan);
  }

  // Whether a session of `entry` counts toward the plan's row: its name now, and in the
  // run that renamed it, the old one. A start counts by names alone.
  bool CountsFor(const Plan& plan, const std::string& entry) const {
    return entry == Called(plan) ||
           (&plan == renamed_ && kills_ == renamed_in_run_ && entry == plan.entry);
  }

  // Once, the list dialog is open while the Daily schedule comes due, and OK closes it.
  void OpenListWhileDue() {
    view_.schedule_list = [&](ScheduleListModel model) {
      Step();
      Step();
      return std::optional(model.Result());
    };
    form_->Schedule1Click();
    view_.schedule_list = nullptr;
    dialog_opened_ = true;
  }

  // Once, the Daily is edited in the list at noon to the same time of day, of more digits
  // than the file keeps; after it ran, the list is read again within its window.
  void EditDailyInTheList() {
    view_.schedule_list = [&](ScheduleListModel model) {
      ScheduleFormValues values = model.EditSchedule(kDaily);
      values.Time21 = std::floor(Local()) + Minutes(23, 30);
      model.Store(kDaily, values);
      return std::optional(model.Result());
    };
    form_->Schedule1Click();
    view_.schedule_list = nullptr;
    edited_on_ = std::floor(Local());
  }

  // The sessions in the files: those written, then those the checkpoint keeps. Read here:
  // a line is start, duration and expense, each ended by four TABs, then the entry.
  std::vector<TimeRecord> Recorded() {
    std::vector<TimeRecord> records;
    std::set<std::string> held;  // by start, as the line keeps it, and entry
    for (const char* file : {kCsv, kCheckpoint}) {
      const auto found = files_.content.find(file);
      std::istringstream lines(found == files_.content.end() ? "" : found->second);
      for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
          line.pop_back();
        double field[3];
        size_t at = 0;
        for (double& number : field) {
          const size_t tabs = line.find("\t\t\t\t", at);
          EXPECT_NE(tabs, std::string::npos) << line;
          number = std::strtod(line.substr(at, tabs - at).c_str(), nullptr);
          at = tabs + 4;
        }
        // A checkpoint's line goes on after the entry with what Sessions.csv adds, and may
        // keep a session TimeCount.CSV holds for Sessions.csv alone.
        const std::string entry = line.substr(at, line.find('\t', at) - at);
        const std::string key = line.substr(0, line.find('\t')) + "," + entry;
        if (file == kCsv)
          held.insert(key);
        if (file == kCsv || !held.count(key))
          records.push_back({field[0], field[1], field[2], entry});
      }
    }
    return records;
  }

  // The sessions in the files are those the test saw end, in order, then the running
  // one's checkpoint once a tick wrote it.
  void CheckRecorded() {
    const std::vector<TimeRecord> written = Recorded();
    const size_t running = written.size() - std::min(written.size(), expected_.size());
    ASSERT_TRUE(running == 0 || (running == 1 && session_)) << written.size();
    for (size_t i = 0; i < expected_.size() && i < written.size(); ++i) {
      EXPECT_EQ(written[i].entry, expected_[i].entry) << i;
      EXPECT_NEAR(written[i].start, expected_[i].start, 1e-3 * kSecond) << i;
      EXPECT_NEAR(written[i].duration, expected_[i].duration, kSecond) << i;
    }
    if (running == 1) {
      EXPECT_EQ(written.back().entry, session_->entry);
      EXPECT_NEAR(written.back().start, session_->start, 1e-3 * kSecond);
    }
    CheckSessionsFile();
  }

  // The start of a session to the millisecond, as both files tell it apart.
  static std::string Key(double start, const std::string& entry) {
    const CalendarTime c = FromDateTime(start);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d,", c.year, c.month, c.day,
                  c.hour, c.minute, c.second, c.millisecond);
    return text + entry;
  }

  // Sessions.csv holds the sessions the test saw end, with the bytes it moved on their
  // lines, each once and in order, but for those the checkpoint keeps for it.
  void CheckSessionsFile() {
    struct Fuller {
      std::string key;
      uint64_t received, sent;
      double cost;
    };
    std::vector<Fuller> sessions;
    std::set<std::string> keys, lines_seen;
    std::istringstream lines(files_.content[kSessions]);
    for (std::string line; std::getline(lines, line);) {
      std::vector<std::string> f;
      std::istringstream fields(line);
      for (std::string field; std::getline(fields, field, ',');)
        f.push_back(field);
      if (f.size() != 10 || f[0] == "\xEF\xBB\xBFStart")
        continue;
      sessions.push_back(
          {f[0].substr(0, 23) + "," + f[6], std::stoull(f[3]), std::stoull(f[4]), std::stod(f[5])});
      keys.insert(sessions.back().key);
      // The hour the autumn change repeats may begin two sessions at one local time: their
      // ends tell them apart, where a line written twice has both the same.
      EXPECT_TRUE(lines_seen.insert(f[0] + "," + f[1] + "," + f[6]).second) << line;
    }
    std::istringstream kept(files_.content.count(kCheckpoint) ? files_.content[kCheckpoint] : "");
    for (std::string line; std::getline(kept, line);) {
      std::vector<std::string> f;
      for (size_t at = 0, tabs; at != std::string::npos;
           at = tabs == std::string::npos ? tabs : tabs + 4) {
        tabs = line.find("\t\t\t\t", at);
        f.push_back(line.substr(at, tabs - at));
      }
      ASSERT_EQ(f.size(), 12u) << line;
      const std::string key = Key(std::stod(f[0]), f[3]);
      if (!keys.count(key))
        sessions.push_back({key, std::stoull(f[7]), std::stoull(f[8]), std::stod(f[2])});
    }
    const size_t running = sessions.size() - std::min(sessions.size(), expected_.size());
    ASSERT_TRUE(running == 0 || (running == 1 && session_)) << sessions.size();
    ASSERT_GE(sessions.size(), expected_.size());
    for (size_t i = 0; i < expected_.size(); ++i) {
      EXPECT_EQ(sessions[i].key, Key(expected_[i].start, expected_[i].entry)) << i;
      EXPECT_EQ(sessions[i].received, expected_[i].received) << i;
      EXPECT_EQ(sessions[i].sent, expected_[i].sent) << i;
      const TimeRecord& r = expected_[i];
      double time = 0, cost = 0;
      Count(PlanOf(r.entry), r.start, r.start + r.duration, time, cost);
      EXPECT_NEAR(sessions[i].cost, cost, 1e-3) << i;
    }
  }

  // The day's and the billing period's time and cost of every connection, recounted from
  // the files and the plans, against the program's counters.
  void CheckDay() {
    CheckRecorded();
    const double now = Local(), today = std::floor(now);
    const std::vector<TimeRecord> records = Recorded();
    const TAccountTable& table = form_->Connections().Table();
    for (const Plan& plan : kPlans) {
      double time[3] = {}, cost[3] = {};  // today, the billing period, the budget
      const double billing = BillingStart(plan.billing_day, today);
      const double from[3] = {today, billing, billing};
      for (const TimeRecord& r : records) {
        if (!CountsFor(plan, r.entry))
          continue;
        for (int k = 0; k < 3; ++k)
          Count(plan, std::max(r.start, from[k]), std::min(r.start + r.duration, now), time[k],
                cost[k], k == 2);
      }
      const AccountInfo* row = nullptr;
      for (const AccountInfo& candidate : table)
        if (candidate.InUse && candidate.EntryName == Called(plan))
          row = &candidate;
      ASSERT_NE(row, nullptr);
      const std::string where = Called(plan) + " on " + Date(now);
      EXPECT_NEAR(row->TodayTime, time[0], kSecond) << where;
      EXPECT_NEAR(static_cast<double>(row->TodayExpense), cost[0], 1e-3) << where;
      EXPECT_NEAR(row->BillingTime, time[1], kSecond) << where;
      EXPECT_NEAR(static_cast<double>(row->BillingExpense), cost[1], 1e-3) << where;
      EXPECT_NEAR(row->BudgetTime, time[2], kSecond) << where;
      EXPECT_NEAR(static_cast<double>(row->BudgetExpense), cost[2], 1e-3) << where;
      // The bytes moved in the period, a session across its start by its share of the time:
      // the ticks count a step's bytes at the step's end, so one step may differ.
      double bytes = 0;
      std::vector<TimeRecord> sessions = expected_;
      if (session_) {
        sessions.push_back(
            {session_->start, (clock_.Now() - session_->start_ms) / kMsPerDay, 0, session_->entry});
        sessions.back().received = session_->received;
        sessions.back().sent = session_->sent;
        sessions.back().budget_bytes = session_->budget;
      }
      // And those outside the free hours, which the budget counts whether or not the program
      // was started again since; a session across the period's start by its share of the
      // time outside them.
      double budget_bytes = 0;
      for (const TimeRecord& r : sessions) {
        const double end = r.start + r.duration;
        if (!CountsFor(plan, r.entry) || end < from[1] || r.duration <= 0)
          continue;
        bytes += (r.received + r.sent) * (end - std::max(r.start, from[1])) / r.duration;
        double in_period = 0, all = 0, unused = 0;
        Count(plan, std::max(r.start, from[1]), end, in_period, unused, true);
        Count(plan, r.start, end, all, unused, true);
        budget_bytes += *r.budget_bytes * (r.start >= from[1] ? 1 : all > 0 ? in_period / all : 0);
      }
      EXPECT_NEAR(static_cast<double>(row->BillingBytes), bytes, plan.step_bytes * 9 / 8) << where;
      EXPECT_NEAR(static_cast<double>(row->BudgetBytes), budget_bytes, plan.step_bytes * 9 / 8)
          << where;
    }
    ++checked_days_;
  }

  // The span from `from` to `to` on the plan, hour by hour.
  // With `budget`, the free hours are left out.
  static void Count(const Plan& plan, double from, double to, double& time, double& cost,
                    bool budget = false) {
    for (; to > from; from = std::min(to, (std::floor(from * 24 + 1e-9) + 1) / 24)) {
      const double end = std::min(to, (std::floor(from * 24 + 1e-9) + 1) / 24);
      const int hour = static_cast<int>(std::floor((from - std::floor(from)) * 24 + 1e-9)) % 24;
      if (budget && hour >= plan.free_from && hour < plan.free_to)
        continue;
      // Day 0, 30 December 1899, was a Saturday.
      const bool weekend = plan.weekend > 0 && static_cast<int64_t>(std::floor(from)) % 7 < 2;
      const bool in_section = plan.from < plan.to
                                  ? hour >= plan.from && hour < plan.to
                                  : plan.from != plan.to && (hour >= plan.from || hour < plan.to);
      time += end - from;
      cost += (end - from) * 24 *
              (weekend      ? plan.weekend
               : in_section ? plan.section
                            : plan.general);
    }
  }

  // Year, month and day of a date, counted here from 1 March of year 0.
  struct Civil {
    int year, month, day;
  };
  static Civil CivilOf(double date) {
    const int64_t z = static_cast<int64_t>(std::floor(date)) + 693899;  // days since 1 March 0
    const int64_t era = z / 146097, doe = z % 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (month <= 2)), month,
            static_cast<int>(doy - (153 * mp + 2) / 5 + 1)};
  }

  // The last day up to `today` that is the billing day, or its month's last day in a
  // month too short for it.
  static double BillingStart(int billing_day, double today) {
    for (double day = today;; day -= 1) {
      const Civil t = CivilOf(day);
      const int last = CivilOf(day + 1).day == 1 ? t.day : 32;
      if (t.day == std::min(billing_day, last))
        return day;
    }
  }

  static std::string Date(double t) {
    const CalendarTime c = FromDateTime(t);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", c.year, c.month, c.day, c.hour,
                  c.minute);
    return text;
  }

  // The bookkeeping of the fakes, which the soak would otherwise pile up.
  void ClearFakes() {
    for (const std::string& error : prompts_.errors) {
      const bool waiting = error.find("stay there for the next write") != std::string::npos;
      const bool unread =
          error.find("leave its sessions out until it can be read") != std::string::npos;
      EXPECT_TRUE(waiting || unread ||
                  error.find("could not be recorded in full") != std::string::npos)
          << error;
      held_start_errors_ += waiting ? 1 : 0;
      unread_start_errors_ += unread ? 1 : 0;
      start_errors_ += waiting || unread ? 1 : 0;
    }
    errors_ += static_cast<int>(prompts_.errors.size());
    prompts_.errors.clear();
    registry_.reads.clear();
    registry_.performance_sizes.clear();
    sound_.played.clear();
    files_.content[kLogPath].clear();
  }

  // What the fakes hold of files, which grow with the soak by design.
  size_t FileBytes() {
    size_t bytes = 0;
    for (const auto& [path, text] : files_.content)
      bytes += text.capacity();
    return bytes;
  }

  struct Session {
    std::string entry;
    double start;
    uint64_t start_ms;
    uint64_t received = 0, sent = 0;
    uint64_t budget = 0;                                 // the bytes outside the free hours
    std::tuple<uint64_t, uint64_t, uint64_t> kept = {};  // the three as the checkpoint keeps them
    std::string line = {};  // the entry as dialed, by which RAS knows the line
  };
  std::optional<Session> woke_;          // the session a wake begins, until the next tick
  std::array<int, 3> told_sleeps_ = {};  // by how the program learned of them
  struct Run {
    double local;
    uint64_t monotonic_ms;
    int run_of_program;    // how many kills came before
    uint64_t loop_origin;  // after the run: the multiple of the interval it ran for
  };
  std::optional<Session> session_;
  std::vector<TimeRecord> expected_;
  std::array<std::vector<Run>, kSlots> runs_;
  std::array<std::vector<std::string>, kLoop> windows_;
  std::array<double, kSlots> seen_{};
  bool changed_[4] = {};
  bool extra_ = false;
  const Plan* renamed_ = nullptr;
  int renamed_in_run_ = -1;
  bool dialog_opened_ = false;
  double edited_on_ = 0;
  uint64_t last_tick_ms_ = 0;
  int errors_ = 0, locked_appends_ = 0, rebuilds_ = 0, sleeps_ = 0, kills_ = 0, checked_days_ = 0;
  int held_starts_ = 0, held_start_errors_ = 0, skipped_windows_ = 0, reread_in_window_ = 0;
  int online_across_changes_ = 0, unread_starts_ = 0, unread_start_errors_ = 0;
  int start_errors_ = 0;  // boxes at a start, which may say both
  int locks_ = 0;
};

TEST_F(CalendarSoakTest, FourHundredDaysKeepEverySessionCountAndScheduleRight) {
  StartProgram();
  std::mt19937 random(2027);
  double checked_date = 0;
  size_t heap_warmed_up = 0;
  while (Local() < kFirstDay + kDays && !HasFailure()) {
    const double tod = TimeOfDay(Local());
    if (!dialog_opened_ && Local() > kFirstDay + 100 && tod >= Minutes(23, 24) &&
        tod < Minutes(23, 30))
      OpenListWhileDue();
    if (edited_on_ == 0 && Local() > kFirstDay + 50 && tod >= Minutes(12, 0))
      EditDailyInTheList();
    if (std::floor(Local()) == edited_on_ && tod >= Minutes(23, 40) && tod < Minutes(23, 50) &&
        reread_in_window_ == 0) {
      form_->Schedule1Click();  // read again, and cancelled
      ++reread_in_window_;
    }
    Step();
    Act(random);
    if (TimeOfDay(Local()) >= Minutes(23, 54) && std::floor(Local()) != checked_date) {
      checked_date = std::floor(Local());
      CheckDay();
      ClearFakes();
      if (checked_days_ == 30)
        heap_warmed_up = HeapInUse() - FileBytes();
    }
  }
  ASSERT_FALSE(HasFailure());
  ClearFakes();
  const size_t heap_at_end = HeapInUse() - FileBytes();

  // The last sessions reach the file: the line goes, and a new start appends what waited.
  files_.locked.clear();
  form_->HangUp1Click();
  Observe();
  StartProgram();
  ASSERT_FALSE(files_.content.count(kCheckpoint));
  CheckRecorded();

  // Each schedule ran once in every window a tick saw, and nowhere else.
  for (int slot = 0; slot < kLoop; ++slot) {
    std::vector<std::string> runs;
    for (const Run& run : runs_[slot])
      runs.push_back(WindowKey(slot, run.local));
    EXPECT_EQ(runs, windows_[slot]) << "schedule " << slot;
  }
  // The loop kept its rhythm: within a run of the program it ran for multiples of 5 h 20
  // min from where it started, each within its window of 10 minutes, sleeps or not.
  constexpr uint64_t kInterval = 320 * 60000;
  ASSERT_GT(runs_[kLoop].size(), 100u);
  for (size_t i = 0; i < runs_[kLoop].size(); ++i) {
    const Run& run = runs_[kLoop][i];
    EXPECT_LE(run.monotonic_ms - run.loop_origin, 10 * 60000u) << i;
    if (i > 0 && run.run_of_program == runs_[kLoop][i - 1].run_of_program) {
      EXPECT_EQ((run.loop_origin - runs_[kLoop][i - 1].loop_origin) % kInterval, 0u) << i;
    }
  }

  // No error box but those of the held file, each said.
  ClearFakes();
  EXPECT_EQ(errors_, locked_appends_ + start_errors_);
  EXPECT_EQ(unread_start_errors_, unread_starts_);
  EXPECT_GT(unread_starts_, 0);
  EXPECT_LT(heap_at_end, heap_warmed_up + 64 * 1024);
  EXPECT_GT(sleeps_, 5);
  for (int told : told_sleeps_)
    EXPECT_GT(told, 0);  // unannounced, announced without and with the resume check
  EXPECT_GT(kills_, 5);
  EXPECT_GT(rebuilds_, 5);
  EXPECT_GT(locked_appends_, 5);
  // Sessions whose received count wrapped at 32 bits, and were counted whole all the same.
  EXPECT_GT(std::count_if(expected_.begin(), expected_.end(),
                          [](const TimeRecord& r) { return r.received >> 32 != 0; }),
            0);
  EXPECT_TRUE(dialog_opened_);
  EXPECT_TRUE(renamed_);
  EXPECT_GT(held_start_errors_, 0);
  EXPECT_EQ(skipped_windows_, 2);
  EXPECT_EQ(online_across_changes_, 3);
  EXPECT_EQ(reread_in_window_, 1);
  std::printf(
      "%d days checked, %zu sessions, %d sleeps, %d kills (%d starts with TimeCount.CSV held, "
      "%d with sessions waiting), %d rebuilds, %d held appends, %zu daily / %zu hourly / %zu "
      "weekly / %zu monthly / %zu loop runs, %d weekly windows skipped by the spring change, "
      "%d list read again in the window of a schedule edited there, %d changes of daylight "
      "saving online, %d starts with TimeCount.CSV unreadable\n",
      checked_days_, expected_.size(), sleeps_, kills_, held_starts_, held_start_errors_, rebuilds_,
      locked_appends_, runs_[kDaily].size(), runs_[kHourly].size(), runs_[kWeekly].size(),
      runs_[kMonthly].size(), runs_[kLoop].size(), skipped_windows_, reread_in_window_,
      online_across_changes_, unread_starts_);
}

}  // namespace
