// Port: message boxes, and the question for a file to open.
#pragma once

#include <optional>
#include <string>

class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual void Error(const std::string& text) = 0;
  virtual void Information(const std::string& text) = 0;
  // A warning box with OK only.
  virtual void Warning(const std::string& text) = 0;
  // A Yes/No question owned by the main window, Yes the default button and Esc answering
  // No; true for Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
  // An open-file dialog owned by the active window, offering the files `filter` names
  // ("Wave file(*.wav)|*.wav": description and pattern pairs, joined by "|"). The chosen
  // file's full name; nullopt when the user cancelled.
  virtual std::optional<std::string> AskOpenFile(const std::string& filter) = 0;
};
