// A soak of the running program on fake time: thousands of dials through the RAS
// substitute, mixing every way a dial can end and sleeps of the machine, with
// keep-connection switched on and off, the user's actions and schedules loaded and every
// watch of the line on. No dial may end stuck, leave a line behind
// in RAS, or cost a session its one line in TimeCount.CSV and in Sessions.csv.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "accounting/sessions_file.h"
#include "accounting/time_records.h"
#include "fakes/heap_in_use.h"
#include "mainform_fixture.h"
#include "rassim/rassim.h"
#include "hotkeys/hotkeys.h"

namespace {

constexpr int kCycles = 10000;
// Heap in use may grow while caches fill, but not after these.
constexpr int kWarmUpCycles = 1000;
constexpr size_t kHeapSlack = 64 * 1024;
constexpr const char* kTimeCount = "C:\\Tarvolin\\TimeCount.CSV";
constexpr const char* kSessions = "C:\\Tarvolin\\Sessions.csv";
// Longer than any dial here takes to end, in fake time.
constexpr uint64_t kPatienceMs = 60000;

// What the user does in one cycle; connects and drops come twice as often as the others.
enum class Move { Connect, Drop, Busy, Locked, Vanish, Refuse, HangUp, Redial, Wait, Sleep };
constexpr Move kMoves[] = {Move::Connect, Move::Connect, Move::Drop,   Move::Drop,
                           Move::Busy,    Move::Locked,  Move::Vanish, Move::Refuse,
                           Move::HangUp,  Move::Redial,  Move::Wait,   Move::Sleep};
// Each move's name and the entry it dials, in the order of Move.
struct MoveText {
  const char* name;
  const char* entry;
};
constexpr MoveText kMoveTexts[] = {{"connect", "Good"},
                                   {"line drop", "Good"},
                                   {"busy", "Busy"},
                                   {"wrong password", "Locked"},
                                   {"vanish", "Ghost"},
                                   {"refuse", "Refused"},
                                   {"hang-up while dialing", "Ringing"},
                                   {"redial hotkey while dialing", "Ringing"},
                                   {"wait", ""},
                                   {"sleep", "Good"}};
constexpr const char* k631 = "\tError  \tThe port was disconnected by the user.";

// Where a cycle may end.
enum class End { Stuck, Online, Offline, RedialPending };
constexpr const char* kEndNames[] = {"stuck", "online", "offline", "redial pending"};

class SoakTest : public MainformTest {
 protected:
  SoakTest()
      : MainformTest(
            "[Good]\nStepDelayMs=0\n"
            "[Busy]\nOutcome=busy\nStepDelayMs=0\n"
            "[Locked]\nOutcome=badaccount\nStepDelayMs=0\n"
            "[Ghost]\nOutcome=vanish\nStepDelayMs=0\n"
            "[Refused]\nOutcome=refuse\n"
            "[Ringing]\nStepDelayMs=60000\n") {
    files_.content["C:\\Tarvolin\\Actions.ini"] =
        "[a]\r\nFileName=before\r\nBeforeDialing=1\r\n[b]\r\nFileName=up\r\nAfterConnected=1\r\n"
        "[c]\r\nFileName=down\r\nWhenDisconnected=1\r\n[d]\r\nFileName=error\r\n"
        "WhenErrorOccurs=1\r\n";
    files_.content["C:\\Tarvolin\\Entries.ini"] = "[Busy]\r\nPN=1\r\nPNList=1^^2^^3^^\r\n";
    // Every few minutes of fake time a schedule hangs up (asking first) or dials.
    files_.content["C:\\Tarvolin\\Schedules.ini"] = Loop(0, 1, 7, true) + Loop(1, 0, 5, false);
  }

  static std::string Loop(int slot, int event, int minutes, bool confirm) {
    return "[Schedule" + std::to_string(slot) + "]\r\nEventType=" + std::to_string(event) +
           "\r\nPeriod=5\r\nDateTime01=0\r\nMinute11=0\r\nTime21=0\r\nWeek31=0\r\n"
           "Time32=0\r\nMonth41=0\r\nTime42=0\r\nHour51=0\r\nMinute52=" +
           std::to_string(minutes) + "\r\nPeriodOfValidity=10\r\nConfirm=" + (confirm ? "1" : "0") +
           "\r\n";
  }

