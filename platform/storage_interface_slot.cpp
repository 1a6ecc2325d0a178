// Where the storage-interface implementation is chosen.
#include "platform/drives.h"
#include "platform/linux/native_storage_interfaces.h"
#include "platform/storage_interfaces.h"

namespace kelvane::platform {

PortSlot<StorageInterfacePort>& StorageInterfaceSlot() {
  static PortSlot<StorageInterfacePort> slot;
  return slot;
}

StorageInterfacePort& StorageInterfaces() {
  if (StorageInterfaceSlot().override_port != nullptr) return *StorageInterfaceSlot().override_port;
  // A drive backend that also knows the storage interfaces of its drives
  // answers for them, so that both views describe the same PC.
  if (auto* served = dynamic_cast<StorageInterfacePort*>(&Drives())) return *served;
  static NativeStorageInterfaces native;
  return native;
}

}  // namespace kelvane::platform
