// The connection log "DialLog.TXT": one line per dialing event, for the current run.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/locale.h"

enum class LogKind { Message, Error };

// Status-line colours (0x00BBGGRR, as the system stores colours).
constexpr uint32_t kLogMessageColor = 0xFF0000;  // RGB(0,0,255)
constexpr uint32_t kLogErrorColor = 0x1029EC;    // RGB(236,41,16)

uint32_t LogColor(LogKind kind);

// Time of day, TAB, "Message" or "Error  ", TAB, text, CR LF.
std::string FormatLogLine(const std::string& time_of_day, LogKind kind, const std::string& text);

class DialLog {
 public:
  DialLog(Files& files, Locale& locale) : files_(files), locale_(locale) {}

  std::string Path() const;
  void Delete();
  // Appends one line. On failure returns false with the system's reason.
  bool Write(const std::string& text, LogKind kind, std::string& error);

 private:
  Files& files_;
  Locale& locale_;
};
