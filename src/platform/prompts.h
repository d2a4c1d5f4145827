// Port: message boxes.
#pragma once

#include <string>

class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual void Error(const std::string& text) = 0;
  virtual void Information(const std::string& text) = 0;
  // A Yes/No question owned by the main window, Yes the default button and Esc answering
  // No; true for Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
};
