// In-memory stand-ins for the ports the main controller uses, and a main view that
// records what it was told.
#pragma once

#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <map>
#include <optional>
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
#include "platform/xml.h"

class FakeFiles : public Files {
 public:
  std::string ExeDir() override { return "C:\\Tarvolin\\"; }
  std::string ExePath() override { return "C:\\Tarvolin\\tarvolin.exe"; }
  bool Exists(const std::string& path) override { return content.count(path) > 0; }
  bool Remove(const std::string& path) override {
    return !undeletable.count(path) && content.erase(path) > 0;
  }
  bool Append(const std::string& path, const std::string& text, std::string& error) override {
    if (!Writable(path, error)) {
      return false;
    }
    std::string& file = content[path];
    if (!text.empty() && !file.empty() && !file.ends_with('\n'))
      file += "\r\n";  // a line torn by a power cut
    file += text;
    if (after_append)
      after_append(path);
    return true;
  }
  bool ReadPieces(const std::string& path, const Piece& piece, std::string& error) override {
    error.clear();
    if (unreadable.count(path)) {
      error = "The process cannot access the file because it is being used by another process.";
      return false;
    }
    const auto it = content.find(path);
    if (it == content.end()) {
      return false;
    }
    const std::string_view text = it->second;
    for (std::size_t at = 0; at < text.size(); at += piece_size) {
      piece(text.substr(at, piece_size));
    }
    return true;
  }
  bool ReplaceWhole(const std::string& path, const std::string& text, std::string& error) override {
    if (!Writable(path, error)) {
      return false;
    }
    content[path] = text;
    return true;
  }

  std::map<std::string, std::string> content;
  // Off, every write fails as a full disk or a locked file would, and changes nothing.
  bool writable = true;
  // How much of a file ReadPieces hands over at a time: small, so that readers meet lines
  // cut between pieces as they do in a large file.
  std::size_t piece_size = 7;
  // Files that cannot be removed, as a read-only file or one another program holds.
  std::set<std::string> undeletable;
  // Files that exist but cannot be read, as one another program holds open.
  std::set<std::string> unreadable;
  // Files that cannot be written, as one another program holds open for reading only.
  std::set<std::string> locked;
  // Called after each append: a test sees the files as a kill at that moment leaves them.
  std::function<void(const std::string& path)> after_append;

 private:
  bool Writable(std::string& error) {
    if (!writable) {
      error = "Access denied.";
    }
    return writable;
  }
  bool Writable(const std::string& path, std::string& error) {
    if (locked.count(path)) {
      error = "The process cannot access the file because it is being used by another process.";
      return false;
    }
    return Writable(error);
  }
};

