// The RAS substitute's phonebook: its file format, the entry points that read and write
// it, the entry dialogs' hook and the error texts.
#include <cstring>
#include <tuple>

#include "rassim/records.h"
#include "rassim/entry.h"
#include "rassim/phonebook.h"
#include "rassim_fixture.h"

namespace rassim_test {
namespace {

using namespace std::string_literals;
using rassim::IniFile;
using RassimPhonebookTest = RassimTest;
using Names = std::vector<std::string>;

// The program's call: a buffer of `capacity` records.
uint32_t Enumerate(Names& names, size_t capacity = 100, uint32_t* cb_out = nullptr) {
  std::vector<rassim::RasEntryName> buffer(capacity);
  buffer[0].dwSize = sizeof(rassim::RasEntryName);
  uint32_t cb = static_cast<uint32_t>(capacity * sizeof(rassim::RasEntryName));
  uint32_t count = 0;
  const uint32_t result = rassim::RasEnumEntriesA(nullptr, nullptr, buffer.data(), &cb, &count);
  names.assign(count, "");
  for (uint32_t i = 0; result == rassim::kSuccess && i < count; ++i) {
    EXPECT_EQ(buffer[i].dwSize, sizeof(rassim::RasEntryName));
    names[i] = buffer[i].szEntryName;
  }
  if (cb_out) {
    *cb_out = cb;
  }
  return result;
}

Names EntryNames() {
  Names names;
  EXPECT_EQ(Enumerate(names), rassim::kSuccess);
  return names;
}

// Reads an entry's dial parameters into a record full of junk, so missing NULs show.
uint32_t GetParams(const std::string& entry, rassim::RasDialParams& params, int32_t& stored) {
  std::memset(&params, 'x', sizeof params);
  params.dwSize = sizeof(rassim::RasDialParams);
  rassim::Put(params.szEntryName, entry);
  return rassim::RasGetEntryDialParamsA(nullptr, &params, &stored);
}

TEST(RassimIni, KeepsWhatItDoesNotUnderstand) {
  IniFile ini = IniFile::Parse(
      "; top\r\n[One]\r\n  Key = Value  \r\n; note\r\njunk line\r\n=novalue\r\n\r\n[Two\nA=1");
  ASSERT_EQ(ini.sections.size(), 2u);
  EXPECT_EQ(ini.sections[1].name, "Two");
  rassim::IniSection& one = ini.sections[0];
  EXPECT_EQ(*one.Find("KEY"), "Value");
  EXPECT_EQ(one.Find("junk line"), nullptr);
  EXPECT_EQ(one.Find(""), nullptr);

  one.Set("key", "Changed");
  one.Set("New", "first line\nsecond line");
  EXPECT_EQ(ini.Format(),
            "; top\r\n[One]\r\nKey=Changed\r\n; note\r\njunk line\r\n=novalue\r\n"
            "New=first line\r\n\r\n[Two]\r\nA=1\r\n");
}

TEST_F(RassimPhonebookTest, WritingReplacesTheFileWhole) {
  const IniFile ini = IniFile::Parse("[A]\r\nB=C\r\n");
  const fs::path nested = dir_ / "new" / "book.pbk";
  ASSERT_TRUE(rassim::WriteIniFile(nested.string(), ini));
  EXPECT_EQ(rassim::ReadIniFile(nested.string()).Format(), ini.Format());
  EXPECT_FALSE(fs::exists(nested.string() + ".tmp"));

  // A folder cannot be replaced by a file: the write fails and leaves no debris.
  EXPECT_FALSE(rassim::WriteIniFile(dir_.string(), ini));
  EXPECT_TRUE(fs::is_directory(dir_));
  EXPECT_FALSE(fs::exists(dir_.string() + ".tmp"));
}

auto Figures(const rassim::EntrySettings& e) {
  return std::tuple(e.step_delay_ms, e.link_speed, e.send_bps, e.recv_bps, e.refuse_code,
                    e.drop_after_s, int(e.outcome), e.device, e.device_type, e.server_ip,
                    e.client_ip);
}

TEST(RassimEntry, BadValuesTakeTheirDefaults) {
  const IniFile ini = IniFile::Parse(
      "[Empty]\n"
      "[Bad]\nStepDelayMs=abc\nLinkSpeed=-5\nSendBps=99999999999\nRecvBps=12x\nRefuseCode=0\n"
      "DropAfter=\nOutcome=explode\nDevice=\nDeviceType=\nServerIP=\n"
      "[Good]\nstepdelayms=99999\nLINKSPEED=1\nSendBps=2\nRecvBps=3\nRefuseCode=692\n"
      "DropAfter=4\nOutcome=NoAnswer\nDevice=D\nDeviceType=T\nServerIP=S\nClientIP=C\n"
      "[Negative]\nStepDelayMs=-1\n");
  const rassim::EntrySettings defaults = rassim::ReadEntry(ini.sections[0]);
  EXPECT_EQ(Figures(defaults),
            std::tuple(150u, 57600u, 800u, 5000u, 633u, 0u, 0, "Simulated Modem"s, "modem"s,
                       "127.0.0.1"s, "127.0.0.2"s));
  EXPECT_EQ(Figures(rassim::ReadEntry(ini.sections[1])), Figures(defaults));
  EXPECT_EQ(Figures(rassim::ReadEntry(ini.sections[2])),
            std::tuple(60000u, 1u, 2u, 3u, 692u, 4u, int(rassim::Outcome::kNoAnswer), "D"s, "T"s,
                       "S"s, "C"s));
  EXPECT_EQ(rassim::ReadEntry(ini.sections[3]).step_delay_ms, 0u);
}

TEST_F(RassimPhonebookTest, MalformedFilesReadAsWhatTheyHold) {
  EXPECT_TRUE(EntryNames().empty());  // no file yet
  WritePhonebook("");
  EXPECT_TRUE(EntryNames().empty());
  WritePhonebook(
      "\x01\xff garbage\0\n[Broken\nno equals\nPhoneNumber=7\nPasswordStored=maybe\nPassword=pw\n"
      "[]\n[Good]\r\n  PhoneNumber = 555 \r\nPassword=pw\nPasswordStored=0\n[\xfe\0]\n"s);
  EXPECT_EQ(EntryNames(), (Names{"Broken", "Good", "\xfe"}));
  rassim::RasDialParams params;
  int32_t stored = -1;
  EXPECT_EQ(GetParams("broken", params, stored), rassim::kSuccess);
  EXPECT_EQ(std::tuple(rassim::LoadEntry(nullptr, "broken")->phone_number,
                       std::string(params.szPassword), stored),
            std::tuple("7"s, std::string(rassim::kSavedPasswordHandle), 1));
  EXPECT_EQ(GetParams("Good", params, stored), rassim::kSuccess);
  EXPECT_EQ(std::tuple(rassim::LoadEntry(nullptr, "Good")->phone_number,
                       std::string(params.szPassword), stored),
            std::tuple("555"s, ""s, 0));
}

TEST_F(RassimPhonebookTest, EnumerationKeepsFileOrderAndReportsTheSizeNeeded) {
  WritePhonebook("[Zeta]\n[alpha]\n[Mid]\n[ALPHA]\n");
  EXPECT_EQ(EntryNames(), (Names{"Zeta", "alpha", "Mid"}));

  std::string text;
  for (int i = 0; i <= 100; ++i) {
    text += "[E" + std::to_string(i) + "]\n";
  }
  WritePhonebook(text);
  Names names;
  uint32_t cb = 0;
  EXPECT_EQ(Enumerate(names, 100, &cb), rassim::kBufferTooSmall);
  EXPECT_EQ(cb, 101 * sizeof(rassim::RasEntryName));
  EXPECT_EQ(names.size(), 101u);
  EXPECT_EQ(Enumerate(names, 101), rassim::kSuccess);
  EXPECT_EQ(names.back(), "E100");

  rassim::RasEntryName wrong{};
  wrong.dwSize = sizeof(rassim::RasEntryName) + 4;
  uint32_t count = 0;
  EXPECT_EQ(rassim::RasEnumEntriesA(nullptr, nullptr, &wrong, &cb, &count), rassim::kInvalidSize);
  // Without a buffer only the size is told.
  EXPECT_EQ(rassim::RasEnumEntriesA(nullptr, nullptr, nullptr, &cb, &count),
            rassim::kBufferTooSmall);
  EXPECT_EQ(cb, 101 * sizeof(rassim::RasEntryName));
  EXPECT_EQ(rassim::RasEnumEntriesA(nullptr, nullptr, nullptr, nullptr, &count),
            rassim::kBufferInvalid);
}

TEST_F(RassimPhonebookTest, TwoPhonebooksAndThePathEveryCallIsGiven) {
  const std::string all_users = (dir_ / "all.pbk").string();
  rassim::SetAllUsersPhonebookPath(all_users);
  WriteFile(all_users, "[Office]\n[Both]\nPhoneNumber=1\nUserName=one\n");
  WritePhonebook("[Both]\nPhoneNumber=2\nUserName=two\n[Mine]\n");
  auto listed = [](const char* phonebook) {
    std::vector<rassim::RasEntryName> records(10);
    records[0].dwSize = sizeof(rassim::RasEntryName);
    uint32_t cb = sizeof(rassim::RasEntryName) * 10, count = 0;
    EXPECT_EQ(rassim::RasEnumEntriesA(nullptr, phonebook, records.data(), &cb, &count), 0u);
    Names rows;
    for (uint32_t i = 0; i < count; ++i)
      rows.push_back(std::to_string(records[i].dwFlags) + " " + records[i].szEntryName + " " +
                     fs::path(records[i].szPhonebookPath).filename().string());
    return rows;
  };
  EXPECT_EQ(listed(nullptr), (Names{"1 Office all.pbk", "1 Both all.pbk", "0 Both rasphone.pbk",
                                    "0 Mine rasphone.pbk"}));
  EXPECT_EQ(listed(all_users.c_str()), (Names{"1 Office all.pbk", "1 Both all.pbk"}));

  // A per-entry call without a phonebook is the user's own; with one, that one.
  rassim::RasDialParams params{};
  params.dwSize = sizeof params;
  int32_t stored = 0;
  rassim::Put(params.szEntryName, "Office");
  EXPECT_EQ(rassim::RasGetEntryDialParamsA(nullptr, &params, &stored), rassim::kCannotFindEntry);
  rassim::Put(params.szEntryName, "Both");
  ASSERT_EQ(rassim::RasGetEntryDialParamsA(nullptr, &params, &stored), 0u);
  EXPECT_STREQ(params.szUserName, "two");
  ASSERT_EQ(rassim::RasGetEntryDialParamsA(all_users.c_str(), &params, &stored), 0u);
  EXPECT_STREQ(params.szUserName, "one");

  // Properties at every size Windows takes, and no other.
  rassim::RasEntry entry{};
  uint32_t size = 0;
  EXPECT_EQ(rassim::RasGetEntryPropertiesA(nullptr, "Mine", nullptr, &size, nullptr, nullptr),
            rassim::kBufferTooSmall);
  EXPECT_EQ(size, sizeof(rassim::RasEntry));
  for (const uint32_t level : rassim::kEntrySizes) {
    entry.dwSize = level;
    size = level;
    EXPECT_EQ(
        rassim::RasGetEntryPropertiesA(all_users.c_str(), "Both", &entry, &size, nullptr, nullptr),
        0u);
    EXPECT_STREQ(entry.szLocalPhoneNumber, "1");
  }
  entry.dwSize = rassim::kEntrySizes[0] + 4;
  EXPECT_EQ(rassim::RasGetEntryPropertiesA(nullptr, "Mine", &entry, &size, nullptr, nullptr),
            rassim::kInvalidSize);
  entry.dwSize = rassim::kEntrySizes[0];
  size = entry.dwSize - 1;
  EXPECT_EQ(rassim::RasGetEntryPropertiesA(nullptr, "Mine", &entry, &size, nullptr, nullptr),
            rassim::kBufferTooSmall);
  EXPECT_EQ(rassim::RasGetEntryPropertiesA(nullptr, "Office", &entry, &size, nullptr, nullptr),
            rassim::kCannotFindEntry);
  // No name: a new entry's properties.
  ASSERT_EQ(rassim::RasGetEntryPropertiesA(nullptr, "", &entry, &size, nullptr, nullptr), 0u);
  EXPECT_STREQ(entry.szDeviceName, "Simulated Modem");
  rassim::Put(entry.szDeviceType, "isdn");
  rassim::Put(entry.szAutodialDll, "C:\\A\\handler.dll");
  rassim::Put(entry.szAutodialFunc, "Handle");
  rassim::Put(entry.szLocalPhoneNumber, "3");
  EXPECT_EQ(rassim::RasSetEntryPropertiesA(nullptr, "Mine", &entry, entry.dwSize, nullptr, 0), 0u);
  EXPECT_EQ(
      ReadPhonebook(),
      "[Both]\r\nPhoneNumber=2\r\nUserName=two\r\n[Mine]\r\nPhoneNumber=3\r\nDeviceType=isdn\r\n"
      "AutodialDll=C:\\A\\handler.dll\r\nAutodialFunc=Handle\r\n");
  EXPECT_EQ(rassim::LoadEntry(all_users.c_str(), "Both")->autodial_dll, "");
}

TEST_F(RassimPhonebookTest, LongTextsAreCutToTheirFields) {
  const std::string name(300, 'N');
  WritePhonebook("[" + name + "]\nPhoneNumber=" + std::string(200, '5') +
                 "\nUserName=" + std::string(300, 'u') + "\nPassword=" + std::string(300, 'p') +
                 "\nDomain=" + std::string(40, 'd') + "\n");
  EXPECT_EQ(EntryNames(), Names{name.substr(0, rassim::kMaxEntryName)});
  rassim::RasDialParams params;
  int32_t stored = 0;
  ASSERT_EQ(GetParams(name, params, stored), rassim::kSuccess);
  EXPECT_STREQ(params.szPhoneNumber, "");  // not filled: the number is the entry's
  EXPECT_EQ(std::string(params.szUserName), std::string(rassim::kMaxUserName, 'u'));
  EXPECT_STREQ(params.szPassword, rassim::kSavedPasswordHandle);
  EXPECT_EQ(std::string(params.szDomain), std::string(rassim::kMaxDomain, 'd'));
  EXPECT_STREQ(params.szCallbackNumber, "");
}

TEST_F(RassimPhonebookTest, DialParamsRoundTrip) {
  WritePhonebook("[Net]\n; keep me\nPhoneNumber=555\n[Other]\nUserName=x\n");
  rassim::RasDialParams params;
  int32_t stored = -1;
  ASSERT_EQ(GetParams("Net", params, stored), rassim::kSuccess);
  rassim::Put(params.szUserName, "bob");
  rassim::Put(params.szDomain, "DOM");
  rassim::Put(params.szPassword, "secret");
  ASSERT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 0), rassim::kSuccess);
  ASSERT_EQ(GetParams("NET", params, stored), rassim::kSuccess);
  const auto account = [&] {
    return std::tuple(std::string(params.szUserName), std::string(params.szDomain),
                      std::string(params.szPassword), std::string(params.szPhoneNumber), stored);
  };
  // The saved password comes back as its handle, which stores it again unchanged.
  EXPECT_EQ(account(),
            std::tuple("bob"s, "DOM"s, std::string(rassim::kSavedPasswordHandle), ""s, 1));
  ASSERT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 0), rassim::kSuccess);
  EXPECT_NE(ReadPhonebook().find("Password=secret"), std::string::npos);
  EXPECT_NE(ReadPhonebook().find("; keep me"), std::string::npos);

  ASSERT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 1), rassim::kSuccess);
  ASSERT_EQ(GetParams("Net", params, stored), rassim::kSuccess);
  EXPECT_EQ(account(), std::tuple("bob"s, "DOM"s, ""s, ""s, 0));
  EXPECT_EQ(ReadPhonebook().find("secret"), std::string::npos);
  // Empty fields leave what is saved: no user name keeps the account whole, no domain the
  // domain. An empty password is saved only when asked for.
  rassim::Put(params.szPassword, "kept");
  ASSERT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 0), rassim::kSuccess);
  rassim::Put(params.szUserName, "");
  rassim::Put(params.szDomain, "");
  rassim::Put(params.szPassword, "");
  ASSERT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 1), rassim::kSuccess);
  ASSERT_EQ(GetParams("Net", params, stored), rassim::kSuccess);
  EXPECT_EQ(account(),
            std::tuple("bob"s, "DOM"s, std::string(rassim::kSavedPasswordHandle), ""s, 1));
  rassim::Put(params.szPassword, "");
  ASSERT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 0), rassim::kSuccess);
  EXPECT_NE(ReadPhonebook().find("Password=\r\nPasswordStored=1"), std::string::npos);
  ASSERT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 1), rassim::kSuccess);
  // Storing what is stored already leaves the file alone.
  const auto an_hour_ago = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time(path_, an_hour_ago);
  ASSERT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 1), rassim::kSuccess);
  EXPECT_EQ(fs::last_write_time(path_), an_hour_ago);
  ASSERT_EQ(GetParams("Other", params, stored), rassim::kSuccess);
  EXPECT_STREQ(params.szUserName, "x");

  EXPECT_EQ(GetParams("Missing", params, stored), rassim::kCannotFindEntry);
  EXPECT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 0), rassim::kCannotFindEntry);
  params.dwSize = 1056;  // between two levels
  EXPECT_EQ(rassim::RasGetEntryDialParamsA(nullptr, &params, &stored), rassim::kInvalidSize);
  EXPECT_EQ(rassim::RasSetEntryDialParamsA(nullptr, &params, 0), rassim::kInvalidSize);
}

