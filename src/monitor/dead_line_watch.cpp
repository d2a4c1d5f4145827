// The dead-line watch.
#include "monitor/dead_line_watch.h"

void DeadLineWatch::Answered() {
  armed_ = true;
  waiting_ = false;
  missed_ = 0;
}

bool DeadLineWatch::EchoDue(int64_t received, int limit) {
  if (armed_ && waiting_) {
    if (missed_ == 0 || received_at_first_ != received_at_send_) {
      // Data came in since the run began: it begins again with the last echo.
      missed_ = 0;
      received_at_first_ = received_at_send_;
    }
    ++missed_;
  }
  if (limit > 0 && missed_ >= limit && received == received_at_first_)
    return true;
  waiting_ = true;
  received_at_send_ = received;
  return false;
}
