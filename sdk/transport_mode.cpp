#include "sdk/transport_mode.h"

#include "platform/system_info.h"

namespace kelvane::sdk {

namespace {
constexpr std::uint8_t kWorkstation = 1;
}  // namespace

bool ComputeOsKindCode(std::int32_t& code) {
  const std::uint32_t version = platform::SystemInfo().GetVersion();
  const std::uint32_t major = version & 0xFF;
  const std::uint32_t minor = (version >> 8) & 0xFF;
  switch (major) {
    case 5:
      code = minor == 0 ? 0 : 1;
      return true;
    case 6:
      if (minor <= 2) code = static_cast<std::int32_t>(minor) + 2;
      return true;
    case 10:
      code = 5;
      return true;
    default:
      return false;
  }
}

int DecideTransportMode(access::DeviceContext& context) {
  platform::SystemInfoPort& system = platform::SystemInfo();
  const std::uint32_t major = system.GetVersion() & 0xFF;
  const auto details = system.GetVersionDetails();
  if (!details) return 2;
  bool scsi_usable;
  if ((major == 6 && details->product_type == kWorkstation) || major > 6) {
    scsi_usable = true;
  } else {
    scsi_usable = system.TestAdministrator().is_administrator;
  }
  if (context.force_hid != 0) scsi_usable = false;
  context.scsi_usable = scsi_usable ? 1 : 0;
  if (!scsi_usable) context.address.kind = access::AddressKind::kHidPath;
  return 0;
}

}  // namespace kelvane::sdk
