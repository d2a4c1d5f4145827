// The dead-line watch: a line that is up while nothing passes, told by its keep-alive
// echoes going unanswered and no data coming in.
#pragma once

#include <cstdint>

// Watches the echoes of one connection. It arms at the first answer, so a server that
// never answers echoes is never taken for dead. An echo counts as missed when no answer
// came for it before the next one is due; a run of misses starts again from the last
// echo sent before data came in, so a line that still receives is never dead.
class DeadLineWatch {
 public:
  // A new connection: not armed, nothing missed.
  void Restart() { *this = DeadLineWatch(); }
  // An answer came to the echo sent last.
  void Answered();
  // The next echo is due now; `received` counts the bytes the line has received so far.
  // True when the watch is armed and the last `limit` echoes went unanswered with nothing
  // received since the first of them; then no echo should go out. Otherwise the echo goes
  // out now. A `limit` below 1 never finds the line dead.
  bool EchoDue(int64_t received, int limit);

  bool Armed() const { return armed_; }
  int Missed() const { return missed_; }

 private:
  bool armed_ = false;
  bool waiting_ = false;           // the last echo went out and has no answer yet
  int missed_ = 0;                 // in a row, since the watch armed
  int64_t received_at_send_ = 0;   // when the last echo went out
  int64_t received_at_first_ = 0;  // when the first echo of the run went out
};
