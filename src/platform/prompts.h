// Port: message boxes.
#pragma once

#include <string>

class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual void Error(const std::string& text) = 0;
  virtual void Information(const std::string& text) = 0;
};
