// The update of the target drive: identify it, check that it is the target
// controller and not yet up to date, open the two areas of its secure
// mechanism, send the compiled-in firmware image in one command, close
// area 1 again.
#pragma once

#include <cstdint>

namespace kelvane::writer {

// Outcomes besides the SDK return codes.
inline constexpr int kUpdateWritten = 0;
inline constexpr int kNotTargetDevice = 1;
inline constexpr int kAlreadyUpToDate = 2;

// The drive is up to date from firmware 1.3 on. The version bytes are
// compared as one version, major first: 1.3, 1.4 and 2.0 are up to date;
// 1.2 and 0.9 are not.
bool IsUpToDate(std::uint8_t major, std::uint8_t minor);

// `selector` names the drive (a drive letter or an index code). Returns 0,
// 1, 2 or an SDK return code (19, 21, 34, 47, 70, 72, 73, 75). Prints the
// procedure's own texts; area 1 is closed on every path after its opening
// was attempted.
int RunFirmwareUpdate(std::uint8_t selector);

}  // namespace kelvane::writer
