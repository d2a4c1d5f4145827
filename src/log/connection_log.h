// The connection log: the status line, and "DialLog.TXT" beside the executable with one
// line per dialing event of the current run.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "settings/app_settings.h"

enum class LogKind { Message, Error };

// Status-line colours (0x00BBGGRR, as the system stores colours).
constexpr uint32_t kLogMessageColor = 0xFF0000;  // RGB(0,0,255)
constexpr uint32_t kLogErrorColor = 0x1029EC;    // RGB(236,41,16)

uint32_t LogColor(LogKind kind);

// Time of day, TAB, "Message" or "Error  ", TAB, text, CR LF.
std::string FormatLogLine(const std::string& time_of_day, LogKind kind, const std::string& text);

// Where the log's texts are shown. Colours are 0x00BBGGRR.
class StatusLine {
 public:
  virtual ~StatusLine() = default;
  virtual void SetStatus(const std::string& text, uint32_t color) = 0;
};

class ConnectionLog {
 public:
  ConnectionLog(Files& files, Clock& clock, Locale& locale, Prompts& prompts, Shell& shell,
                StatusLine& status, const AppSettings& settings);

  std::string Path() const;
  // The log holds one run: an earlier run's file is removed or, when it cannot be, emptied.
  // When neither works the first write's box says so.
  void ClearAtStart();
  // Shows the text in the status line and, with CkbWriteLogs on, appends it to the file.
  // A file that cannot be written is said in one box per run; the caller's flow goes on.
  void WriteDialLog(const std::string& text, LogKind kind);
  // Opens the log in the user's viewer, owned by `owner`, or says there is none.
  void ViewLogs(void* owner);

 private:
  Files& files_;
  Clock& clock_;
  Locale& locale_;
  Prompts& prompts_;
  Shell& shell_;
  StatusLine& status_;
  const AppSettings& settings_;
  std::string clear_failure_;  // why an earlier run's lines are still in the file
  bool failure_shown_ = false;
};
