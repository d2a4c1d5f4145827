// The connection log "DialLog.TXT" and the status line.
#include "app/connection_log.h"

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

ConnectionLog::ConnectionLog(Files& files, Locale& locale, Prompts& prompts, Shell& shell,
                             StatusLine& status, const AppSettings& settings)
    : files_(files),
      locale_(locale),
      prompts_(prompts),
      shell_(shell),
      status_(status),
      settings_(settings) {}

std::string ConnectionLog::Path() const {
  return files_.ExeDir() + kLogFileName;
}

void ConnectionLog::ClearAtStart() {
  if (files_.Exists(Path()))
    files_.Remove(Path());
}

void ConnectionLog::WriteDialLog(const std::string& text, LogKind kind) {
  status_.SetStatus(text, LogColor(kind));
  if (!settings_.CkbWriteLogs)
    return;
  std::string error;
  if (files_.Append(Path(), FormatLogLine(locale_.LongTimeNow(), kind, text), error) ||
      failure_shown_)
    return;
  // One box per run: a log that cannot be written must not bury the user in boxes, nor
  // stop the dial that is being logged.
  failure_shown_ = true;
  prompts_.Error("Cannot write the connection log " + Path() + ": " + error);
}

void ConnectionLog::ViewLogs(void* owner) {
  if (files_.Exists(Path())) {
    shell_.Open(Path(), owner);
  } else {
    prompts_.Information("No logs exist.");
  }
}
