#include "platform/linux/native_storage_interfaces.h"

namespace kelvane::platform {

std::vector<StorageInterface> NativeStorageInterfaces::ListStorageInterfaces() {
  return {};
}

std::optional<StorageDeviceNumber> NativeStorageInterfaces::DriveDeviceNumber(char) {
  return std::nullopt;
}

}  // namespace kelvane::platform
