// End to end: tvndl.dll, called as the system's automatic dialing calls it, hands an entry
// to the running or a newly started tarvolin.exe and answers from what RAS shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "commands/command_ids.h"
#include "driver.h"

namespace {

constexpr const char* kPhonebook =
    "[Alpha]\nPhoneNumber=555-0100\nStepDelayMs=20\n"
    "[Beta]\nPhoneNumber=555-0101\nStepDelayMs=20\n";

using RasAdFunc = BOOL(WINAPI*)(LPSTR phonebook, LPSTR entry, void* params, LPDWORD ret_code);

class AutoDialE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        CopyFileA((TestBinDir() + "tvndl.dll").c_str(), (app_.Dir() + "tvndl.dll").c_str(), FALSE));
    app_.WritePhonebook(kPhonebook);
    // This process's RAS substitute reads the program's phonebook and sees its lines.
    _putenv(("RASSIM_PHONEBOOK=" + app_.PhonebookPath()).c_str());
    library_ = LoadLibraryA((app_.Dir() + "tvndl.dll").c_str());
    ASSERT_NE(library_, nullptr);
    function_ = reinterpret_cast<RasAdFunc>(
        reinterpret_cast<void*>(GetProcAddress(library_, "RASADFuncA")));
    ASSERT_NE(function_, nullptr);
  }
  void TearDown() override {
    if (library_)
      FreeLibrary(library_);
  }

  // The handler's answer, and the code it gave (~0 when it gave none).
  std::pair<BOOL, DWORD> Request(const char* entry) {
    struct {
      DWORD dwSize;
      HWND hwndOwner;
      DWORD dwFlags;
      LONG xDlg;
      LONG yDlg;
    } params{sizeof params, nullptr, 0, 0, 0};
    DWORD code = ~0u;
    const BOOL handled = function_(const_cast<char*>(""), const_cast<char*>(entry), &params, &code);
    return {handled, code};
  }

  bool Dialed(const std::string& entry) {
    const std::string log = app_.ReadFile("DialLog.TXT");
    return log.find("Connecting to " + entry + "...") != std::string::npos &&
           log.find("Connected to server") != std::string::npos;
  }

  Tarvolin app_;
  HMODULE library_ = nullptr;
  RasAdFunc function_ = nullptr;
};

TEST_F(AutoDialE2E, TheRunningProgramDialsTheEntryAndAnUnknownEntryIsRefused) {
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  // Another window with the program's title, as a folder window named after it would be.
  HWND decoy = CreateWindowExA(0, "STATIC", "Tarvolin", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(decoy, nullptr);
  EXPECT_EQ(Request("Gamma"), (std::pair<BOOL, DWORD>{FALSE, ~0u}));

  EXPECT_EQ(Request("Beta"), (std::pair<BOOL, DWORD>{TRUE, 0}));
  EXPECT_TRUE(Dialed("Beta"));
  EXPECT_FALSE(Dialed("Alpha"));
  const auto rows = app_.ListRows(IDC_CNLIST);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].Image, 0);  // Beta carries the selection mark
  EXPECT_NE(rows[0].Image, 0);

  // The line is up: its entry is answered at once, another is declined.
  EXPECT_EQ(Request("Beta"), (std::pair<BOOL, DWORD>{TRUE, 0}));
  EXPECT_EQ(Request("Alpha"), (std::pair<BOOL, DWORD>{TRUE, 1223}));
  EXPECT_FALSE(Dialed("Alpha"));
  DestroyWindow(decoy);
}

TEST_F(AutoDialE2E, AProgramNotRunningIsStartedAndDialsTheEntry) {
  EXPECT_EQ(Request("Beta"), (std::pair<BOOL, DWORD>{TRUE, 0}));
  EXPECT_TRUE(Dialed("Beta"));

  // The program the library started is no child of the driver's: end it here.
  HWND window = FindWindowA("TTarvolinMainForm", nullptr);
  ASSERT_NE(window, nullptr);
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
  ASSERT_NE(process, nullptr);
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
}

}  // namespace
