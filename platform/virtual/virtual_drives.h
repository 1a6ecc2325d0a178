// The virtual backend of the device-facing concerns: a client of the virtual
// drive server. Every request the system sends to a virtual drive passes
// through Call(), the one place where the traffic can be traced (set
// KELVANE_VDRIVE_TRACE=1 to print each request and response on stderr).
#pragma once

#include <nlohmann/json.hpp>

#include "platform/drives.h"
#include "platform/storage_interfaces.h"
#include "platform/virtual/vdrive_channel.h"

namespace kelvane::platform {

// Also serves the storage interfaces of the same drives
// (virtual_storage_interfaces.cpp); a server without that facility has none.
class VirtualDrives final : public DrivePort, public StorageInterfacePort {
 public:
  explicit VirtualDrives(VdriveChannel& channel);

  std::vector<LogicalDrive> ListDrives() override;
  ScsiOutcome ScsiPassThrough(const ScsiRequest& request) override;
  std::uint32_t ProbeOpen(char letter) override;

  std::vector<StorageInterface> ListStorageInterfaces() override;
  std::optional<StorageDeviceNumber> DriveDeviceNumber(char letter) override;

  // One request of the protocol. A server that cannot be reached, or an
  // answer that is not a JSON object, gives
  // {"ok":false,"error":1167,"unreachable":true}; a pass-through request
  // then fails as a drive that cannot be opened.
  nlohmann::json Call(const nlohmann::json& request);

 private:
  VdriveChannel& channel_;
  bool trace_ = false;
};

// The error a client reports when the server is gone: the device is not
// connected.
inline constexpr std::uint32_t kVdriveUnreachableError = 1167;

}  // namespace kelvane::platform
