// The Linux storage-interface backend. It reports no interfaces: the native
// drive backend serves no drives yet.
#pragma once

#include "platform/storage_interfaces.h"

namespace kelvane::platform {

class NativeStorageInterfaces final : public StorageInterfacePort {
 public:
  std::vector<StorageInterface> ListStorageInterfaces() override;
  std::optional<StorageDeviceNumber> DriveDeviceNumber(char letter) override;
};

}  // namespace kelvane::platform
