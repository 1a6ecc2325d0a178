// The PC that the virtual drive server models: its fixed disks and the
// security drives attached to it, as read from a JSON profile.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kelvane::vdrive {

// A profile that cannot be used; what() names the field.
class ProfileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct UnitProfile {
  std::optional<char> letter;  // upper case; none for a unit without a letter
  std::uint32_t drive_type = 2;  // Windows drive type: 2 removable, 3 fixed, 5 CD-ROM
};

// The INQUIRY signature a drive carries.
enum class InquirySignature { kPmap1234, kBnand123, kFfap1234, kPmapShort, kNone };

struct DriveProfile {
  std::string name;
  std::vector<UnitProfile> units;  // unit number = position

  InquirySignature signature = InquirySignature::kPmap1234;
  std::string inquiry_vendor = "KELVANE";
  std::string inquiry_product = "SECURE DRIVE";
  std::uint32_t inquiry_length = 44;  // bytes the drive returns for INQUIRY

  std::uint16_t vendor_id = 0x0693;
  std::uint16_t product_id = 0x0203;
  std::string serial = "KV0123456789";  // empty: the drive has no serial string
  std::string manufacturer = "Kelvane";
  std::string product = "Secure Drive";
  std::string vendor_text = "KELVANE";        // identification bytes 176-183
  std::string product_text = "SECURE DRIVE";  // identification bytes 156-171
  std::string revision_text = "1.00";         // identification bytes 184-187
  std::array<std::uint8_t, 3> version{0x01, 0x02, 0x08};  // "01.02.08"
  std::array<std::uint8_t, 3> version_after_update{0x01, 0x03, 0x10};  // "01.03.10"
  std::uint16_t firmware_code = 0xFF03;
  std::uint16_t chip_code = 0x7152;  // two BCD digits per byte
  std::uint8_t mode = 21;            // INFO byte 172
  std::uint8_t layout = 0;           // identification byte 397; 0x0B secure layout
  std::uint8_t area_states = 0;      // RD byte 74
  std::uint8_t session_scheme = 0x16;  // RD byte 511

  // Raw byte patches applied last: block name ("identification", "info",
  // "rd") to offset to bytes. Lets a profile state any block content.
  std::map<std::string, std::map<std::uint32_t, std::vector<std::uint8_t>>> patches;

  // Sections read by the command families that own them (secure mechanism,
  // firmware, partitions, ...); kept as given.
  nlohmann::json extensions = nlohmann::json::object();
};

struct Profile {
  std::vector<char> fixed_disks;  // letters of plain fixed disks
  std::vector<DriveProfile> drives;
};

// Throws ProfileError for a profile that cannot be used: a field of the wrong
// type or range, a letter used twice, more than 8 units on a drive.
Profile ParseProfile(const nlohmann::json& document);

// The shipped default: one target drive (E: CD-ROM, F: removable) and C:.
Profile DefaultProfile();

}  // namespace kelvane::vdrive
