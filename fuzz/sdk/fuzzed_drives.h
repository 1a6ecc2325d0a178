// A PC whose drives answer from the fuzzer's bytes: which letters exist and
// of what type, how each command ends, the bytes each data-in command
// returns, and the storage interfaces. Bytes run out as zeros.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/runtime.h"
#include "platform/storage_interfaces.h"

namespace kelvane::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }
  std::uint32_t Word() { return Byte() | (std::uint32_t{Byte()} << 8); }
  void Fill(std::uint8_t* out, std::size_t length) {
    const std::size_t available = std::min(length, size_ - offset_);
    if (available != 0) std::memcpy(out, data_ + offset_, available);
    std::memset(out + available, 0, length - available);
    offset_ += available;
  }
  std::string Text(std::size_t max) {
    std::string text(std::min<std::size_t>(Byte(), max), '\0');
    for (char& c : text) c = static_cast<char>(Byte());
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

class FuzzedDrives final : public platform::DrivePort, public platform::StorageInterfacePort {
 public:
  explicit FuzzedDrives(FuzzInput& input) : input_(input) {}

  std::vector<platform::LogicalDrive> ListDrives() override {
    const std::uint32_t present = input_.Word() | (input_.Word() << 16);
    std::vector<platform::LogicalDrive> drives;
    for (int bit = 0; bit < 26; ++bit) {
      if ((present >> bit) & 1u) {
        drives.push_back(
            {static_cast<char>('A' + bit), static_cast<platform::DriveType>(input_.Byte() % 7)});
      }
    }
    return drives;
  }

  platform::ScsiOutcome ScsiPassThrough(const platform::ScsiRequest& request) override {
    platform::ScsiOutcome outcome;
    const std::uint8_t how = input_.Byte();
    if (how >= 0xF0) {
      outcome.stage = how & 1 ? platform::ScsiOutcome::Stage::kOpenFailed
                              : platform::ScsiOutcome::Stage::kIoFailed;
      outcome.error = how & 2 ? 31 : 1117;
      return outcome;
    }
    outcome.scsi_status = how >= 0xE0 ? 2 : 0;
    if (request.direction == platform::DataDirection::kIn) {
      const std::size_t moved = how & 0x80
                                    ? std::min<std::size_t>(input_.Word(), request.buffer.size())
                                    : request.buffer.size();
      input_.Fill(request.buffer.data(), moved);
      // INQUIRY usually carries a signature, so that the scan goes on.
      if (!request.cdb.empty() && request.cdb[0] == 0x12 && moved >= 44 && (how & 1) == 0) {
        std::memcpy(request.buffer.data() + 36, "PMAP1234", 8);
      }
      outcome.bytes_moved = static_cast<std::uint32_t>(moved);
    }
    return outcome;
  }

  std::uint32_t ProbeOpen(char) override { return input_.Byte() & 1 ? 0 : 2; }

  std::vector<platform::StorageInterface> ListStorageInterfaces() override {
    std::vector<platform::StorageInterface> interfaces(input_.Byte() % 40);
    for (platform::StorageInterface& entry : interfaces) {
      const std::uint8_t flags = input_.Byte();
      entry.storage_class =
          flags & 1 ? platform::StorageClass::kCdRom : platform::StorageClass::kDisk;
      entry.path = input_.Text(255);
      if (flags & 2) entry.parent_device_id = input_.Text(255);
      if (flags & 4)
        entry.device_number =
            platform::StorageDeviceNumber{input_.Byte(), input_.Byte(), input_.Byte()};
    }
    return interfaces;
  }

  std::optional<platform::StorageDeviceNumber> DriveDeviceNumber(char) override {
    if (input_.Byte() & 1) return std::nullopt;
    return platform::StorageDeviceNumber{input_.Byte(), input_.Byte(), input_.Byte()};
  }

 private:
  FuzzInput& input_;
};

// Pauses return at once.
class NoPauses final : public platform::RuntimePort {
 public:
  void Pause(std::uint32_t) override {}
  void SeedRandom(std::uint32_t) override {}
  int Random() override { return 0; }
  std::int64_t Now() override { return 0; }
};

}  // namespace kelvane::fuzz
