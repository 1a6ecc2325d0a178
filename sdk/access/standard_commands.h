// The standard SCSI commands the access layer sends itself. Each binds its
// own channel and uses a 10-second time-out.
#pragma once

#include <cstdint>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

inline constexpr std::uint32_t kInquiryLength = 44;
inline constexpr std::uint32_t kSenseLength = 18;

// INQUIRY (12 00 00 00 2C): 44 bytes copied to `data` on success. Not over
// HID (mask 11): 1 for a HID-path context.
std::int32_t Inquiry(const DeviceContext& context, std::uint8_t* data);

// TEST UNIT READY: `sense` (at least 18 bytes) receives the sense bytes.
std::int32_t TestUnitReady(const DeviceContext& context, std::uint8_t* sense);

// REQUEST SENSE (03 00 p 00 12): 18 bytes into `data`; 1 when `data` is
// null or `length` below 18.
std::int32_t RequestSense(const DeviceContext& context, std::uint8_t p, std::uint8_t* data, std::uint32_t length);

// TEST UNIT READY up to retries + 1 times, pausing `pause_ms` on the
// context's event after each failure; with `want_sense`, a REQUEST SENSE into
// `sense` when none succeeded. 2 for a HID-path context; 1 when sense is
// wanted but the buffer or its length is zero; 0 otherwise (the caller judges
// from the sense data).
std::int32_t WaitUntilReady(DeviceContext& context, bool want_sense, std::uint8_t* sense,
                            std::uint32_t sense_length, std::uint32_t retries, std::uint32_t pause_ms);

// As above; also stops when byte 2 of the TEST UNIT READY sense equals
// `sense_key`.
std::int32_t WaitUntilReadyOrSenseKey(DeviceContext& context, bool want_sense, std::uint8_t* sense,
                                      std::uint32_t sense_length, std::uint32_t retries,
                                      std::uint32_t pause_ms, std::uint8_t sense_key);

}  // namespace kelvane::sdk::access