// Long times as HH:MM:SS, short dates as YYYY-MM-DD.
class FakeLocale : public Locale {
 public:
  std::string LongTime(double date_time) override {
    const CalendarTime t = FromDateTime(date_time);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
  }
  std::string ShortDate(double date_time) override {
    const CalendarTime t = FromDateTime(date_time);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
    return text;
  }
  char DecimalSeparator() override { return decimal; }
  std::string ListSeparator() override { return list; }
  // The code page is Latin-1 here.
  std::string AnsiToUtf8(const std::string& text) override {
    std::string utf8;
    for (const unsigned char c : text) {
      if (c < 0x80) {
        utf8 += static_cast<char>(c);
      } else {
        utf8 += static_cast<char>(0xC0 | c >> 6);
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return utf8;
  }
  char decimal = '.';
  std::string list = ",";
};

class FakeShell : public Shell {
 public:
  bool Open(const std::string& file, void*) override {
    opened.push_back(file);
    return true;
  }
  bool OpenWith(const std::string& file, const std::string& parameters,
                const std::string& directory, ShowCommand show, void* owner) override {
    started.push_back({file, parameters, directory, show, owner});
    return true;
  }
  struct Start {
    std::string file, parameters, directory;
    ShowCommand show;
    void* owner;
  };
  std::vector<std::string> opened;
  std::vector<Start> started;
};

class FakePrompts : public Prompts {
 public:
  void Error(const std::string& text) override { errors.push_back(text); }
  void Information(const std::string& text) override { information.push_back(text); }
  void Warning(const std::string& text) override { warnings.push_back(text); }
  bool AskYesNo(const std::string& caption, const std::string& text) override {
    questions.push_back(caption + ": " + text);
    if (while_asking)
      while_asking();  // what the box's own message loop runs meanwhile
    return answer_yes;
  }
  std::optional<std::string> AskOpenFile(const std::string& filter) override {
    file_questions.push_back(filter);
    return file_answer;
  }
  std::function<void()> while_asking;
  std::vector<std::string> errors;
  std::vector<std::string> information;
  std::vector<std::string> warnings;
  std::vector<std::string> questions;
  bool answer_yes = true;
  std::vector<std::string> file_questions;
  std::optional<std::string> file_answer;  // none: the user cancelled
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
    return property_answer ? property_answer(input) : std::nullopt;
  }
  // The user's work in the property dialog: the profile on OK; none (and without it) is
  // Cancel.
  std::function<std::optional<EntryInfo>(const PropertyDialogInput&)> property_answer;
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
  std::string ReadoutText(int index) override { return readouts[index]; }
  void ShowBillingHint(const std::string& hint) override { billing_hint = hint; }
  void ShowHistogram(const HistogramBars& b) override { bars = b; }
  void ShowTrayIcon(int index, const std::string& hint) override {
    icon_index = index;
    icon_hint = hint;
  }
  void ShowTrayBalloon(const std::string& text) override { balloons.push_back(text); }
  void WindowPosition(int& l, int& t) override {
    l = left;
    t = top;
  }
  void HideMainForm() override { visible = false; }
  void ShowMainForm() override { visible = true; }
  void BringToFront() override { ++raised; }
  void Close() override { ++close_requests; }
  void* Handle() override { return this; }
  std::optional<HotKeyChoices> EditHotKeys(const HotKeyChoices& choices) override {
    hotkey_dialog_input = choices;
    return hotkey_dialog_answer;
  }
  bool ShowOptions(TOptionForm& form) override {
    ++options_shown;
    return options_answer && options_answer(form);
  }
  void SetAlwaysOnTop(bool on) override { always_on_top = on; }
  void ShowAbout() override { ++abouts_shown; }
  void ShowHelpPopup() override { ++help_popups; }
  void ShowUsage(UsageModel model, const UsageFiles& files) override {
    usage.emplace(std::move(model));
    usage_files = files;
  }
  void UsageChanged() override { ++usage_changes; }
  std::optional<UsageModel> usage;
  UsageFiles usage_files;
  int usage_changes = 0;
  int abouts_shown = 0;
  int help_popups = 0;

  // The user's work in the Options dialog: edits the form's controls, true for OK; none
  // is Cancel.
  std::function<bool(TOptionForm&)> options_answer;
  int options_shown = 0;
  bool always_on_top = false;
  // The user's work in the schedule list: nullopt cancels it.
  std::optional<ScheduleListResult> ShowScheduleList(const ScheduleListModel& model) override {
    ++schedule_lists;
    return schedule_list ? schedule_list(model) : std::nullopt;
  }
  std::function<std::optional<ScheduleListResult>(ScheduleListModel)> schedule_list;
  int schedule_lists = 0;
  bool ShowActionList(ActionListModel& model) override {
    return on_action_list && on_action_list(model);
  }

  // What the user does in the action list; without it the list is cancelled.
  std::function<bool(ActionListModel&)> on_action_list;
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
  std::string billing_hint;
  bool visible = true;
  HistogramBars bars{};
  int icon_index = -1;
  std::string icon_hint;
  std::vector<std::string> balloons;
  // The hotkey dialog opened with the first, and answers with the second.
  std::optional<HotKeyChoices> hotkey_dialog_input, hotkey_dialog_answer;
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
  std::vector<TopLevelWindow> TopLevelWindows() override { return windows; }
  void PostClose(void* window) override { closed.push_back(window); }
  std::vector<std::string> broadcasts;
  std::string clipboard;
  int clipboard_writes = 0;
  std::vector<TopLevelWindow> windows;  // topmost first
  std::vector<void*> closed;
};

class FakeSystem : public System {
 public:
  int PlatformFamily() override { return family; }
  bool ShutDown(std::string& reason) override {
    ++shutdowns;
    if (!shutdown_allowed)
      reason = "A required privilege is not held by the client.";
    return shutdown_allowed;
  }
  int family = 2;
  int shutdowns = 0;
  bool shutdown_allowed = true;
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

  std::optional<std::string> HttpGet(const std::string& host, const std::string& path,
                                     unsigned) override {
    requests.push_back(host + path);
    if (while_getting)
      while_getting();  // what the window does while the GET waits
    return cancels ? std::nullopt : http_answer;
  }
  void CancelHttpGet() override { ++cancels; }

  IcmpMode mode = IcmpMode::Raw;
  std::vector<Sent> sent;
  std::vector<std::string> requests;  // host and path of each GET
  std::optional<std::string> http_answer;
  std::function<void()> while_getting;
  int cancels = 0;
  std::function<void(const std::vector<uint8_t>&)> on_datagram;
  std::vector<std::function<void(const IcmpEchoResult&)>> pending;
};

// Answers with `texts`, keyed by the path's names joined with "/", whatever the document.
class FakeXml : public XmlReader {
 public:
  std::optional<std::string> ElementText(const std::string&,
                                         const std::vector<std::string>& path) override {
    std::string key;
    for (const std::string& name : path) {
      key += (key.empty() ? "" : "/") + name;
    }
    const auto found = texts.find(key);
    return found == texts.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  std::map<std::string, std::string> texts;
};