// Windows answers a missing or small buffer with the size of the record and the alternate
// numbers behind it, takes the alternates back from dwAlternateOffset, and refuses a record
// without what it needs to dial.
TEST_F(RassimPhonebookTest, PropertiesCarryTheAlternatesAndNeedTheirRequiredFields) {
  WritePhonebook("[Net]\nPhoneNumber=555\nAlternatePhoneNumbers=556, 557\n[Bare]\n");
  const uint32_t alternates = sizeof "556" + sizeof "557" + 1;
  uint32_t size = 0;
  EXPECT_EQ(rassim::RasGetEntryPropertiesA(nullptr, "Net", nullptr, &size, nullptr, nullptr),
            rassim::kBufferTooSmall);
  EXPECT_EQ(size, sizeof(rassim::RasEntry) + alternates);
  for (const uint32_t level : rassim::kEntrySizes) {
    std::vector<uint8_t> buffer(level + alternates);
    auto* entry = reinterpret_cast<rassim::RasEntry*>(buffer.data());
    entry->dwSize = level;
    size = level;
    ASSERT_EQ(rassim::RasGetEntryPropertiesA(nullptr, "Net", entry, &size, nullptr, nullptr),
              rassim::kBufferTooSmall);
    ASSERT_EQ(size, level + alternates);
    ASSERT_EQ(rassim::RasGetEntryPropertiesA(nullptr, "Net", entry, &size, nullptr, nullptr), 0u);
    EXPECT_EQ(entry->dwAlternateOffset, level);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.data()) + level, alternates),
              std::string("556\0"
                          "557\0\0",
                          alternates));
    rassim::Put(entry->szAutodialDll, "C:\\A\\h.dll");
    ASSERT_EQ(rassim::RasSetEntryPropertiesA(nullptr, "Net", entry, size, nullptr, 0), 0u);
    EXPECT_EQ(rassim::LoadEntry(nullptr, "Net")->alternates, (Names{"556", "557"})) << level;
    EXPECT_EQ(rassim::LoadEntry(nullptr, "Net")->autodial_dll, "C:\\A\\h.dll");
  }
  // An entry without alternates takes the record alone, at offset 0.
  rassim::RasEntry bare{};
  bare.dwSize = sizeof bare;
  size = sizeof bare;
  ASSERT_EQ(rassim::RasGetEntryPropertiesA(nullptr, "Bare", &bare, &size, nullptr, nullptr), 0u);
  EXPECT_EQ(bare.dwAlternateOffset, 0u);
  EXPECT_EQ(size, sizeof bare);

  // Alternates set from the buffer; a list that runs past the size is refused.
  std::vector<uint8_t> buffer(sizeof bare + 6);
  std::memcpy(buffer.data(), &bare, sizeof bare);
  std::memcpy(buffer.data() + sizeof bare,
              "12\0"
              "3\0\0",
              6);
  auto* entry = reinterpret_cast<rassim::RasEntry*>(buffer.data());
  entry->dwAlternateOffset = sizeof bare;
  EXPECT_EQ(rassim::RasSetEntryPropertiesA(nullptr, "Bare", entry, sizeof bare + 5, nullptr, 0),
            rassim::kInvalidParameter);
  ASSERT_EQ(rassim::RasSetEntryPropertiesA(nullptr, "Bare", entry, sizeof bare + 6, nullptr, 0),
            0u);
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Bare")->alternates, (Names{"12", "3"}));

  // What Windows needs to dial the entry.
  const auto refused = [&](auto&& spoil) {
    rassim::RasEntry record = bare;
    spoil(record);
    return rassim::RasSetEntryPropertiesA(nullptr, "Bare", &record, sizeof record, nullptr, 0) ==
           rassim::kInvalidParameter;
  };
  EXPECT_TRUE(refused([](rassim::RasEntry& r) { r.dwType = 0; }));
  EXPECT_TRUE(refused([](rassim::RasEntry& r) { r.szDeviceName[0] = '\0'; }));
  EXPECT_TRUE(refused([](rassim::RasEntry& r) { r.szDeviceType[0] = '\0'; }));
  EXPECT_TRUE(refused([](rassim::RasEntry& r) { r.dwFramingProtocol = 0; }));
  EXPECT_FALSE(refused([](rassim::RasEntry&) {}));
  // A level from before dwType has none to give.
  rassim::RasEntry old = bare;
  old.dwSize = rassim::kEntrySizes[0];
  old.dwType = 0;
  EXPECT_EQ(rassim::RasSetEntryPropertiesA(nullptr, "Bare", &old, old.dwSize, nullptr, 0), 0u);
}

