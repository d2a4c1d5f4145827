// Records, codes and entry-point signatures of the Remote Access Service, at the
// 4.00 level the program speaks (the entry names at 5.00, which say each entry's phonebook;
// an entry's properties at 5.01, the newest level every RAS since then accepts, so that
// writing them back drops no field).
// Portable: shared by the program and its tests. RAS packs every record to 4 bytes on every
// platform, so a handle after a 4-byte size sits at offset 4 even on x64. Sizes are part of the
// contract with RAS and are checked below; a Windows-only test ties every size and field offset to
// the platform's <ras.h>.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define RAS_CALL __stdcall
#else
#define RAS_CALL
#endif

using RasHandle = void*;  // HRASCONN: opaque, pointer-sized

constexpr int kRasMaxEntryName = 256;
constexpr int kRasMaxPhoneNumber = 128;
constexpr int kRasMaxCallbackNumber = 128;
constexpr int kRasMaxUserName = 256;
constexpr int kRasMaxPassword = 256;
constexpr int kRasMaxDomain = 15;
constexpr int kRasMaxDeviceType = 16;
constexpr int kRasMaxDeviceName = 128;
constexpr int kRasMaxIpAddress = 15;
constexpr int kRasMaxPath = 260;
constexpr int kRasMaxAreaCode = 10;
constexpr int kRasMaxPadType = 32;
constexpr int kRasMaxX25Address = 200;
constexpr int kRasMaxFacilities = 200;
constexpr int kRasMaxUserData = 200;
constexpr int kRasMaxDnsSuffix = 256;

#pragma pack(push, 4)

struct TRasEntryName {
  uint32_t dwSize;
  char szEntryName[kRasMaxEntryName + 1];
  uint32_t dwFlags;  // kRasEntryInAllUsersPhonebook, else the user's own
  char szPhonebookPath[kRasMaxPath + 1];
};

// An entry's properties; the program changes the automatic-dial handler only and writes
// everything else back as RAS gave it. RAS follows the record with the entry's alternate
// numbers at dwAlternateOffset, in the same buffer.
struct TRasEntry {
  uint32_t dwSize;
  uint32_t dwfOptions;
  uint32_t dwCountryID;
  uint32_t dwCountryCode;
  char szAreaCode[kRasMaxAreaCode + 1];
  char szLocalPhoneNumber[kRasMaxPhoneNumber + 1];
  uint32_t dwAlternateOffset;
  uint32_t ipaddr[5];  // own, DNS, alternate DNS, WINS, alternate WINS
  uint32_t dwFrameSize;
  uint32_t dwfNetProtocols;
  uint32_t dwFramingProtocol;
  char szScript[kRasMaxPath];
  char szAutodialDll[kRasMaxPath];
  char szAutodialFunc[kRasMaxPath];
  char szDeviceType[kRasMaxDeviceType + 1];
  char szDeviceName[kRasMaxDeviceName + 1];
  char szX25PadType[kRasMaxPadType + 1];
  char szX25Address[kRasMaxX25Address + 1];
  char szX25Facilities[kRasMaxFacilities + 1];
  char szX25UserData[kRasMaxUserData + 1];
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
  uint8_t guidId[16];
  char szCustomDialDll[kRasMaxPath];
  uint32_t dwVpnStrategy;
  uint32_t dwfOptions2;
  uint32_t dwfOptions3;
  char szDnsSuffix[kRasMaxDnsSuffix];
  uint32_t dwTcpWindowSize;
  char szPrerequisitePbk[kRasMaxPath];
  char szPrerequisiteEntry[kRasMaxEntryName + 1];
  uint32_t dwRedialCount;
  uint32_t dwRedialPause;
};

struct TRasDialParams {
  uint32_t dwSize;
  char szEntryName[kRasMaxEntryName + 1];
  char szPhoneNumber[kRasMaxPhoneNumber + 1];
  char szCallbackNumber[kRasMaxCallbackNumber + 1];
  char szUserName[kRasMaxUserName + 1];
  char szPassword[kRasMaxPassword + 1];
  char szDomain[kRasMaxDomain + 1];
};

struct TRasConnStatusA {
  uint32_t dwSize;
  uint32_t rasconnstate;
  uint32_t dwError;
  char szDeviceType[kRasMaxDeviceType + 1];
  char szDeviceName[kRasMaxDeviceName + 1];
};

// One connection RAS knows, dialing or connected.
struct TRasConn {
  uint32_t dwSize;
  RasHandle hrasconn;
  char szEntryName[kRasMaxEntryName + 1];
  char szDeviceType[kRasMaxDeviceType + 1];
  char szDeviceName[kRasMaxDeviceName + 1];
};

struct TRasPppIp {
  uint32_t dwSize;
  uint32_t dwError;
  char szIpAddress[kRasMaxIpAddress + 1];
  char szServerIpAddress[kRasMaxIpAddress + 1];
};

