// In-memory stand-ins for the ports the main controller uses, and a main view that
// records what it was told.
#pragma once

#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/main_view.h"
#include "platform/date_time.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/network.h"
#include "platform/sound.h"
#include "platform/system.h"

class FakeFiles : public Files {
 public:
  std::string ExeDir() override { return "C:\\Tarvolin\\"; }
  std::string ExePath() override { return "C:\\Tarvolin\\tarvolin.exe"; }
  bool Exists(const std::string& path) override { return content.count(path) > 0; }
  bool Remove(const std::string& path) override {
    return !undeletable.count(path) && content.erase(path) > 0;
  }
  bool Append(const std::string& path, const std::string& text, std::string& error) override {
    if (!Writable(error)) {
      return false;
    }
    content[path] += text;
    return true;
  }
  bool ReadAll(const std::string& path, std::string& text, std::string& error) override {
    error.clear();
    const auto it = content.find(path);
    if (it == content.end()) {
      return false;
    }
    text = it->second;
    return true;
  }
  bool ReplaceWhole(const std::string& path, const std::string& text, std::string& error) override {
    if (!Writable(error)) {
      return false;
    }
    content[path] = text;
    return true;
  }

  std::map<std::string, std::string> content;
  // Off, every write fails as a full disk or a locked file would, and changes nothing.
  bool writable = true;
  // Files that cannot be removed, as a read-only file or one another program holds.
  std::set<std::string> undeletable;

 private:
  bool Writable(std::string& error) {
    if (!writable) {
      error = "Access denied.";
    }
    return writable;
  }
};

// Long times as HH:MM:SS.
class FakeLocale : public Locale {
 public:
  std::string LongTime(double date_time) override {
    const CalendarTime t = FromDateTime(date_time);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
  }
  char DecimalSeparator() override { return decimal; }
  char decimal = '.';
};

class FakeShell : public Shell {
 public:
  bool Open(const std::string& file, void*) override {
    opened.push_back(file);
    return true;
  }
  std::vector<std::string> opened;
};

class FakePrompts : public Prompts {
 public:
  void Error(const std::string& text) override { errors.push_back(text); }
  void Information(const std::string& text) override { information.push_back(text); }
  bool AskYesNo(const std::string& caption, const std::string& text) override {
    questions.push_back(caption + ": " + text);
    return answer_yes;
  }
  std::vector<std::string> errors;
  std::vector<std::string> information;
  std::vector<std::string> questions;
  bool answer_yes = true;
};

class FakeMainView : public MainView {
 public:
  void ApplyWindowSettings(const std::string& t, const std::string& c, int l, int tp) override {
    journal.push_back("title " + t);
    title = t;
    caption_label = c;
    left = l;
    top = tp;
  }
  void SetStatus(const std::string& text, uint32_t color) override {
    journal.push_back("status " + text);
    status = text;
    status_color = color;
  }
  void SetOnlineLabel(const std::string& text, uint32_t color) override {
    journal.push_back("online " + text);
    online_label = text;
    online_color = color;
  }
  void ShowConnections(const std::vector<ConnectionRow>& r) override {
    journal.push_back("rows");
    rows = r;
  }
  void MarkSelectedConnection(int index) override { marked = index; }
  std::optional<EntryInfo> ShowPropertyDialog(const PropertyDialogInput& input) override {
    property_dialogs.push_back(input.Profile);
    return std::nullopt;  // the user cancels
  }
  void ShowKeepConnection(bool on) override {
    journal.push_back(on ? "keep on" : "keep off");
    keep = on;
    ++keep_updates;
  }
  void ShowReadouts(const std::array<std::string, 3>& captions,
                    const ReadoutValues& values) override {
    readout_captions = captions;
    for (int i = 0; i < 3; ++i) {
      if (values[i])
        readouts[i] = *values[i];
    }
  }
  void WindowPosition(int& l, int& t) override {
    l = left;
    t = top;
  }
  void HideMainForm() override { visible = false; }
  void ShowMainForm() override { visible = true; }
  void BringToFront() override { ++raised; }
  void Close() override { ++close_requests; }
  void* Handle() override { return this; }

  // What the view was told, in order, for tests of what comes before what.
  std::vector<std::string> journal;
  std::string title, caption_label, status, online_label;
  int left = 0, top = 0, raised = 0, close_requests = 0, marked = -1, keep_updates = 0;
  bool keep = false;
  uint32_t status_color = 1, online_color = 1;
  std::vector<ConnectionRow> rows;
  // The profiles the property dialog was opened with.
  std::vector<EntryInfo> property_dialogs;
  std::array<std::string, 3> readout_captions, readouts;
  bool visible = true;
};

class FakeSound : public Sound {
 public:
  void PlayWave(const std::string& file) override { played.push_back(file); }
  std::vector<std::string> played;
};

class FakeDesktop : public Desktop {
 public:
  void BroadcastSettingChange(const std::string& area) override { broadcasts.push_back(area); }
  bool SetClipboardText(const std::string& text) override {
    clipboard = text;
    ++clipboard_writes;
    return true;
  }
  std::vector<std::string> broadcasts;
  std::string clipboard;
  int clipboard_writes = 0;
};

class FakeSystem : public System {
 public:
  int PlatformFamily() override { return family; }
  int family = 2;
};

// Echoes that go nowhere: what was sent is kept, and a test hands in the answers.
class FakeNetwork : public Network {
 public:
  struct Sent {
    uint32_t address;
    std::vector<uint8_t> message;
  };
  class Socket : public RawIcmpSocket {
   public:
    explicit Socket(FakeNetwork& network) : network_(network) {}
    ~Socket() override { network_.on_datagram = nullptr; }
    bool SendTo(uint32_t address, const std::vector<uint8_t>& message) override {
      network_.sent.push_back({address, message});
      return true;
    }

   private:
    FakeNetwork& network_;
  };

  IcmpMode Mode() override { return mode; }
  // Dotted addresses only; anything else does not resolve.
  uint32_t Resolve(const std::string& host) override {
    unsigned a, b, c, d;
    char rest;
    if (std::sscanf(host.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &rest) != 4)
      return 0xFFFFFFFF;
    return a << 24 | b << 16 | c << 8 | d;
  }
  std::unique_ptr<RawIcmpSocket> OpenRawIcmp(
      std::function<void(const std::vector<uint8_t>&)> receiver) override {
    on_datagram = std::move(receiver);
    return std::make_unique<Socket>(*this);
  }
  void LibraryEcho(uint32_t address, uint8_t, uint8_t, uint32_t,
                   std::function<void(const IcmpEchoResult&)> done) override {
    sent.push_back({address, {}});
    pending.push_back(std::move(done));
  }

  IcmpMode mode = IcmpMode::Raw;
  std::vector<Sent> sent;
  std::function<void(const std::vector<uint8_t>&)> on_datagram;
  std::vector<std::function<void(const IcmpEchoResult&)>> pending;
};