TEST(RassimErrors, TextsAUserReadsAndWhatTheCallCannotGive) {
  using namespace rassim;
  char buffer[512] = "stale";
  EXPECT_EQ(RasGetErrorStringA(rassim::kLineBusy, buffer, sizeof buffer), rassim::kSuccess);
  EXPECT_STREQ(buffer, "The line is busy.");
  // Some texts are as long as Windows' own: a buffer of 100 cannot take them.
  EXPECT_EQ(RasGetErrorStringA(rassim::kAuthenticationFailure, buffer, 100), kInsufficientBuffer);
  EXPECT_EQ(RasGetErrorStringA(rassim::kAuthenticationFailure, buffer, sizeof buffer), kSuccess);
  EXPECT_GT(std::strlen(buffer), 100u);
  EXPECT_EQ(RasGetErrorStringA(rassim::kUserDisconnection, buffer, sizeof buffer),
            rassim::kSuccess);
  EXPECT_STREQ(buffer, "The port was disconnected by the user.");

  // The text and its NUL must fit; a cut text is never handed out.
  const uint32_t busy_size = sizeof "The line is busy.";
  EXPECT_EQ(RasGetErrorStringA(rassim::kLineBusy, buffer, busy_size - 1), kInsufficientBuffer);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(RasGetErrorStringA(rassim::kLineBusy, buffer, busy_size), rassim::kSuccess);
  EXPECT_STREQ(buffer, "The line is busy.");

  std::strcpy(buffer, "stale");
  EXPECT_EQ(RasGetErrorStringA(9999, buffer, sizeof buffer), kInvalidParameter);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(RasGetErrorStringA(rassim::kLineBusy, nullptr, 100), kBufferInvalid);
}

