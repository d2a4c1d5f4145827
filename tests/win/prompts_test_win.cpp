// The Yes/No question: Enter answers Yes, Esc answers No. Wine's own box already ends on Esc;
// the system's ignores it, and there only the program's hook makes it No.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "driver.h"
#include "platform/win_ports.h"

namespace {

// Presses `key` on the question box once it shows.
std::thread PressInBox(WPARAM key) {
  return std::thread([key] {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowA("#32770", "Confirm")) != nullptr; });
    PostMessageA(GetDlgItem(box, IDYES), WM_KEYDOWN, key, 0);
  });
}

TEST(PromptsWin, EnterAnswersYesAndEscAnswersNo) {
  std::unique_ptr<Prompts> prompts = MakeWinPrompts();
  std::thread enter = PressInBox(VK_RETURN);
  EXPECT_TRUE(prompts->AskYesNo("Confirm", "Go on?"));
  enter.join();
  std::thread escape = PressInBox(VK_ESCAPE);
  EXPECT_FALSE(prompts->AskYesNo("Confirm", "Go on?"));
  escape.join();
}

}  // namespace
