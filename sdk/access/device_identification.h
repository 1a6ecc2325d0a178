// Tying a device context to a drive of the current device list and making
// sure the drive carries a supported controller; the firmware write.
#pragma once

#include <cstdint>

#include "sdk/access/candidate_filter.h"
#include "sdk/access/device_context.h"
#include "sdk/access/info_blocks.h"
#include "sdk/kat_api.h"

namespace kelvane::sdk::access {

// The firmware codes IdentifyDevice supports, in this order.
inline constexpr std::uint32_t kSupportedFirmwareCodes[] = {0xFF03, 0xFF04, 0xFF05, 0xFF08,
                                                            0xFF0C, 0xFF0D, 0xFFFF};

// The secure-layout test of an identification block: controller 7049
// (bytes 382-383 are 0x70 0x49) or byte 397 is 0x0B.
bool IsSecureLayout(const std::uint8_t* identification);

// Finds the drive `selector` names in the current device list (34 when there
// is none; an index code's token index and unit go to `token_index` and
// `unit` when given), binds `context` to its record with SCSI usable = not
// HID mode, then:
//   - in HID mode the record's HID path must not be empty (19) and the
//     context is addressed by it; otherwise the context is bound to the
//     selector as a drive letter (an index code keeps the record's letter);
//   - with `warm_up`, a HID address and OS kind 0: two ReadHidStatus, their
//     results dropped;
//   - with `check`: the INFO block into `info` (528 bytes, when given);
//   - with `check` or `secure_layout`: the identification block into
//     `identification` (528 bytes, when given); any failed read gives 21;
//   - with `secure_layout`: the secure-layout test, stored in the context
//     and in *secure_layout;
//   - with `check`: CheckDeviceSupported with the firmware codes above (21
//     when it fails, 34 when the drive does not pass).
// `record` receives the list entry when given. Without `check` and
// `secure_layout` no command is sent. The context is not reset on failure.
std::int32_t IdentifyDevice(std::uint8_t selector, DeviceContext& context, std::uint8_t warm_up,
                            std::uint8_t* info, std::uint8_t* identification, std::uint8_t check,
                            std::uint8_t* secure_layout, std::int32_t* token_index,
                            std::uint8_t* unit, KatDeviceRecord** record);

// The support test: every non-empty list of `lists` must match exactly
// (controller code = byte 382 * 256 + byte 383, firmware code = byte 154 *
// 256 + byte 155, mode = INFO byte 172, pair: byte 9 * 256 + byte 8 and byte
// 11 * 256 + byte 10 at one position). Sets *verdict to 1 when the drive
// passes and never clears it. 0, or 1 for a null verdict or block.
std::int32_t CheckDeviceSupported(std::uint8_t selector, std::uint8_t* verdict,
                                  const CandidateFilter& lists, const std::uint8_t* info,
                                  const std::uint8_t* identification);

// Sends `image` (`length` bytes, one transfer) with 06 1F ... B1 80, data
// out, 10 s. 1 for a null image or a channel that cannot be bound, else the
// transport status.
std::int32_t WriteFirmwareImage(const DeviceContext& context, const std::uint8_t* image,
                                std::uint32_t length);

}  // namespace kelvane::sdk::access
