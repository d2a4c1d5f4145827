// Port: the keyboard layout's own names of keys.
#pragma once

#include <string>

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // The layout's name of the virtual key, "" when it has none.
  virtual std::string KeyName(int virtual_key) = 0;
};
