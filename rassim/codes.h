// Result codes the substitute returns beyond those the program itself names.
#pragma once

#include <cstdint>

namespace rassim {

constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kInvalidName = 123;
constexpr uint32_t kAlreadyExists = 183;
constexpr uint32_t kBufferInvalid = 610;
constexpr uint32_t kInternalError = 611;
constexpr uint32_t kPortDisconnected = 619;
constexpr uint32_t kCannotWritePhonebook = 624;
constexpr uint32_t kRemoteDisconnection = 629;
constexpr uint32_t kNoDialTone = 680;
constexpr uint32_t kHardwareFailure = 692;
constexpr uint32_t kProjectionNotComplete = 730;
constexpr uint32_t kProtocolNotConfigured = 731;

}  // namespace rassim
