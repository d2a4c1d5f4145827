// The connection log "DialLog.TXT" and the status line.
#include "log/connection_log.h"

namespace {
constexpr const char* kLogFileName = "DialLog.TXT";
}

uint32_t LogColor(LogKind kind) {
  return kind == LogKind::Message ? kLogMessageColor : kLogErrorColor;
}

std::string FormatLogLine(const std::string& time_of_day, LogKind kind, const std::string& text) {
  // Both kinds are seven characters wide, so the texts line up.
  const char* word = kind == LogKind::Message ? "Message" : "Error  ";
  return time_of_day + "\t" + word + "\t" + text + "\r\n";
}

ConnectionLog::ConnectionLog(Files& files, Clock& clock, Locale& locale, Prompts& prompts,
                             Shell& shell, StatusLine& status, const AppSettings& settings)
    : files_(files),
      clock_(clock),
      locale_(locale),
      prompts_(prompts),
      shell_(shell),
      status_(status),
      settings_(settings) {}

std::string ConnectionLog::Path() const {
  return files_.DataDir() + kLogFileName;
}

void ConnectionLog::ClearAtStart() {
  clear_failure_.clear();
  if (!files_.Exists(Path()) || files_.Remove(Path()))
    return;
  // A read-only or shared file cannot be deleted, but the log must still hold this run
  // alone.
  std::string error;
  if (!files_.ReplaceWhole(Path(), "", error))
    clear_failure_ = "The connection log of an earlier run " + Path() +
                     " could not be removed or emptied: " + error + "\n";
}

void ConnectionLog::WriteDialLog(const std::string& text, LogKind kind) {
  status_.SetStatus(text, LogColor(kind));
  if (!settings_.CkbWriteLogs)
    return;
  std::string error;
  const std::string time = locale_.LongTime(clock_.LocalNow());
  const bool written = files_.Append(Path(), FormatLogLine(time, kind, text), error);
  if (failure_shown_ || (written && clear_failure_.empty()))
    return;
  // One box per run: a log that cannot be written must not bury the user in boxes, nor
  // stop the dial that is being logged.
  failure_shown_ = true;
  prompts_.Error(clear_failure_ +
                 (written ? "" : "Cannot write the connection log " + Path() + ": " + error));
}

void ConnectionLog::ViewLogs(void* owner) {
  if (files_.Exists(Path())) {
    shell_.Open(Path(), owner);
  } else {
    prompts_.Information("No logs exist.");
  }
}
