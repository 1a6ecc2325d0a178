#include "sdk/access/standard_commands.h"

#include <array>
#include <cstring>
#include <optional>

#include "platform/secure_wipe.h"
#include "sdk/access/command_channel.h"

namespace kelvane::sdk::access {

namespace {

constexpr std::uint32_t kTimeoutSeconds = 10;
constexpr std::uint32_t kTurSenseBuffer = 32;

std::int32_t Send(const DeviceContext& context, std::uint8_t mask, std::array<std::uint8_t, kCdbSize>& cdb,
                  std::uint8_t dir, std::uint8_t* buffer, std::uint32_t length) {
  CommandChannel channel;
  std::int32_t status = 1;
  if (BindChannel(&context, &channel, mask) == 0) {
    status = SendCommand(channel, cdb.data(), dir, buffer, length, kTimeoutSeconds);
  }
  platform::SecureWipe(cdb.data(), cdb.size());
  return status;
}

std::int32_t WaitLoop(DeviceContext& context, bool want_sense, std::uint8_t* sense, std::uint32_t sense_length,
                      std::uint32_t retries, std::uint32_t pause_ms, std::optional<std::uint8_t> sense_key) {
  if (context.address.kind == AddressKind::kHidPath) return 2;
  if (want_sense && (sense == nullptr || sense_length == 0)) return 1;
  bool ready = false;
  for (std::uint32_t attempt = 0; attempt <= retries; ++attempt) {
    std::uint8_t tur_sense[kTurSenseBuffer] = {};
    const std::int32_t status = TestUnitReady(context, tur_sense);
    if (status == 0 || (sense_key && tur_sense[2] == *sense_key)) {
      ready = true;
      break;
    }
    context.sleep_event.Wait(pause_ms);
  }
  if (!ready && want_sense) {
    std::uint8_t data[kSenseLength] = {};
    RequestSense(context, 0, data, kSenseLength);
    std::memcpy(sense, data, std::min<std::uint32_t>(sense_length, kSenseLength));
  }
  return 0;
}

}  // namespace

std::int32_t Inquiry(const DeviceContext& context, std::uint8_t* data) {
  std::array<std::uint8_t, kCdbSize> cdb{0x12, 0x00, 0x00, 0x00, 0x2C};
  std::uint8_t buffer[kInquiryLength] = {};
  const std::int32_t status = Send(context, allowed_kinds::kNoHid, cdb, direction::kIn, buffer, kInquiryLength);
  if (status == 0 && data != nullptr) std::memcpy(data, buffer, kInquiryLength);
  return status;
}

std::int32_t TestUnitReady(const DeviceContext& context, std::uint8_t* sense) {
  std::array<std::uint8_t, kCdbSize> cdb{};
  return Send(context, allowed_kinds::kNoHid, cdb, direction::kNone, sense, 0);
}

std::int32_t RequestSense(const DeviceContext& context, std::uint8_t p, std::uint8_t* data, std::uint32_t length) {
  if (data == nullptr || length < kSenseLength) return 1;
  std::array<std::uint8_t, kCdbSize> cdb{0x03, 0x00, p, 0x00, 0x12};
  return Send(context, allowed_kinds::kAll, cdb, direction::kIn, data, kSenseLength);
}

std::int32_t WaitUntilReady(DeviceContext& context, bool want_sense, std::uint8_t* sense,
                            std::uint32_t sense_length, std::uint32_t retries, std::uint32_t pause_ms) {
  return WaitLoop(context, want_sense, sense, sense_length, retries, pause_ms, std::nullopt);
}

std::int32_t WaitUntilReadyOrSenseKey(DeviceContext& context, bool want_sense, std::uint8_t* sense,
                                      std::uint32_t sense_length, std::uint32_t retries,
                                      std::uint32_t pause_ms, std::uint8_t sense_key) {
  return WaitLoop(context, want_sense, sense, sense_length, retries, pause_ms, sense_key);
}

}  // namespace kelvane::sdk::access
