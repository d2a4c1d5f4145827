// The RAS records, codes and states as Windows defines them, written for the substitute
// from the Remote Access Service reference: every record is packed to 4 bytes on every
// platform, and each record here is its newest level. Windows also accepts the older
// levels, each a leading part of the newest, so a call accepts exactly the sizes in the
// record's level list. A Windows-only compile-time test ties these to <ras.h>.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#if defined(_WIN32)
#define RASSIM_CALL __stdcall
#else
#define RASSIM_CALL
#endif

namespace rassim {

using Handle = void*;  // HRASCONN

// Field lengths, without the terminating NUL.
constexpr size_t kMaxEntryName = 256;
constexpr size_t kMaxPhoneNumber = 128;
constexpr size_t kMaxCallbackNumber = 128;
constexpr size_t kMaxUserName = 256;  // UNLEN
constexpr size_t kMaxPassword = 256;  // PWLEN
constexpr size_t kMaxDomain = 15;     // DNLEN
constexpr size_t kMaxDeviceType = 16;
constexpr size_t kMaxDeviceName = 128;
constexpr size_t kMaxIpAddress = 15;
constexpr size_t kMaxPath = 260;  // MAX_PATH
constexpr size_t kMaxAreaCode = 10;
constexpr size_t kMaxPadType = 32;
constexpr size_t kMaxX25Address = 200;
constexpr size_t kMaxFacilities = 200;
constexpr size_t kMaxUserData = 200;
constexpr size_t kMaxDnsSuffix = 256;

#pragma pack(push, 4)

struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

struct Luid {
  uint32_t low_part;
  int32_t high_part;
};

// RASENTRYNAMEA. Levels: 4.00 ends before dwFlags; 5.00 is whole.
struct RasEntryName {
  uint32_t dwSize;
  char szEntryName[kMaxEntryName + 1];
  uint32_t dwFlags;  // kEntryInAllUsersPhonebook, else the user's own
  char szPhonebookPath[kMaxPath + 1];
};

// RASDIALPARAMSA. Levels: 4.00 ends before dwSubEntry; 4.01 before dwIfIndex; 6.01 whole.
struct RasDialParams {
  uint32_t dwSize;
  char szEntryName[kMaxEntryName + 1];
  char szPhoneNumber[kMaxPhoneNumber + 1];
  char szCallbackNumber[kMaxCallbackNumber + 1];
  char szUserName[kMaxUserName + 1];
  char szPassword[kMaxPassword + 1];
  char szDomain[kMaxDomain + 1];
  uint32_t dwSubEntry;
  uintptr_t dwCallbackId;
  uint32_t dwIfIndex;
};

// RASCONNA. Levels: 4.00 ends before szPhonebook; 4.01 before guidEntry; 5.00 before
// dwFlags; 5.01 whole.
struct RasConn {
  uint32_t dwSize;
  Handle hrasconn;
  char szEntryName[kMaxEntryName + 1];
  char szDeviceType[kMaxDeviceType + 1];
  char szDeviceName[kMaxDeviceName + 1];
  char szPhonebook[kMaxPath];
  uint32_t dwSubEntry;
  Guid guidEntry;
  uint32_t dwFlags;
  Luid luid;
};

// RASCONNSTATUSA. Levels: 4.00 ends before szPhoneNumber; 4.01 whole.
struct RasConnStatus {
  uint32_t dwSize;
  uint32_t rasconnstate;
  uint32_t dwError;
  char szDeviceType[kMaxDeviceType + 1];
  char szDeviceName[kMaxDeviceName + 1];
  char szPhoneNumber[kMaxPhoneNumber + 1];
};

// RASPPPIPA. Levels: the NT 3.5 one ends before szServerIpAddress; 4.00 before dwOptions;
// 5.00 whole.
struct RasPppIp {
  uint32_t dwSize;
  uint32_t dwError;
  char szIpAddress[kMaxIpAddress + 1];
  char szServerIpAddress[kMaxIpAddress + 1];
  uint32_t dwOptions;
  uint32_t dwServerOptions;
};

struct RasIpAddr {
  uint8_t a, b, c, d;
};

// RASENTRYA. Levels: 4.00 ends before dwSubEntries; 4.01 before dwType; 5.00 before
// dwfOptions2; 5.01 whole. The system's automatic dialing calls the function named by
// szAutodialFunc (with A or W appended) in the library szAutodialDll.
struct RasEntry {
  uint32_t dwSize;
  uint32_t dwfOptions;
  uint32_t dwCountryID;
  uint32_t dwCountryCode;
  char szAreaCode[kMaxAreaCode + 1];
  char szLocalPhoneNumber[kMaxPhoneNumber + 1];
  uint32_t dwAlternateOffset;
  RasIpAddr ipaddr;
  RasIpAddr ipaddrDns;
  RasIpAddr ipaddrDnsAlt;
  RasIpAddr ipaddrWins;
  RasIpAddr ipaddrWinsAlt;
  uint32_t dwFrameSize;
  uint32_t dwfNetProtocols;
  uint32_t dwFramingProtocol;
  char szScript[kMaxPath];
  char szAutodialDll[kMaxPath];
  char szAutodialFunc[kMaxPath];
  char szDeviceType[kMaxDeviceType + 1];
  char szDeviceName[kMaxDeviceName + 1];
  char szX25PadType[kMaxPadType + 1];
  char szX25Address[kMaxX25Address + 1];
  char szX25Facilities[kMaxFacilities + 1];
  char szX25UserData[kMaxUserData + 1];
  uint32_t dwChannels;
  uint32_t dwReserved1;
  uint32_t dwReserved2;
  uint32_t dwSubEntries;
  uint32_t dwDialMode;
  uint32_t dwDialExtraPercent;
  uint32_t dwDialExtraSampleSeconds;
  uint32_t dwHangUpExtraPercent;
  uint32_t dwHangUpExtraSampleSeconds;
  uint32_t dwIdleDisconnectSeconds;
  uint32_t dwType;
  uint32_t dwEncryptionType;
  uint32_t dwCustomAuthKey;
  Guid guidId;
  char szCustomDialDll[kMaxPath];
  uint32_t dwVpnStrategy;
  uint32_t dwfOptions2;
  uint32_t dwfOptions3;
  char szDnsSuffix[kMaxDnsSuffix];
  uint32_t dwTcpWindowSize;
  char szPrerequisitePbk[kMaxPath];
  char szPrerequisiteEntry[kMaxEntryName + 1];
  uint32_t dwRedialCount;
  uint32_t dwRedialPause;
};

// RAS_STATS: one level.
struct RasStats {
  uint32_t dwSize;
  uint32_t dwBytesXmited;
  uint32_t dwBytesRcved;
  uint32_t dwFramesXmited;
  uint32_t dwFramesRcved;
  uint32_t dwCrcErr;
  uint32_t dwTimeoutErr;
  uint32_t dwAlignmentErr;
  uint32_t dwHardwareOverrunErr;
  uint32_t dwFramingErr;
  uint32_t dwBufferOverrunErr;
  uint32_t dwCompressionRatioIn;
  uint32_t dwCompressionRatioOut;
  uint32_t dwBps;
  uint32_t dwConnectDuration;
};

#pragma pack(pop)

// A level that ends where the field at `offset` would begin, as a 4-packed compiler sizes it.
constexpr uint32_t LevelEndingAt(size_t offset) {
  return static_cast<uint32_t>((offset + 3) / 4 * 4);
}

inline constexpr std::array<uint32_t, 2> kEntryNameSizes = {
    LevelEndingAt(offsetof(RasEntryName, dwFlags)), sizeof(RasEntryName)};
inline constexpr std::array<uint32_t, 3> kDialParamsSizes = {
    LevelEndingAt(offsetof(RasDialParams, dwSubEntry)),
    LevelEndingAt(offsetof(RasDialParams, dwIfIndex)), sizeof(RasDialParams)};
inline constexpr std::array<uint32_t, 4> kConnSizes = {
    LevelEndingAt(offsetof(RasConn, szPhonebook)), LevelEndingAt(offsetof(RasConn, guidEntry)),
    LevelEndingAt(offsetof(RasConn, dwFlags)), sizeof(RasConn)};
inline constexpr std::array<uint32_t, 2> kConnStatusSizes = {
    LevelEndingAt(offsetof(RasConnStatus, szPhoneNumber)), sizeof(RasConnStatus)};
inline constexpr std::array<uint32_t, 3> kPppIpSizes = {
    LevelEndingAt(offsetof(RasPppIp, szServerIpAddress)),
    LevelEndingAt(offsetof(RasPppIp, dwOptions)), sizeof(RasPppIp)};
inline constexpr std::array<uint32_t, 4> kEntrySizes = {
    LevelEndingAt(offsetof(RasEntry, dwSubEntries)), LevelEndingAt(offsetof(RasEntry, dwType)),
    LevelEndingAt(offsetof(RasEntry, dwfOptions2)), sizeof(RasEntry)};
inline constexpr std::array<uint32_t, 1> kStatsSizes = {sizeof(RasStats)};

template <size_t N>
constexpr bool Accepts(const std::array<uint32_t, N>& sizes, uint32_t size) {
  return std::find(sizes.begin(), sizes.end(), size) != sizes.end();
}

// EntryName.dwFlags: the entry lives in the all-users phonebook.
constexpr uint32_t kEntryInAllUsersPhonebook = 1;

// RasEntry's protocol fields of every entry the substitute keeps.
constexpr uint32_t kNetProtocolIp = 4;   // RASNP_Ip
constexpr uint32_t kFramingPpp = 1;      // RASFP_Ppp
constexpr uint32_t kEntryTypePhone = 1;  // RASET_Phone

// Result codes.
constexpr uint32_t kSuccess = 0;
constexpr uint32_t kInvalidHandle = 6;
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kInsufficientBuffer = 122;
constexpr uint32_t kInvalidName = 123;
constexpr uint32_t kAlreadyExists = 183;
constexpr uint32_t kBufferTooSmall = 603;
constexpr uint32_t kBufferInvalid = 610;
constexpr uint32_t kInternalError = 611;
constexpr uint32_t kPortDisconnected = 619;
constexpr uint32_t kCannotFindEntry = 623;
constexpr uint32_t kCannotWritePhonebook = 624;
constexpr uint32_t kRemoteDisconnection = 629;
constexpr uint32_t kUserDisconnection = 631;
constexpr uint32_t kInvalidSize = 632;
constexpr uint32_t kPortNotAvailable = 633;
constexpr uint32_t kLineBusy = 676;
constexpr uint32_t kNoAnswer = 678;
constexpr uint32_t kNoDialTone = 680;
constexpr uint32_t kAuthenticationFailure = 691;
constexpr uint32_t kHardwareFailure = 692;
constexpr uint32_t kProjectionNotComplete = 730;
constexpr uint32_t kProtocolNotConfigured = 731;

constexpr uint32_t kProjectionPppIp = 0x8021;
constexpr unsigned kWmRasDialEvent = 0xCCCD;  // the message number given to notifier type 0
constexpr uint32_t kNotifyDisconnection = 2;  // RASCN_Disconnection

// RASCONNSTATE values a simulated dial passes through.
enum State : uint32_t {
  kOpenPort = 0,
  kPortOpened = 1,
  kConnectDevice = 2,
  kDeviceConnected = 3,
  kAllDevicesConnected = 4,
  kAuthenticate = 5,
  kAuthenticated = 14,
  kConnected = 8192,
  kDisconnected = 8193,
};

// Notifier type 0 (RASDIALFUNC).
using DialFunc = void(RASSIM_CALL*)(unsigned msg, uint32_t state, uint32_t error);

// The text of a character field up to its first NUL, or the whole field without one.
template <size_t N>
std::string Text(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// Stores `text` cut to fit, always NUL-terminated.
template <size_t N>
void Put(char (&field)[N], std::string_view text) {
  const size_t length = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

}  // namespace rassim
