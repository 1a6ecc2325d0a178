// System information that the SDK derives its transport mode and OS kind code
// from. The port only answers; the decisions are the SDK's.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/port_slot.h"

namespace kelvane::platform {

// What GetVersionExA fills, as far as the SDK reads it.
struct VersionDetails {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint8_t product_type = 0;  // 1 workstation, 2 domain controller, 3 server
};

struct AdministratorAnswer {
  bool is_administrator = true;  // every failure inside the test counts as yes
  int status = 0;                // 0 when the membership test ran; 2 to 5 otherwise
};

class SystemInfoPort {
 public:
  virtual ~SystemInfoPort() = default;

  // GetVersion: low byte major, next byte minor, high word build.
  virtual std::uint32_t GetVersion() = 0;

  // GetVersionExA; nullopt when it fails.
  virtual std::optional<VersionDetails> GetVersionDetails() = 0;

  // Membership of the calling process in the Administrators group.
  virtual AdministratorAnswer TestAdministrator() = 0;
};

PortSlot<SystemInfoPort>& SystemInfoSlot();
SystemInfoPort& SystemInfo();

}  // namespace kelvane::platform
