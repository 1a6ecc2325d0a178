#include "writer/writer_entry.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "sdk/kat_api.h"
#include "writer/console.h"
#include "writer/firmware_update.h"

namespace kelvane::writer {

namespace {

constexpr std::uint32_t kTokenCapacity = 128;

// The supported drives' USB identifiers. They are handed over with a pair
// count of 0: the listing's vendor/product filter stays off, because the
// target drive reports a vendor of its own and would otherwise be refused.
constexpr std::array<std::uint32_t, 3> kVendors = {0x13FE, 0x13FE, 0x13FE};
constexpr std::array<std::uint32_t, 3> kProducts = {0x1E27, 0x3327, 0x3321};
constexpr std::uint32_t kPairCount = 0;

}  // namespace

int RunWriter() {
  std::uint32_t version = 0;
  const std::int32_t initialised = Kat_InitAPI(&version);
  if (initialised != 0) {
    Print("UDV_InitAPI fail");
    return initialised;
  }

  std::array<KatTokenRecord, kTokenCapacity> tokens;
  std::memset(tokens.data(), 0, sizeof(KatTokenRecord) * tokens.size());
  for (KatTokenRecord& token : tokens) token.size = sizeof(KatTokenRecord);
  std::uint32_t count = kTokenCapacity;
  if (Kat_ListTokens(tokens.data(), &count, kVendors.data(), kProducts.data(), kPairCount) != 0) {
    return kNoDriveFound;
  }
  if (count == 0) return kNoDriveFound;
  if (count > 1) return kSeveralDrivesFound;

  const int result = RunFirmwareUpdate(tokens[0].unit_bytes[0]);
  switch (result) {
    case kUpdateWritten:
      Print(" Update Firmware Finish!");
      break;
    case kNotTargetDevice:
      Print("Fail - %d", result);
      Print(" Identifying the USB device failed");
      break;
    case kAlreadyUpToDate:
      Print("Fail - %d", result);
      Print(" The device is the latest firmware version. No update required.");
      break;
    default:
      Print("Fail - %d", result);
      break;
  }
  return result;
}

}  // namespace kelvane::writer
