// The Usage window: a window of its own beside the main window, one at a time. It reads
// the record files on a thread of its own and shows what the usage model makes of them.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "accounting/usage_model.h"
#include "platform/dialog_win.h"
#include "platform/files.h"
#include "platform/locale.h"

class UsageWindow : public DialogWin {
 public:
  UsageWindow(Files& files, Locale& locale, UsageModel model, UsageFiles paths);
  // Stops a reading under way and closes the window.
  ~UsageWindow() override;

  void Open();
  // Brings the open window to the front, restored when it was minimised.
  void Raise();
  // Reads the files again, after the reading under way if there is one.
  void Reread();

 private:
  // What the reading thread shares with the window.
  struct Reading {
    std::atomic<uint64_t> done{0};
    std::atomic<bool> stop{false};
    UsageHistory history;
    std::string error;
    bool read = false;
  };

  void OnInit() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(unsigned msg, uintptr_t wparam, intptr_t lparam) override;
  void OnClose() override;

  void StartReading();
  void StopReading();
  void ShowProgress();
  void ReadingDone();
  void Choose();
  void ShowFigures();
  void Export();

  Files& files_;
  Locale& locale_;
  UsageModel model_;
  UsageFiles paths_;
  std::unique_ptr<Reading> reading_;
  std::thread worker_;
  uint64_t total_ = 0;  // the bytes of both files when the reading began
  int ticks_ = 0;       // of the progress timer since then
  bool again_ = false;  // a session was recorded while reading
};
