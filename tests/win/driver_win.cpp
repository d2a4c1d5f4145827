// Drives the real tarvolin.exe through its windows.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "driver.h"
#include "commands/command_ids.h"

namespace {

struct WindowSearch {
  DWORD process_id;
  std::string title;
  std::string window_class;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->process_id)
    return TRUE;
  char cls[128] = {};
  GetClassNameA(window, cls, sizeof(cls));
  if (WindowText(window) != search->title)
    return TRUE;
  if (!search->window_class.empty() && search->window_class != cls)
    return TRUE;
  search->found = window;
  return FALSE;
}

// A caption as read: without the "&" that marks its mnemonic.
std::string WithoutMnemonic(std::string caption) {
  std::erase(caption, '&');
  return caption;
}

BOOL CALLBACK MatchChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  char cls[128] = {};
  GetClassNameA(window, cls, sizeof(cls));
  if (WindowText(window) != search->title && WithoutMnemonic(WindowText(window)) != search->title)
    return TRUE;
  if (!search->window_class.empty() && lstrcmpiA(search->window_class.c_str(), cls) != 0) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindTopLevelOf(DWORD pid, const std::string& title, const std::string& cls = "") {
  WindowSearch search{pid, title, cls};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A folder made here and now: one left behind by an earlier test (a program that held its
// files past the end of its test) is never taken for a fresh one.
std::string MakeTempDir() {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    std::string dir = std::string(base) + "tarvolin-e2e-" + std::to_string(GetCurrentProcessId()) +
                      "-" + std::to_string(++counter) + "\\";
    if (CreateDirectoryA(dir.c_str(), nullptr))
      return dir;
    if (GetLastError() != ERROR_ALREADY_EXISTS)
      throw std::runtime_error("cannot create " + dir);
  }
}

void RemoveDir(const std::string& dir) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((dir + "*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..")
        continue;
      SetFileAttributesA((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDir(dir + name + "\\");
      else
        DeleteFileA((dir + name).c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(dir.c_str());
}

PROCESS_INFORMATION Launch(const std::string& dir, const std::string& args) {
  std::string command = "\"" + dir + "tarvolin.exe\"" + (args.empty() ? "" : " " + args);
  SetEnvironmentVariableA("RASSIM_PHONEBOOK", (dir + "rasphone.pbk").c_str());
  SetEnvironmentVariableA("RASSIM_ALLUSERS_PHONEBOOK", (dir + "allusers.pbk").c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &startup, &info)) {
    throw std::runtime_error("cannot start " + command);
  }
  CloseHandle(info.hThread);
  return info;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

bool HoldsFor(const std::function<bool()>& condition, int span_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(span_ms);
  while (std::chrono::steady_clock::now() < end) {
    if (!condition())
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

std::string TestBinDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string WindowText(Hwnd window) {
  char text[1024] = {};
  // WM_GETTEXT reaches controls of other processes, where GetWindowText does not. The
  // program answers between two of its messages; on a busy machine one of them may take
  // seconds, which is no hang.
  SendMessageTimeoutA(static_cast<HWND>(window), WM_GETTEXT, sizeof(text),
                      reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kWaitCeilingMs, nullptr);
  return text;
}

Tarvolin::Tarvolin() : dir_(MakeTempDir()) {
  ClearUserRegistry();
  // The RAS substitute is the test prefix's own rasapi32.dll, in its system folder.
  if (!CopyFileA((TestBinDir() + "tarvolin.exe").c_str(), (dir_ + "tarvolin.exe").c_str(), FALSE))
    throw std::runtime_error("cannot copy tarvolin.exe");
}

Tarvolin::~Tarvolin() {
  Kill();
  RemoveDir(dir_);
}

void Tarvolin::WritePhonebook(const std::string& text) const {
  WriteFile("rasphone.pbk", text);
}

void Tarvolin::WriteFile(const std::string& name, const std::string& text) const {
  std::ofstream(dir_ + name, std::ios::binary) << text;
}

bool Tarvolin::FileExists(const std::string& name) const {
  return GetFileAttributesA((dir_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Tarvolin::ReadFile(const std::string& name) const {
  std::ifstream in(dir_ + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

int Tarvolin::LogCount(const std::string& text) const {
  const std::string log = ReadFile("DialLog.TXT");
  int count = 0;
  for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
    ++count;
  return count;
}

bool Tarvolin::Online() const {
  return Text(IDC_LBLONLINE) == "Online";
}

int Tarvolin::SessionSeconds() const {
  if (Text(IDC_LBLINFO1CAPTION) != "Time")
    return -1;
  int hours = 0, minutes = 0, seconds = 0;
  if (std::sscanf(Text(IDC_LBLINFO1).c_str(), "%d:%d:%d", &hours, &minutes, &seconds) != 3)
    return -1;
  return (hours * 60 + minutes) * 60 + seconds;
}

void Tarvolin::ControlRas(const std::string& command) const {
  // Written whole and then renamed, so the substitute never reads half a command.
  WriteFile("rassim.ctl.part", command + "\n");
  MoveFileExA((dir_ + "rassim.ctl.part").c_str(), (dir_ + "rassim.ctl").c_str(),
              MOVEFILE_REPLACE_EXISTING);
}

void Tarvolin::Start(const std::string& args) {
  PROCESS_INFORMATION info = Launch(dir_, args);
  process_ = info.hProcess;
  process_id_ = info.dwProcessId;
}

Tarvolin::SecondRun Tarvolin::RunSecondInstance(int timeout_ms) const {
  PROCESS_INFORMATION info = Launch(dir_, "");
  SecondRun run;
  run.Ended = WaitUntil(
      [&] {
        run.ShowedSplash = run.ShowedSplash || FindTopLevelOf(info.dwProcessId, "Welcome");
        return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0;
      },
      timeout_ms);
  if (!run.Ended)
    TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hProcess);
  return run;
}

// The main window is made before the start-up's steps, the welcome window let go after
// them.
bool Tarvolin::StartWith(const std::string& phonebook) {
  WritePhonebook(phonebook);
  Start();
  return WaitForMainWindow() &&
         WaitUntil([&] { return !FindTopLevel("Welcome") && !ListRows(IDC_CNLIST).empty(); });
}

bool Tarvolin::Running() const {
  return process_ && WaitForSingleObject(static_cast<HANDLE>(process_), 0) == WAIT_TIMEOUT;
}

bool Tarvolin::WaitForExit(int timeout_ms) const {
  return !process_ ||
         WaitForSingleObject(static_cast<HANDLE>(process_), timeout_ms) == WAIT_OBJECT_0;
}

void Tarvolin::Kill() {
  if (!process_)
    return;
  if (Running()) {
    TerminateProcess(static_cast<HANDLE>(process_), 1);
    WaitForExit();
  }
  CloseHandle(static_cast<HANDLE>(process_));
  process_ = nullptr;
}

Hwnd Tarvolin::MainWindow() const {
  return FindTopLevelOf(process_id_, "Tarvolin");
}

Hwnd Tarvolin::WaitForMainWindow(int timeout_ms) const {
  Hwnd window = nullptr;
  WaitUntil([&] { return (window = MainWindow()) != nullptr; }, timeout_ms);
  return window;
}

Hwnd Tarvolin::FindTopLevel(const std::string& title) const {
  return FindTopLevelOf(process_id_, title);
}

Hwnd Tarvolin::WaitForTopLevel(const std::string& title, int timeout_ms) const {
  Hwnd window = nullptr;
  WaitUntil([&] { return (window = FindTopLevel(title)) != nullptr; }, timeout_ms);
  return window;
}

bool Tarvolin::MainWindowVisible() const {
  return IsWindowVisible(static_cast<HWND>(MainWindow()));
}

Hwnd Tarvolin::Control(int id) const {
  return GetDlgItem(static_cast<HWND>(MainWindow()), id);
}

Hwnd Tarvolin::FindControl(const std::string& caption, const std::string& window_class) const {
  WindowSearch search{process_id_, caption, window_class};
  EnumChildWindows(static_cast<HWND>(MainWindow()), MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string Tarvolin::Text(int id) const {
  return WindowText(Control(id));
}

bool Tarvolin::Checked(int id) const {
  return SendMessageA(static_cast<HWND>(Control(id)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Tarvolin::Click(int id) const {
  PostMessageA(static_cast<HWND>(Control(id)), BM_CLICK, 0, 0);
}

void Tarvolin::Command(int id) const {
  PostToMain(WM_COMMAND, id, 0);
}

void Tarvolin::PostToMain(unsigned message, uintptr_t wparam, intptr_t lparam) const {
  PostMessageA(static_cast<HWND>(MainWindow()), message, wparam, lparam);
}

std::string Tarvolin::AnswerMessageBox(const std::string& caption, const std::string& text_part,
                                       int button, int timeout_ms) const {
  std::string text;
  HWND box = nullptr;
  WaitUntil(
      [&] {
        box = FindTopLevelOf(process_id_, caption, "#32770");
        if (!box)
          return false;
        text = WindowText(GetDlgItem(box, 0xFFFF));  // the box's message text
        return text.find(text_part) != std::string::npos;
      },
      timeout_ms);
  if (!box || text.find(text_part) == std::string::npos)
    return "";
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  if (!WaitUntil([&] { return !IsWindow(box); }, timeout_ms))
    return "";
  return text;
}

Hwnd ChildOf(Hwnd parent, int id) {
  return GetDlgItem(static_cast<HWND>(parent), id);
}

void SetChildText(Hwnd parent, int id, const std::string& text) {
  SendMessageA(static_cast<HWND>(ChildOf(parent, id)), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(text.c_str()));
}

void ClickChild(Hwnd parent, int id) {
  PostMessageA(static_cast<HWND>(ChildOf(parent, id)), BM_CLICK, 0, 0);
}

bool ChildChecked(Hwnd parent, int id) {
  return SendMessageA(static_cast<HWND>(ChildOf(parent, id)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string UserRegistryText(const std::string& key, const std::string& name) {
  char value[1024] = {};
  DWORD size = sizeof(value);
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  return value;
}

namespace {

void SetUserRegistryValue(const std::string& key, const std::string& name, DWORD type,
                          const void* data, size_t size) {
  HKEY handle;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create HKEY_CURRENT_USER\\" + key);
  }
  RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                 static_cast<DWORD>(size));
  RegCloseKey(handle);
}

}  // namespace

void SetUserRegistryText(const std::string& key, const std::string& name,
                         const std::string& value) {
  SetUserRegistryValue(key, name, REG_SZ, value.c_str(), value.size() + 1);
}

void SetUserRegistryNumber(const std::string& key, const std::string& name, uint32_t value) {
  const DWORD number = value;
  SetUserRegistryValue(key, name, REG_DWORD, &number, sizeof number);
}

void DeleteUserRegistryValue(const std::string& key, const std::string& name) {
  RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str());
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr))
    return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

int64_t UserRegistryNumber(const std::string& key, const std::string& name) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS) {
    return -1;
  }
  return value;
}

namespace {

void DumpKey(HKEY parent, const std::string& path, std::string& dump) {
  HKEY key;
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return;
  char name[256];
  BYTE data[4096];
  for (DWORD i = 0;; ++i) {
    DWORD name_size = sizeof name, data_size = sizeof data, type = 0;
    if (RegEnumValueA(key, i, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS)
      break;
    dump += path + "\\" + name + "=" + std::to_string(type) + ":" +
            std::string(reinterpret_cast<char*>(data), data_size) + "\n";
  }
  for (DWORD i = 0;; ++i) {
    DWORD name_size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    DumpKey(parent, path + "\\" + name, dump);
  }
  RegCloseKey(key);
}

}  // namespace

std::string UserRegistryDump(const std::string& key) {
  std::string dump;
  DumpKey(HKEY_CURRENT_USER, key, dump);
  return dump;
}

void ClearUserRegistry() {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tarvolin");
  RegDeleteTreeA(HKEY_CURRENT_USER, "RemoteAccess");
}

namespace {

// Memory inside another process, for messages whose arguments point to memory.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size) : process_(process) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
  void* Address() const { return address_; }
  void Write(const void* data, size_t size, size_t offset = 0) const {
    WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }
  void Read(void* data, size_t size, size_t offset = 0) const {
    ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_;
};

constexpr size_t kTextOffset = 512;  // where the text goes in the remote buffer
constexpr int kTextSize = 300;

void ReadCell(HWND list, const RemoteBuffer& remote, int item, int sub_item, std::string& text,
              int& image) {
  LVITEMA cell{};
  cell.mask = LVIF_TEXT | LVIF_IMAGE;
  cell.iItem = item;
  cell.iSubItem = sub_item;
  cell.pszText = static_cast<char*>(remote.Address()) + kTextOffset;
  cell.cchTextMax = kTextSize;
  remote.Write(&cell, sizeof(cell));
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.Address()));
  remote.Read(&cell, sizeof(cell));
  char buffer[kTextSize] = {};
  remote.Read(buffer, sizeof(buffer) - 1, kTextOffset);
  text = buffer;
  image = cell.iImage;
}

}  // namespace

std::vector<ListRow> Tarvolin::ListRows(int id) const {
  return ListRowsOf(Control(id));
}

std::vector<ListRow> Tarvolin::ListRowsOf(Hwnd list_window) const {
  HWND list = static_cast<HWND>(list_window);
  RemoteBuffer remote(static_cast<HANDLE>(process_), kTextOffset + kTextSize);
  std::vector<ListRow> rows;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    ListRow row;
    ReadCell(list, remote, i, 0, row.Text, row.Image);
    ReadCell(list, remote, i, 1, row.SubText, row.SubImage);
    rows.push_back(row);
  }
  return rows;
}

void Tarvolin::SelectListRow(int id, int row) const {
  SelectRowOf(Control(id), row);
}

void Tarvolin::SelectRowOf(Hwnd list, int row) const {
  RemoteBuffer remote(static_cast<HANDLE>(process_), sizeof(LVITEMA));
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.Write(&state, sizeof(state));
  SendMessageA(static_cast<HWND>(list), LVM_SETITEMSTATE, row,
               reinterpret_cast<LPARAM>(remote.Address()));
}
