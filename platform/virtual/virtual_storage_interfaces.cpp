// The storage-interface half of the virtual backend: the extension
// operations "storage_interfaces" and "storage_device_number" (see
// vdrive/README.md). Entries the answer does not describe completely lose
// only the part that is missing; an answer that is not understood, or a
// server without the facility (error 50), gives no interfaces.
#include <algorithm>
#include <cctype>

#include "platform/virtual/virtual_drives.h"

namespace kelvane::platform {

using nlohmann::json;

namespace {

std::optional<StorageDeviceNumber> DeviceNumberOf(const json& value) {
  if (!value.is_object()) return std::nullopt;
  for (const char* key : {"type", "number", "partition"}) {
    const auto it = value.find(key);
    if (it == value.end() || !it->is_number_unsigned() || it->get<std::uint64_t>() > 0xFFFFFFFFu) {
      return std::nullopt;
    }
  }
  return StorageDeviceNumber{value["type"].get<std::uint32_t>(),
                             value["number"].get<std::uint32_t>(),
                             value["partition"].get<std::uint32_t>()};
}

std::optional<StorageInterface> InterfaceOf(const json& entry) {
  if (!entry.is_object()) return std::nullopt;
  const auto cls = entry.find("class");
  const auto path = entry.find("path");
  if (cls == entry.end() || !cls->is_string() || path == entry.end() || !path->is_string())
    return std::nullopt;
  StorageInterface parsed;
  if (*cls == "cdrom") {
    parsed.storage_class = StorageClass::kCdRom;
  } else if (*cls == "disk") {
    parsed.storage_class = StorageClass::kDisk;
  } else {
    return std::nullopt;
  }
  parsed.path = path->get<std::string>();
  const auto parent = entry.find("parent");
  if (parent != entry.end() && parent->is_string())
    parsed.parent_device_id = parent->get<std::string>();
  const auto number = entry.find("device_number");
  if (number != entry.end()) parsed.device_number = DeviceNumberOf(*number);
  return parsed;
}

}  // namespace

std::vector<StorageInterface> VirtualDrives::ListStorageInterfaces() {
  const json answer = Call({{"op", "storage_interfaces"}});
  std::vector<StorageInterface> interfaces;
  if (!answer["ok"].get<bool>()) return interfaces;
  const auto list = answer.find("interfaces");
  if (list == answer.end() || !list->is_array()) return interfaces;
  for (const json& entry : *list) {
    if (auto parsed = InterfaceOf(entry)) interfaces.push_back(std::move(*parsed));
  }
  // The contract puts the CD-ROM class first, whatever order the answer used.
  std::stable_partition(interfaces.begin(), interfaces.end(), [](const StorageInterface& i) {
    return i.storage_class == StorageClass::kCdRom;
  });
  return interfaces;
}

std::optional<StorageDeviceNumber> VirtualDrives::DriveDeviceNumber(char letter) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (upper < 'A' || upper > 'Z') return std::nullopt;
  const json answer = Call({{"op", "storage_device_number"}, {"letter", std::string(1, upper)}});
  if (!answer["ok"].get<bool>()) return std::nullopt;
  const auto number = answer.find("device_number");
  return number == answer.end() ? std::nullopt : DeviceNumberOf(*number);
}

}  // namespace kelvane::platform