  void StartProgram() {
    AppSettings& settings = Start().Settings();
    settings.CkbEnableAllActions = true;
    settings.CkbEnableAllSchedules = true;
    settings.UdWaitTime = 3;
    settings.UdRedialAfter = 1;
    // Redials that stop, wait longer and change numbers; a user's dial starts afresh, so
    // each move still ends as without them.
    settings.UdStopAfterFailures = 3;
    settings.CkbStopOnRefusal = true;
    settings.CkbLongerWait = true;
    settings.CkbNextNumberWhenBusy = true;
    // The watches of the line: echoes answered or not at random, while data always flows.
    settings.CkbPingSrv = settings.CkbDeadLine = true;
    settings.UdDeadLineEchoes = 1;
    settings.CkbResumeCheck = true;
    settings.UdResumeSettle = 1;
    settings.CkbPatientRetry = true;
    settings.UdPatientRetryMinutes = 1;
    network_.mode = IcmpMode::Library;
  }

  // One cycle; false when it failed the test.
  bool RunCycle(std::mt19937& random) {
    ClearRecords();
    if (random() % 4 == 0) {
      form_->HangUp1Click();
    }
    if (random() % 4 == 0) {
      form_->KeepConnection1Click();
    }
    for (auto& answer : network_.pending) {
      answer({random() % 2 == 0 ? 0u : 11010u, 0x7F000001, 1});
    }
    network_.pending.clear();
    move_ = kMoves[random() % std::size(kMoves)];
    if (!Perform(random)) {
      return false;
    }
    return Settle() && CheckEnd() && CheckRasHoldsOnlyTheLine() && CheckSessions();
  }

  bool Perform(std::mt19937& random) {
    if (move_ == Move::Wait) {
      Elapse(1000 + random() % 4000);
      return !HasFailure();
    }
    Dial(Text().entry);
    switch (move_) {
      case Move::Drop:
        return Settle() && DropIfOnline();
      case Move::HangUp:
        return HangUpWhileDialing();
      case Move::Redial:
        return RedialWhileDialing();
      case Move::Sleep:
        return Settle() && Sleep(random);
      default:
        return true;
    }
  }

  const MoveText& Text() const { return kMoveTexts[static_cast<int>(move_)]; }

  void Dial(const std::string& entry) {
    form_->CnListSelectItem(entry);
    form_->Dial1Click();
  }

  bool DropIfOnline() {
    if (!form_->Dialing().Online()) {
      return true;  // a schedule hung up first
    }
    rassim::Drop("Good");
    return RunUntil("notice the drop", [&] { return !form_->Dialing().Online(); });
  }

  // Hours asleep, in which the line may go down; no tick runs meanwhile.
  bool Sleep(std::mt19937& random) {
    form_->SystemSuspending();
    clock_.Advance(3600000 * (1 + random() % 8));
    const bool online = form_->Dialing().Online();
    dropped_in_sleep_ = online && random() % 2 == 0;
    if (dropped_in_sleep_) {
      rassim::Drop("Good");
    }
    form_->SystemResumed();
    // A line that outlived the sleep begins its new session once the wake has settled,
    // unless a schedule took it down first.
    return !online || dropped_in_sleep_ || RunUntil("settle after the wake", [&] {
      return LogCount("Awake again: the line is still up, and a new session begins.") +
                 LogCount("Perform schedule task") >
             0;
    });
  }

  bool HangUpWhileDialing() {
    if (!RunUntil("start ringing", [&] { return LogCount("Opening port") > 0; })) {
      return false;
    }
    const int said = LogCount(k631);
    form_->HangUp1Click();
    // The attempt's last word is awaited here, as a user would not dial again that fast;
    // the redial hotkey does, and has its own move.
    if (!RunUntil("hear of the hang-up", [&] { return LogCount(k631) > said; })) {
      return false;
    }
    // A scheduled dial of this entry would ring for a minute of real time.
    form_->CnListSelectItem("Good");
    return true;
  }

  // The hotkey hangs up and dials again at once; the new dial must ring on past the redial
  // delay, whenever the last word of the old one comes.
  bool RedialWhileDialing() {
    if (!RunUntil("start ringing", [&] { return LogCount("Opening port") > 0; })) {
      return false;
    }
    form_->WMHotKey(kHotKeyRedialId);
    Elapse(3000);
    return !HasFailure() && HangUpWhileDialing();
  }