struct TRasStats {
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

static_assert(sizeof(TRasEntryName) == 532);
static_assert(sizeof(TRasEntry) == 2884);
static_assert(sizeof(TRasDialParams) == 1052);
static_assert(sizeof(TRasConnStatusA) == 160);
static_assert(sizeof(TRasConn) == (sizeof(void*) == 8 ? 416 : 412));
static_assert(sizeof(TRasPppIp) == 40);
static_assert(sizeof(TRasStats) == 60);

constexpr uint32_t kRasEntryNameSize = sizeof(TRasEntryName);
// The 4.00 entry name, all a RAS older than 5.00 knows: the name alone.
constexpr uint32_t kRasEntryName400Size = 264;
constexpr uint32_t kRasEntrySize = sizeof(TRasEntry);
constexpr uint32_t kRasEntryInAllUsersPhonebook = 1;
constexpr uint32_t kRasDialParamsSize = sizeof(TRasDialParams);
constexpr uint32_t kRasConnStatusSize = sizeof(TRasConnStatusA);
constexpr uint32_t kRasConnSize = sizeof(TRasConn);
constexpr uint32_t kRasPppIpSize = sizeof(TRasPppIp);
constexpr uint32_t kRasStatsSize = sizeof(TRasStats);

constexpr uint32_t kRasProjectionPppIp = 0x8021;
constexpr unsigned kWmRasDialEvent = 0xCCCD;  // message number RAS passes to the notifier

// Result codes the program and the substitute use.
constexpr uint32_t kRasSuccess = 0;
constexpr uint32_t kRasInvalidHandle = 6;
constexpr uint32_t kRasBufferTooSmall = 603;
constexpr uint32_t kRasInvalidSize = 632;
constexpr uint32_t kRasCannotFindEntry = 623;
constexpr uint32_t kRasUserDisconnection = 631;
constexpr uint32_t kRasPortNotAvailable = 633;
constexpr uint32_t kRasLineBusy = 676;
constexpr uint32_t kRasNoAnswer = 678;
constexpr uint32_t kRasRestrictedLogonHours = 646;
constexpr uint32_t kRasAccountDisabled = 647;
constexpr uint32_t kRasPasswordExpired = 648;
constexpr uint32_t kRasNoDialinPermission = 649;
constexpr uint32_t kRasAuthenticationFailure = 691;
constexpr uint32_t kRasCallNotImplemented = 120;

// RasConnectionNotification: set the event when the connection ends.
constexpr uint32_t kRasNotifyDisconnection = 2;

// Connection states (RASCONNSTATE) a dial reports.
enum RasConnState : uint32_t {
  kRasOpenPort = 0,
  kRasPortOpened = 1,
  kRasConnectDevice = 2,
  kRasDeviceConnected = 3,
  kRasAllDevicesConnected = 4,
  kRasAuthenticate = 5,
  kRasAuthenticated = 14,
  kRasConnected = 8192,
  kRasDisconnected = 8193,
};

// Notifier type 0: called on a RAS thread once per dial step.
using RasDialFunc = void(RAS_CALL*)(unsigned msg, uint32_t state, uint32_t error);

// Entry points, as RAS exports them.
using RasEnumEntriesFn = uint32_t(RAS_CALL*)(const char* reserved, const char* phonebook,
                                             TRasEntryName* entries, uint32_t* cb, uint32_t* count);
using RasGetEntryDialParamsFn = uint32_t(RAS_CALL*)(const char* phonebook, TRasDialParams* params,
                                                    int32_t* password_stored);
using RasSetEntryDialParamsFn = uint32_t(RAS_CALL*)(const char* phonebook, TRasDialParams* params,
                                                    int32_t remove_password);
using RasDialFn = uint32_t(RAS_CALL*)(void* extensions, const char* phonebook,
                                      TRasDialParams* params, uint32_t notifier_type,
                                      void* notifier, RasHandle* handle);
using RasEnumConnectionsFn = uint32_t(RAS_CALL*)(TRasConn* connections, uint32_t* cb,
                                                 uint32_t* count);
using RasGetConnectStatusFn = uint32_t(RAS_CALL*)(RasHandle handle, TRasConnStatusA* status);
using RasHangUpFn = uint32_t(RAS_CALL*)(RasHandle handle);
using RasGetProjectionInfoFn = uint32_t(RAS_CALL*)(RasHandle handle, uint32_t projection,
                                                   void* info, uint32_t* cb);
using RasGetErrorStringFn = uint32_t(RAS_CALL*)(unsigned code, char* buffer, uint32_t size);
using RasCreatePhonebookEntryFn = uint32_t(RAS_CALL*)(void* parent, const char* phonebook);
using RasEditPhonebookEntryFn = uint32_t(RAS_CALL*)(void* parent, const char* phonebook,
                                                    const char* entry);
using RasDeleteEntryFn = uint32_t(RAS_CALL*)(const char* phonebook, const char* entry);
using RasGetConnectionStatisticsFn = uint32_t(RAS_CALL*)(RasHandle handle, TRasStats* stats);
using RasGetEntryPropertiesFn = uint32_t(RAS_CALL*)(const char* phonebook, const char* entry,
                                                    TRasEntry* properties, uint32_t* size,
                                                    void* device_info, uint32_t* device_info_size);
using RasSetEntryPropertiesFn = uint32_t(RAS_CALL*)(const char* phonebook, const char* entry,
                                                    TRasEntry* properties, uint32_t size,
                                                    void* device_info, uint32_t device_info_size);
// `event` is a system event handle.
using RasConnectionNotificationFn = uint32_t(RAS_CALL*)(RasHandle handle, void* event,
                                                        uint32_t flags);
