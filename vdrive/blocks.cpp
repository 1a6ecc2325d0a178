#include "vdrive/blocks.h"

#include <algorithm>
#include <string_view>

namespace kelvane::vdrive {

namespace {

void PutText(Block& block, std::size_t offset, std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) block[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
}

// A string descriptor as the controller keeps it: length byte, type 3, then
// one byte per character.
void PutDescriptorString(Block& block, std::size_t offset, std::string_view text) {
  block[offset] = static_cast<std::uint8_t>(2 + 2 * text.size());
  block[offset + 1] = 3;
  std::copy(text.begin(), text.end(), block.begin() + static_cast<std::ptrdiff_t>(offset + 2));
}

}  // namespace

Block BuildIdentificationBlock(const DriveProfile& drive, const std::array<std::uint8_t, 3>& version,
                               std::uint8_t unit) {
  namespace at = block_offsets;
  Block block{};
  // USB device descriptor.
  const std::uint8_t device_descriptor[18] = {
      18, 1, 0x00, 0x02, 0, 0, 0, 64,
      static_cast<std::uint8_t>(drive.vendor_id), static_cast<std::uint8_t>(drive.vendor_id >> 8),
      static_cast<std::uint8_t>(drive.product_id), static_cast<std::uint8_t>(drive.product_id >> 8),
      0x00, 0x01, 1, 2, static_cast<std::uint8_t>(drive.serial.empty() ? 0 : 3), 1};
  std::copy(std::begin(device_descriptor), std::end(device_descriptor), block.begin());
  PutDescriptorString(block, at::kManufacturer, drive.manufacturer);
  PutDescriptorString(block, at::kProduct, drive.product);
  if (!drive.serial.empty()) {
    // The serial string descriptor in UTF-16LE.
    block[at::kSerial] = static_cast<std::uint8_t>(2 + 2 * drive.serial.size());
    block[at::kSerial + 1] = 3;
    for (std::size_t i = 0; i < drive.serial.size(); ++i) {
      block[at::kSerial + 2 + 2 * i] = static_cast<std::uint8_t>(drive.serial[i]);
    }
  }
  std::copy(version.begin(), version.end(), block.begin() + at::kVersion);
  block[at::kFirmwareCode] = static_cast<std::uint8_t>(drive.firmware_code >> 8);
  block[at::kFirmwareCode + 1] = static_cast<std::uint8_t>(drive.firmware_code);
  PutText(block, at::kProductText, drive.product_text, 16);
  PutText(block, at::kVendorText, drive.vendor_text, 8);
  PutText(block, at::kRevisionText, drive.revision_text, 4);
  block[at::kVrMark] = 'V';
  block[at::kVrMark + 1] = 'R';
  block[at::kChipCode] = static_cast<std::uint8_t>(drive.chip_code >> 8);
  block[at::kChipCode + 1] = static_cast<std::uint8_t>(drive.chip_code);
  block[at::kUnitNumber] = unit;
  PutText(block, at::kIspMark, "ISP", 3);
  block[at::kLayout] = drive.layout;
  ApplyPatches(drive, "identification", block);
  return block;
}

Block BuildInfoBlock(const DriveProfile& drive) {
  Block block{};
  PutText(block, 0, "INFO", 4);
  block[block_offsets::kInfoMode] = drive.mode;
  ApplyPatches(drive, "info", block);
  return block;
}

Block BuildRdBlock(const DriveProfile& drive, std::uint8_t area_states) {
  Block block{};
  block[0] = 'R';
  block[1] = 'D';
  block[block_offsets::kRdAreaStates] = area_states;
  block[block_offsets::kRdSessionScheme] = drive.session_scheme;
  ApplyPatches(drive, "rd", block);
  return block;
}

void ApplyPatches(const DriveProfile& drive, const char* block_name, Block& block) {
  const auto found = drive.patches.find(block_name);
  if (found == drive.patches.end()) return;
  for (const auto& [offset, bytes] : found->second) {
    const std::size_t room = block.size() - std::min<std::size_t>(offset, block.size());
    std::copy_n(bytes.begin(), std::min(room, bytes.size()), block.begin() + offset);
  }
}

}  // namespace kelvane::vdrive