auto Shown(const rassim::EntryFields& f) {
  return std::tuple(f.name, f.phone_number, f.device, f.outcome);
}

TEST_F(RassimPhonebookTest, EntryDialogsCreateEditAndDelete) {
  const std::string original =
      "[First]\nPhoneNumber=1\nUserName=keep\nDomain=D\n[Second]\nPhoneNumber=2\n";
  WritePhonebook(original);
  EXPECT_EQ(rassim::RasCreatePhonebookEntryA(nullptr, nullptr), rassim::kSuccess);
  EXPECT_EQ(rassim::RasEditPhonebookEntryA(nullptr, nullptr, "First"), rassim::kSuccess);
  EXPECT_EQ(ReadPhonebook(), original);  // no dialog installed

  // Plays the user: shows what the dialog got, answers with `answer` unless cancelling.
  bool ok = false;
  bool shown_new = false;
  rassim::EntryFields shown;
  rassim::EntryFields answer;
  rassim::SetEntryDialog([&](void*, rassim::EntryFields& fields, bool is_new) {
    shown = fields;
    shown_new = is_new;
    fields = ok ? answer : fields;
    return ok;
  });
  EXPECT_EQ(rassim::RasCreatePhonebookEntryA(nullptr, nullptr), rassim::kSuccess);
  EXPECT_TRUE(shown_new);
  EXPECT_EQ(Shown(shown), Shown({"", "", "", "connect"}));
  EXPECT_EQ(rassim::RasEditPhonebookEntryA(nullptr, nullptr, "first"), rassim::kSuccess);
  EXPECT_FALSE(shown_new);
  EXPECT_EQ(Shown(shown), Shown({"First", "1", "Simulated Modem", "connect"}));
  EXPECT_EQ(ReadPhonebook(), original);  // both cancelled

  ok = true;
  answer = {" Third ", "3", "Dev", "busy"};
  EXPECT_EQ(rassim::RasCreatePhonebookEntryA(nullptr, nullptr), rassim::kSuccess);
  answer = {"second", "22", "", "connect"};  // an existing name: updates that entry
  EXPECT_EQ(rassim::RasCreatePhonebookEntryA(nullptr, nullptr), rassim::kSuccess);
  answer = {"Renamed", "9", "Dev", "vanish"};
  EXPECT_EQ(rassim::RasEditPhonebookEntryA(nullptr, nullptr, "First"), rassim::kSuccess);
  EXPECT_EQ(EntryNames(), (Names{"Renamed", "second", "Third"}));
  const rassim::EntrySettings third = *rassim::LoadEntry(nullptr, "Third");
  EXPECT_EQ(std::tuple(third.phone_number, third.device, third.outcome),
            std::tuple("3"s, "Dev"s, rassim::Outcome::kBusy));
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Second")->phone_number, "22");
  const rassim::EntrySettings renamed = *rassim::LoadEntry(nullptr, "Renamed");
  EXPECT_EQ(std::tuple(renamed.phone_number, renamed.user_name, renamed.domain),
            std::tuple("9"s, "keep"s, "D"s));

  const std::string before = ReadPhonebook();
  answer = {"SECOND", "9", "Dev", "connect"};
  EXPECT_EQ(rassim::RasEditPhonebookEntryA(nullptr, nullptr, "Renamed"), rassim::kAlreadyExists);
  answer = {"  ", "9", "Dev", "connect"};
  EXPECT_EQ(rassim::RasEditPhonebookEntryA(nullptr, nullptr, "Renamed"), rassim::kInvalidName);
  EXPECT_EQ(rassim::RasCreatePhonebookEntryA(nullptr, nullptr), rassim::kInvalidName);
  EXPECT_EQ(rassim::RasEditPhonebookEntryA(nullptr, nullptr, "Missing"), rassim::kCannotFindEntry);
  EXPECT_EQ(ReadPhonebook(), before);

  EXPECT_EQ(rassim::RasDeleteEntry(nullptr, "SECOND"), rassim::kSuccess);
  EXPECT_EQ(EntryNames(), (Names{"Renamed", "Third"}));
  EXPECT_EQ(rassim::RasDeleteEntry(nullptr, "Second"), rassim::kCannotFindEntry);
}

}  // namespace
}  // namespace rassim_test
