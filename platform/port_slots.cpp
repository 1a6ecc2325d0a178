// Where each concern's implementation is chosen.
#include <cstdlib>
#include <memory>

#include "platform/drives.h"
#include "platform/linux/native_drives.h"
#include "platform/linux/runtime.h"
#include "platform/linux/system_info.h"
#include "platform/runtime.h"
#include "platform/system_info.h"
#include "platform/virtual/socket_channel.h"
#include "platform/virtual/virtual_drives.h"

namespace kelvane::platform {

PortSlot<DrivePort>& DriveSlot() {
  static PortSlot<DrivePort> slot;
  return slot;
}

DrivePort& Drives() {
  static DrivePort* const process_default = []() -> DrivePort* {
    const char* socket_path = std::getenv("KELVANE_VDRIVE");
    if (socket_path != nullptr && socket_path[0] != '\0') {
      static SocketChannel channel(socket_path);
      static VirtualDrives drives(channel);
      return &drives;
    }
    static NativeDrives native;
    return &native;
  }();
  return DriveSlot().Resolve(*process_default);
}

PortSlot<SystemInfoPort>& SystemInfoSlot() {
  static PortSlot<SystemInfoPort> slot;
  return slot;
}

SystemInfoPort& SystemInfo() {
  static LinuxSystemInfo native;
  return SystemInfoSlot().Resolve(native);
}

PortSlot<RuntimePort>& RuntimeSlot() {
  static PortSlot<RuntimePort> slot;
  return slot;
}

RuntimePort& Runtime() {
  static LinuxRuntime native;
  return RuntimeSlot().Resolve(native);
}

}  // namespace kelvane::platform