  // Lets fake time run until `done`, for kPatienceMs at most.
  bool RunUntil(const std::string& what, const std::function<bool()>& done) {
    const uint64_t deadline = clock_.Now() + kPatienceMs;
    const bool ran = ui_.RunUntil([&] { return done() || clock_.Now() >= deadline; });
    if (ran && done()) {
      return true;
    }
    ADD_FAILURE() << Where() << (ran ? "did not " : "fake time stopped before it could ") << what
                  << "\n"
                  << Describe();
    return false;
  }

  bool Settle() {
    return RunUntil("come to an end", [&] { return EndState() != End::Stuck; });
  }

  End EndState() {
    const DialingController& dialing = form_->Dialing();
    if (dialing.Dialing()) {
      return End::Stuck;
    }
    TRasConnStatusA status{};
    const bool known = Status(form_->DialUp().ConnectionHandle(), status);
    if (dialing.Online()) {
      const bool up = known && status.rasconnstate == kRasConnected && status.dwError == 0;
      return up ? End::Online : End::Stuck;
    }
    if (known) {
      return End::Stuck;  // offline, yet RAS still holds the line
    }
    return dialing.RedialTimer().Enabled() && !dialing.UserHungUp() ? End::RedialPending
                                                                    : End::Offline;
  }

  // The end each move should reach, unless a schedule stepped in.
  bool CheckEnd() {
    const End end = EndState();
    const bool scheduled = LogCount("Perform schedule task") > 0;
    scheduled_cycles_ += scheduled;
    if (scheduled || move_ == Move::Wait) {
      return true;
    }
    const bool keep = form_->Settings().CkbKeepConnection;
    bool expected = false;
    switch (move_) {
      case Move::Connect:
        expected = end == End::Online;
        break;
      case Move::Drop:
        expected = keep ? end == End::Online : end != End::Online;
        break;
      case Move::Busy:
      case Move::Locked:
      case Move::Vanish:
        expected = end == End::RedialPending;
        break;
      case Move::Refuse:
        expected = end != End::Online;
        break;
      case Move::HangUp:
        expected = end == End::Offline && form_->Dialing().UserHungUp();
        break;
      case Move::Redial:
        expected = end == End::Offline && form_->Dialing().UserHungUp() &&
                   LogCount("Connecting to Ringing...") == 2;
        break;
      case Move::Sleep:
        expected = !dropped_in_sleep_ ? end == End::Online
                   : keep             ? end == End::RedialPending
                                      : end == End::Offline;
        break;
      case Move::Wait:
        break;
    }
    if (!expected) {
      ADD_FAILURE() << Where() << "ended " << kEndNames[static_cast<int>(end)] << "\n"
                    << Describe();
    }
    return expected;
  }

  // Every handle RAS ever gave the program is gone, but for the line it is online on.
  bool CheckRasHoldsOnlyTheLine() {
    const auto current = reinterpret_cast<uintptr_t>(form_->DialUp().ConnectionHandle());
    newest_ = std::max(newest_, current);
    if (oldest_open_ == 0) {
      oldest_open_ = current;
    }
    for (; oldest_open_ != 0 && oldest_open_ <= newest_; ++oldest_open_) {
      if (oldest_open_ == current && form_->Dialing().Online()) {
        break;
      }
      TRasConnStatusA status{};
      if (Status(reinterpret_cast<RasHandle>(oldest_open_), status)) {
        ADD_FAILURE() << Where() << "RAS still holds handle " << std::hex << std::showbase
                      << oldest_open_ << std::dec << " in state " << status.rasconnstate << "\n"
                      << Describe();
        return false;
      }
    }
    return true;
  }

