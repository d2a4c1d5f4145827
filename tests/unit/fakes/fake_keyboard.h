// A keyboard layout with a few named keys, like a US layout names them.
#pragma once

#include <map>
#include <string>

#include "platform/keyboard.h"

class FakeKeyboard : public Keyboard {
 public:
  std::string KeyName(int virtual_key) override {
    auto found = names.find(virtual_key);
    return found == names.end() ? "" : found->second;
  }

  std::map<int, std::string> names = {
      {0x10, "Shift"}, {0x60, "Num 0"}, {0x6A, "Num *"},       {0x6F, "Num /"},
      {0xBA, ";"},     {0xBB, "="},     {0xBD, "-"},           {0xBF, "/"},
      {0xC0, "`"},     {0xDE, "'"},     {0xA1, "Right Shift"},
  };
};
