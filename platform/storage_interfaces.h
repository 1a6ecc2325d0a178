// Storage interfaces: the present device interfaces of the CD-ROM and disk
// classes, with what the system says about each (interface path, parent
// device ID, storage device number), and the storage device number of a
// drive letter. The SDK matches them to find the units of a drive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/port_slot.h"

namespace kelvane::platform {

// Interface classes: {53F56308-B6BF-11D0-94F2-00A0C91EFB8B} and
// {53F56307-B6BF-11D0-94F2-00A0C91EFB8B}.
enum class StorageClass : std::uint8_t { kCdRom = 0, kDisk = 1 };

// Device type codes of a storage device number.
namespace storage_device_type {
inline constexpr std::uint32_t kCdRom = 0x02;  // FILE_DEVICE_CD_ROM
inline constexpr std::uint32_t kDisk = 0x07;   // FILE_DEVICE_DISK
}  // namespace storage_device_type

// What IOCTL_STORAGE_GET_DEVICE_NUMBER answers.
struct StorageDeviceNumber {
  std::uint32_t device_type = 0;
  std::uint32_t device_number = 0;
  std::uint32_t partition_number = 0;

  friend bool operator==(const StorageDeviceNumber&, const StorageDeviceNumber&) = default;
};

struct StorageInterface {
  StorageClass storage_class = StorageClass::kDisk;
  // The interface path, e.g.
  // "\\?\usbstor#disk&ven_x&prod_y&rev_1.00#serial&0#{53f56307-...}".
  std::string path;
  // The device ID of the interface's parent device (e.g.
  // "USB\VID_0693&PID_0203\KV0123456789"); nullopt when the parent or its ID
  // cannot be had.
  std::optional<std::string> parent_device_id;
  // nullopt when the interface cannot be opened or the number not read.
  std::optional<StorageDeviceNumber> device_number;
};

// Contract: every method blocks until the answer is known; none throws.
class StorageInterfacePort {
 public:
  virtual ~StorageInterfacePort() = default;

  // The present interfaces: every CD-ROM-class interface first, then every
  // disk-class interface, each class in the system's enumeration order. A
  // system that cannot enumerate them gives an empty list.
  virtual std::vector<StorageInterface> ListStorageInterfaces() = 0;

  // The storage device number of the volume of `letter` (either case),
  // opened with no access and no sharing; nullopt when it cannot be opened
  // or the number not read.
  virtual std::optional<StorageDeviceNumber> DriveDeviceNumber(char letter) = 0;
};

PortSlot<StorageInterfacePort>& StorageInterfaceSlot();

// The implementation in force: a test override; else the drive backend in
// force (Drives()) when it also serves storage interfaces, as the virtual
// backend does; else the native backend.
StorageInterfacePort& StorageInterfaces();

}  // namespace kelvane::platform
