// The RAS records of the program and of the RAS substitute, checked at compile time
// against the platform's <ras.h>: sizes, and the offset of every field either reads or
// writes. An older level ends where the first field past it begins, rounded up to 4.
#include <windows.h>

#include <ras.h>
#include <raserror.h>

#include <cstddef>

#include "dialup/ras_types.h"
#include "rassim/records.h"

namespace {

constexpr size_t Level(size_t offset_past) {
  return (offset_past + 3) / 4 * 4;
}

#define SAME_FIELD(ours, theirs, field) \
  static_assert(offsetof(ours, field) == offsetof(theirs, field), #ours "::" #field)

// The program speaks the 4.00 level of every record but the entry name's, which it asks
// for at 5.00 first, and the entry's properties, which it reads and writes whole.
static_assert(sizeof(TRasEntryName) == sizeof(RASENTRYNAMEA));
static_assert(kRasEntryName400Size == Level(offsetof(RASENTRYNAMEA, dwFlags)));
SAME_FIELD(TRasEntryName, RASENTRYNAMEA, szEntryName);
SAME_FIELD(TRasEntryName, RASENTRYNAMEA, dwFlags);
SAME_FIELD(TRasEntryName, RASENTRYNAMEA, szPhonebookPath);
static_assert(kRasEntryInAllUsersPhonebook == REN_AllUsers);

static_assert(sizeof(TRasEntry) == sizeof(RASENTRYA));
SAME_FIELD(TRasEntry, RASENTRYA, szLocalPhoneNumber);
SAME_FIELD(TRasEntry, RASENTRYA, dwAlternateOffset);
SAME_FIELD(TRasEntry, RASENTRYA, dwFramingProtocol);
SAME_FIELD(TRasEntry, RASENTRYA, szDeviceType);
SAME_FIELD(TRasEntry, RASENTRYA, szAutodialDll);
SAME_FIELD(TRasEntry, RASENTRYA, szAutodialFunc);
SAME_FIELD(TRasEntry, RASENTRYA, szDeviceName);
SAME_FIELD(TRasEntry, RASENTRYA, dwType);
SAME_FIELD(TRasEntry, RASENTRYA, guidId);
SAME_FIELD(TRasEntry, RASENTRYA, dwRedialPause);

static_assert(sizeof(TRasDialParams) == Level(offsetof(RASDIALPARAMSA, dwSubEntry)));
SAME_FIELD(TRasDialParams, RASDIALPARAMSA, szEntryName);
SAME_FIELD(TRasDialParams, RASDIALPARAMSA, szPhoneNumber);
SAME_FIELD(TRasDialParams, RASDIALPARAMSA, szCallbackNumber);
SAME_FIELD(TRasDialParams, RASDIALPARAMSA, szUserName);
SAME_FIELD(TRasDialParams, RASDIALPARAMSA, szPassword);
SAME_FIELD(TRasDialParams, RASDIALPARAMSA, szDomain);

static_assert(sizeof(TRasConnStatusA) == Level(offsetof(RASCONNSTATUSA, szPhoneNumber)));
SAME_FIELD(TRasConnStatusA, RASCONNSTATUSA, rasconnstate);
SAME_FIELD(TRasConnStatusA, RASCONNSTATUSA, dwError);
SAME_FIELD(TRasConnStatusA, RASCONNSTATUSA, szDeviceType);
SAME_FIELD(TRasConnStatusA, RASCONNSTATUSA, szDeviceName);

static_assert(sizeof(TRasConn) == Level(offsetof(RASCONNA, szPhonebook)));
SAME_FIELD(TRasConn, RASCONNA, hrasconn);
SAME_FIELD(TRasConn, RASCONNA, szEntryName);
SAME_FIELD(TRasConn, RASCONNA, szDeviceType);
SAME_FIELD(TRasConn, RASCONNA, szDeviceName);

static_assert(sizeof(TRasPppIp) == Level(offsetof(RASPPPIPA, dwOptions)));
SAME_FIELD(TRasPppIp, RASPPPIPA, dwError);
SAME_FIELD(TRasPppIp, RASPPPIPA, szIpAddress);
SAME_FIELD(TRasPppIp, RASPPPIPA, szServerIpAddress);

static_assert(sizeof(TRasStats) == sizeof(RAS_STATS));
SAME_FIELD(TRasStats, RAS_STATS, dwBytesXmited);
SAME_FIELD(TRasStats, RAS_STATS, dwBytesRcved);
SAME_FIELD(TRasStats, RAS_STATS, dwBps);
SAME_FIELD(TRasStats, RAS_STATS, dwConnectDuration);

// The codes the program tells apart.
static_assert(kRasLineBusy == ERROR_LINE_BUSY && kRasNoAnswer == ERROR_NO_ANSWER);
static_assert(kRasUserDisconnection == ERROR_USER_DISCONNECTION);
static_assert(kRasRestrictedLogonHours == ERROR_RESTRICTED_LOGON_HOURS);
static_assert(kRasAccountDisabled == ERROR_ACCT_DISABLED);
static_assert(kRasPasswordExpired == ERROR_PASSWD_EXPIRED);
static_assert(kRasNoDialinPermission == ERROR_NO_DIALIN_PERMISSION);
static_assert(kRasAuthenticationFailure == ERROR_AUTHENTICATION_FAILURE);

// The substitute's records are the newest levels <ras.h> carries; each accepted older
// level ends where <ras.h> says it does.
using namespace rassim;

static_assert(sizeof(RasEntryName) == sizeof(RASENTRYNAMEA));
static_assert(kEntryNameSizes[0] == Level(offsetof(RASENTRYNAMEA, dwFlags)));
SAME_FIELD(RasEntryName, RASENTRYNAMEA, szEntryName);
SAME_FIELD(RasEntryName, RASENTRYNAMEA, dwFlags);
SAME_FIELD(RasEntryName, RASENTRYNAMEA, szPhonebookPath);

static_assert(kEntryInAllUsersPhonebook == REN_AllUsers);

static_assert(sizeof(RasEntry) == sizeof(RASENTRYA));
static_assert(kEntrySizes[0] == Level(offsetof(RASENTRYA, dwSubEntries)));
static_assert(kEntrySizes[1] == Level(offsetof(RASENTRYA, dwType)));
static_assert(kEntrySizes[2] == Level(offsetof(RASENTRYA, dwfOptions2)));
SAME_FIELD(RasEntry, RASENTRYA, szLocalPhoneNumber);
SAME_FIELD(RasEntry, RASENTRYA, dwfNetProtocols);
SAME_FIELD(RasEntry, RASENTRYA, dwFramingProtocol);
SAME_FIELD(RasEntry, RASENTRYA, szAutodialDll);
SAME_FIELD(RasEntry, RASENTRYA, szAutodialFunc);
SAME_FIELD(RasEntry, RASENTRYA, szDeviceType);
SAME_FIELD(RasEntry, RASENTRYA, szDeviceName);
SAME_FIELD(RasEntry, RASENTRYA, dwType);
SAME_FIELD(RasEntry, RASENTRYA, guidId);
SAME_FIELD(RasEntry, RASENTRYA, dwRedialPause);
static_assert(kNetProtocolIp == RASNP_Ip && kFramingPpp == RASFP_Ppp);
static_assert(kEntryTypePhone == RASET_Phone);

static_assert(sizeof(RasDialParams) == sizeof(RASDIALPARAMSA));
static_assert(kDialParamsSizes[0] == Level(offsetof(RASDIALPARAMSA, dwSubEntry)));
static_assert(kDialParamsSizes[1] == Level(offsetof(RASDIALPARAMSA, dwIfIndex)));
SAME_FIELD(RasDialParams, RASDIALPARAMSA, szEntryName);
SAME_FIELD(RasDialParams, RASDIALPARAMSA, szPhoneNumber);
SAME_FIELD(RasDialParams, RASDIALPARAMSA, szCallbackNumber);
SAME_FIELD(RasDialParams, RASDIALPARAMSA, szUserName);
SAME_FIELD(RasDialParams, RASDIALPARAMSA, szPassword);
SAME_FIELD(RasDialParams, RASDIALPARAMSA, szDomain);
SAME_FIELD(RasDialParams, RASDIALPARAMSA, dwSubEntry);
SAME_FIELD(RasDialParams, RASDIALPARAMSA, dwCallbackId);
SAME_FIELD(RasDialParams, RASDIALPARAMSA, dwIfIndex);

static_assert(sizeof(RasConn) == sizeof(RASCONNA));
static_assert(kConnSizes[0] == Level(offsetof(RASCONNA, szPhonebook)));
static_assert(kConnSizes[1] == Level(offsetof(RASCONNA, guidEntry)));
static_assert(kConnSizes[2] == Level(offsetof(RASCONNA, dwFlags)));
SAME_FIELD(RasConn, RASCONNA, hrasconn);
SAME_FIELD(RasConn, RASCONNA, szEntryName);
SAME_FIELD(RasConn, RASCONNA, szDeviceType);
SAME_FIELD(RasConn, RASCONNA, szDeviceName);
SAME_FIELD(RasConn, RASCONNA, szPhonebook);
SAME_FIELD(RasConn, RASCONNA, dwSubEntry);
SAME_FIELD(RasConn, RASCONNA, guidEntry);
SAME_FIELD(RasConn, RASCONNA, dwFlags);
SAME_FIELD(RasConn, RASCONNA, luid);

static_assert(sizeof(RasConnStatus) == sizeof(RASCONNSTATUSA));
static_assert(kConnStatusSizes[0] == Level(offsetof(RASCONNSTATUSA, szPhoneNumber)));
SAME_FIELD(RasConnStatus, RASCONNSTATUSA, rasconnstate);
SAME_FIELD(RasConnStatus, RASCONNSTATUSA, dwError);
SAME_FIELD(RasConnStatus, RASCONNSTATUSA, szDeviceType);
SAME_FIELD(RasConnStatus, RASCONNSTATUSA, szDeviceName);
SAME_FIELD(RasConnStatus, RASCONNSTATUSA, szPhoneNumber);

static_assert(sizeof(RasPppIp) == sizeof(RASPPPIPA));
static_assert(kPppIpSizes[0] == Level(offsetof(RASPPPIPA, szServerIpAddress)));
static_assert(kPppIpSizes[1] == Level(offsetof(RASPPPIPA, dwOptions)));
SAME_FIELD(RasPppIp, RASPPPIPA, dwError);
SAME_FIELD(RasPppIp, RASPPPIPA, szIpAddress);
SAME_FIELD(RasPppIp, RASPPPIPA, szServerIpAddress);
SAME_FIELD(RasPppIp, RASPPPIPA, dwOptions);
SAME_FIELD(RasPppIp, RASPPPIPA, dwServerOptions);

static_assert(sizeof(RasStats) == sizeof(RAS_STATS));
SAME_FIELD(RasStats, RAS_STATS, dwBytesXmited);
SAME_FIELD(RasStats, RAS_STATS, dwBytesRcved);
SAME_FIELD(RasStats, RAS_STATS, dwBps);
SAME_FIELD(RasStats, RAS_STATS, dwConnectDuration);

static_assert(static_cast<int>(kConnected) == static_cast<int>(RASCS_Connected));
static_assert(static_cast<int>(kDisconnected) == static_cast<int>(RASCS_Disconnected));
static_assert(kProjectionPppIp == RASP_PppIp && kNotifyDisconnection == RASCN_Disconnection);
static_assert(kBufferTooSmall == ERROR_BUFFER_TOO_SMALL && kInvalidSize == ERROR_INVALID_SIZE);
static_assert(kInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);

}  // namespace
