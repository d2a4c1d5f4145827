// The connection log "DialLog.TXT".
#include "app/dial_log.h"

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

std::string DialLog::Path() const {
  return files_.ExeDir() + kLogFileName;
}

void DialLog::Delete() {
  if (files_.Exists(Path()))
    files_.Remove(Path());
}

bool DialLog::Write(const std::string& text, LogKind kind, std::string& error) {
  return files_.Append(Path(), FormatLogLine(locale_.LongTimeNow(), kind, text), error);
}