  // One line in TimeCount.CSV for each session that ended, naming the entry connected.
  // The program only ever appends to the file, so the lines read are taken out of it.
  bool CheckSessions() {
    const int connects = LogCount("Connected to server: ");
    sessions_ += connects + LogCount("Awake again: the line is still up");
    int ups = 0;
    for (const auto& start : shell_.started) {
      ups += start.file == "up";
    }
    std::string entries;
    TimeRecordReader reader([&](const TimeRecordView& record) {
      ++records_;
      if (record.entry != "Good") {
        entries += " " + std::string(record.entry);
      }
    });
    reader.Feed(files_.content[kTimeCount]);
    files_.content[kTimeCount].clear();
    SessionLineReader fuller([&](const SessionLine& line) {
      ++fuller_records_;
      if (line.entry != "Good")
        entries.append(" ").append(line.entry);
    });
    fuller.Feed(files_.content[kSessions]);
    fuller.Finish();
    files_.content[kSessions].clear();
    const int running = form_->Dialing().Online() ? 1 : 0;
    if (ups == connects && records_ == sessions_ - running && fuller_records_ == records_ &&
        entries.empty() && reader.BadLineCount() == 0 && fuller.BadLineCount() == 0) {
      return true;
    }
    ADD_FAILURE() << Where() << sessions_ << " sessions (" << running << " running), " << records_
                  << " lines in TimeCount.CSV, " << fuller_records_ << " in Sessions.csv, " << ups
                  << " of " << connects << " AfterConnected actions run, other entries:" << entries
                  << "\n"
                  << Describe();
    return false;
  }

  bool Status(RasHandle handle, TRasConnStatusA& status) {
    status.dwSize = kRasConnStatusSize;
    return ras_.RasGetConnectStatusA(handle, &status) != kRasInvalidHandle;
  }

  // The cycle's own records: the log and what the fakes noted.
  void ClearRecords() {
    files_.content[kLogPath].clear();
    shell_.started.clear();
    view_.journal.clear();
    prompts_.questions.clear();
    sound_.played.clear();
    registry_.reads.clear();
    registry_.performance_sizes.clear();
  }

  std::string Where() const {
    const std::string keep = form_->Settings().CkbKeepConnection ? "on" : "off";
    if (cycle_ > kCycles) {
      return "After the last cycle (keep " + keep + ") ";
    }
    return "Cycle " + std::to_string(cycle_) + " (" + Text().name + ", keep " + keep + ") ";
  }

  std::string Describe() {
    const DialingController& d = form_->Dialing();
    TRasConnStatusA status{};
    const bool known = Status(form_->DialUp().ConnectionHandle(), status);
    char ras[64];
    std::snprintf(ras, sizeof ras, "state %u error %u", status.rasconnstate, status.dwError);
    return std::string("online ") + (d.Online() ? "yes" : "no") + ", dialing " +
           (d.Dialing() ? "yes" : "no") + ", hung up by the user " +
           (d.UserHungUp() ? "yes" : "no") + ", redial timer " +
           (d.RedialTimer().Enabled() ? "on" : "off") + ", wait timer " +
           (d.WaitTimeTimer().Enabled() ? "on" : "off") + ", RAS: " + (known ? ras : "gone") +
           "\nThe cycle's log:\n" + Log();
  }

  int cycle_ = 0;
  Move move_ = Move::Wait;
  bool dropped_in_sleep_ = false;
  uintptr_t oldest_open_ = 0;  // handles before it are gone for good
  uintptr_t newest_ = 0;
  int sessions_ = 0;
  int records_ = 0;
  int fuller_records_ = 0;
  int scheduled_cycles_ = 0;
};

TEST_F(SoakTest, TenThousandDialsEndOnlineOfflineOrRedialingAndLeaveNothingBehind) {
  StartProgram();
  std::mt19937 random(18);
  size_t heap_warmed_up = 0;
  for (cycle_ = 1; cycle_ <= kCycles && RunCycle(random); ++cycle_) {
    if (cycle_ == kWarmUpCycles) {
      heap_warmed_up = HeapInUse();
    }
  }
  ASSERT_FALSE(HasFailure());
  // The last session too is written, and RAS then holds nothing.
  ClearRecords();
  form_->HangUp1Click();
  EXPECT_TRUE(CheckSessions());
  EXPECT_TRUE(CheckRasHoldsOnlyTheLine());
  EXPECT_GT(scheduled_cycles_, 0);
  EXPECT_EQ(prompts_.errors, std::vector<std::string>{});
  // Leaks of what is still reachable escape the leak check at exit.
  EXPECT_LT(HeapInUse(), heap_warmed_up + kHeapSlack);
  std::printf("%d cycles, %d sessions, %d cycles with a schedule, %zu bytes of heap in use\n",
              kCycles, sessions_, scheduled_cycles_, HeapInUse());
}

}  // namespace
