#include "vdrive/storage_operations.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace kelvane::vdrive {

using nlohmann::json;

namespace {

constexpr const char* kCdRomGuid = "{53f56308-b6bf-11d0-94f2-00a0c91efb8b}";
constexpr const char* kDiskGuid = "{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";
constexpr std::uint32_t kCdRomDeviceType = 0x02;
constexpr std::uint32_t kDiskDeviceType = 0x07;
constexpr std::uint32_t kNoPartition = 0xFFFFFFFFu;
constexpr std::uint32_t kFileNotFound = 2;

// A drive's "storage" section.
struct StorageSettings {
  bool interfaces = true;
  std::string instance_prefix;             // put before "serial&unit"
  std::optional<std::string> path_serial;  // default: the drive's serial
  bool has_parent = true;
  std::optional<std::string> parent;  // default: USB\VID_v&PID_p\SERIAL
  bool device_number = true;
};

StorageSettings ParseStorage(const DriveProfile& drive) {
  StorageSettings settings;
  if (!drive.extensions.contains(kStorageSection)) return settings;
  const json& section = drive.extensions[kStorageSection];
  const std::string where = drive.name + "." + kStorageSection;
  auto flag = [&](const char* key, bool& out) {
    if (!section.contains(key)) return;
    if (!section[key].is_boolean())
      throw BadRequest(where + "." + key + ": expected true or false");
    out = section[key].get<bool>();
  };
  auto text = [&](const char* key) -> std::optional<std::string> {
    if (!section.contains(key)) return std::nullopt;
    if (!section[key].is_string()) throw BadRequest(where + "." + key + ": expected a text");
    return section[key].get<std::string>();
  };
  flag("interfaces", settings.interfaces);
  flag("device_number", settings.device_number);
  settings.instance_prefix = text("instance_prefix").value_or("");
  settings.path_serial = text("path_serial");
  if (section.contains("parent") && section["parent"].is_null()) {
    settings.has_parent = false;
  } else {
    settings.parent = text("parent");
  }
  return settings;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == ' ') c = '_';
  }
  return text;
}

json Number(std::uint32_t type, std::uint32_t number, std::uint32_t partition) {
  return json{{"type", type}, {"number", number}, {"partition", partition}};
}

struct Interface {
  bool listed = true;  // false: the class enumeration does not show it
  bool cdrom = false;
  std::optional<char> letter;
  json entry;
  json letter_number;  // the storage device number of its letter
};

// Every interface of the PC in answer order (CD-ROM class first), with the
// device numbers of the letters.
std::vector<Interface> BuildInterfaces(VirtualPc& pc) {
  std::vector<Interface> cdroms;
  std::vector<Interface> disks;
  std::uint32_t disk_number = 0;
  for (char letter : pc.profile().fixed_disks) {
    Interface fixed;
    fixed.letter = letter;
    char path[160];
    std::snprintf(path, sizeof(path),
                  "\\\\?\\scsi#disk&ven_ata&prod_kelvane_ssd#4&1f2e3d4c&0&%06u#%s", disk_number,
                  kDiskGuid);
    fixed.entry = {{"class", "disk"},
                   {"path", path},
                   {"parent", "PCI\\VEN_8086&DEV_A102&SUBSYS_00000000&REV_00\\3&11583659&0&B8"},
                   {"device_number", Number(kDiskDeviceType, disk_number, 0)}};
    fixed.letter_number = Number(kDiskDeviceType, disk_number, 1);
    ++disk_number;
    disks.push_back(std::move(fixed));
  }
  std::uint32_t cdrom_number = 0;
  for (std::size_t d = 0; d < pc.drive_count(); ++d) {
    if (!pc.drive_present(d)) continue;
    const DriveProfile& drive = pc.drive(d).profile();
    const StorageSettings settings = ParseStorage(drive);
    const std::string serial = settings.path_serial.value_or(Lower(drive.serial));
    char parent[96];
    std::snprintf(parent, sizeof(parent), "USB\\VID_%04X&PID_%04X\\%s", drive.vendor_id,
                  drive.product_id, drive.serial.c_str());
    for (std::size_t u = 0; u < drive.units.size(); ++u) {
      Interface unit;
      unit.listed = settings.interfaces;
      unit.cdrom = drive.units[u].drive_type == 5;
      unit.letter = drive.units[u].letter;
      const std::uint32_t number = unit.cdrom ? cdrom_number++ : disk_number++;
      std::string instance = settings.instance_prefix.empty() ? "" : settings.instance_prefix + "&";
      instance += serial + "&" + std::to_string(u);
      const std::string path = std::string("\\\\?\\usbstor#") + (unit.cdrom ? "cdrom" : "disk") +
                               "&ven_" + Lower(drive.inquiry_vendor) + "&prod_" +
                               Lower(drive.inquiry_product) + "&rev_1.00#" + instance + "#" +
                               (unit.cdrom ? kCdRomGuid : kDiskGuid);
      unit.entry = {{"class", unit.cdrom ? "cdrom" : "disk"}, {"path", path}};
      if (settings.has_parent) unit.entry["parent"] = settings.parent.value_or(parent);
      const std::uint32_t type = unit.cdrom ? kCdRomDeviceType : kDiskDeviceType;
      if (settings.device_number)
        unit.entry["device_number"] = Number(type, number, unit.cdrom ? kNoPartition : 0);
      unit.letter_number = Number(type, number, unit.cdrom ? kNoPartition : 1);
      (unit.cdrom ? cdroms : disks).push_back(std::move(unit));
    }
  }
  cdroms.insert(cdroms.end(), disks.begin(), disks.end());
  return cdroms;
}

json StorageInterfacesOperation(VirtualPc& pc, const json&) {
  json list = json::array();
  for (const Interface& found : BuildInterfaces(pc)) {
    if (found.listed) list.push_back(found.entry);
  }
  return json{{"ok", true}, {"interfaces", std::move(list)}};
}

json StorageDeviceNumberOperation(VirtualPc& pc, const json& request) {
  const std::string letter = TextField(request, "letter");
  if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0])))
    throw BadRequest("letter");
  const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
  for (const Interface& found : BuildInterfaces(pc)) {
    if (found.letter == wanted) return json{{"ok", true}, {"device_number", found.letter_number}};
  }
  return Error(kFileNotFound);
}

}  // namespace

std::span<const ProtocolOperation> StorageOperations() {
  static const ProtocolOperation operations[] = {
      {"storage_interfaces", &StorageInterfacesOperation},
      {"storage_device_number", &StorageDeviceNumberOperation},
  };
  return operations;
}

}  // namespace kelvane::vdrive
