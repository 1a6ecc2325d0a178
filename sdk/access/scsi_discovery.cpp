#include "sdk/access/scsi_discovery.h"

#include <array>
#include <cstring>
#include <vector>

#include "platform/drives.h"
#include "platform/secure_wipe.h"
#include "sdk/access/info_blocks.h"
#include "sdk/access/serial_identifier.h"
#include "sdk/access/signature_gate.h"
#include "sdk/access/storage_units.h"

namespace kelvane::sdk::access {

namespace {

constexpr std::size_t kSerialIndex = 16;
constexpr std::size_t kFirmwareCode = 154;
constexpr std::size_t kUnitNumber = 385;
constexpr std::size_t kLayout = 397;
constexpr std::size_t kMode = 172;
constexpr std::uint8_t kSecureLayoutByte = 0x0B;

bool IsExamined(platform::DriveType type) {
  return type == platform::DriveType::kRemovable || type == platform::DriveType::kCdRom;
}

// The letters that pass the type test, the signature gate and the filter.
std::vector<char> MarkCandidates(const CandidateFilter& filter, std::string_view product_name) {
  std::vector<char> marked;
  for (const platform::LogicalDrive& drive : platform::Drives().ListDrives()) {
    if (drive.letter < 'C' || drive.letter > 'Z' || !IsExamined(drive.type)) continue;
    DeviceContext context;
    context.BindLetter(static_cast<std::uint8_t>(drive.letter));
    if (!PassesSignatureGate(context, product_name)) continue;
    bool match = false;
    if (MatchCandidate(context, filter, match) == 0 && match) marked.push_back(drive.letter);
  }
  return marked;
}

}  // namespace

std::size_t ScanScsiDrives(std::span<KatDeviceRecord* const> records, const CandidateFilter& filter,
                           std::string_view product_name) {
  std::size_t found = 0;
  std::array<std::uint8_t, kInfoBlockSize> identification{};
  std::array<std::uint8_t, kInfoBlockSize> info{};
  std::array<std::uint8_t, kSerialIdentifierSize> serial{};

  for (char letter : MarkCandidates(filter, product_name)) {
    DeviceContext context;
    context.BindLetter(static_cast<std::uint8_t>(letter));
    if (ReadInfoBlock(context, nullptr, identification.data()) != 0) continue;
    if (ReadInfoBlock(context, kTagInfo, info.data()) != 0) continue;
    BuildSerialIdentifier(identification.data(), serial.data());
    const std::uint8_t unit = identification[kUnitNumber];
    if (unit >= kMaxUnits) continue;

    bool grouped = false;
    if (identification[kSerialIndex] != 0) {
      for (std::size_t i = 0; i < found; ++i) {
        if (std::memcmp(records[i]->serial, serial.data(), serial.size()) == 0) {
          records[i]->unit_bytes[unit] = static_cast<std::uint8_t>(letter);
          grouped = true;
          break;
        }
      }
    }
    if (grouped || found == records.size()) continue;

    KatDeviceRecord& record = *records[found++];
    record.unit_bytes[unit] = static_cast<std::uint8_t>(letter);
    record.controller_mode = info[kMode];
    record.firmware_code = static_cast<std::uint16_t>((identification[kFirmwareCode] << 8) |
                                                      identification[kFirmwareCode + 1]);
    record.secure_layout = identification[kLayout] == kSecureLayoutByte ? 1 : 0;
    std::memcpy(record.serial, serial.data(), serial.size());
  }
  platform::SecureWipe(identification.data(), identification.size());
  platform::SecureWipe(info.data(), info.size());
  return found;
}

}  // namespace kelvane::sdk::access
