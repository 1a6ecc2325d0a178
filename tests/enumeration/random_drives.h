// A PC whose drives answer every command with random but seeded data: random
// drive letters and types, INQUIRY data that usually carries a signature,
// blocks and pages of random bytes and lengths, random transport failures,
// and random storage interfaces. Installed as the drive and storage
// interface backend for the life of the object.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/storage_interfaces.h"

namespace kelvane::testing {

class RandomDrives final : public platform::DrivePort, public platform::StorageInterfacePort {
 public:
  explicit RandomDrives(std::uint32_t seed)
      : random_(seed),
        drives_(platform::DriveSlot(), *this),
        storage_(platform::StorageInterfaceSlot(), *this) {}

  void Reseed(std::uint32_t seed) { random_.seed(seed); }

  std::vector<platform::LogicalDrive> ListDrives() override {
    std::vector<platform::LogicalDrive> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      if (!Chance(6)) continue;
      static constexpr platform::DriveType kTypes[] = {
          platform::DriveType::kRemovable, platform::DriveType::kCdRom, platform::DriveType::kFixed,
          platform::DriveType::kRemote};
      drives.push_back({letter, kTypes[Below(4)]});
    }
    return drives;
  }

  platform::ScsiOutcome ScsiPassThrough(const platform::ScsiRequest& request) override {
    platform::ScsiOutcome outcome;
    const std::uint32_t roll = Below(100);
    if (roll < 3) {
      outcome.stage = platform::ScsiOutcome::Stage::kOpenFailed;
      outcome.error = 2;
      return outcome;
    }
    if (roll < 10) {
      outcome.stage = platform::ScsiOutcome::Stage::kIoFailed;
      outcome.error = Chance(2) ? 31 : 1117;
      return outcome;
    }
    if (roll < 13) {
      outcome.scsi_status = 2;
      outcome.sense_length = 18;
      return outcome;
    }
    if (request.direction == platform::DataDirection::kIn && !request.buffer.empty()) {
      const std::size_t size = request.buffer.size();
      const std::size_t moved = Chance(4) ? Below(static_cast<std::uint32_t>(size) + 1) : size;
      for (std::size_t i = 0; i < moved; ++i) request.buffer[i] = Byte();
      if (!request.cdb.empty() && request.cdb[0] == 0x12) Sign(request.buffer.first(moved));
      if (moved > 16 && Chance(2)) ShapeBlock(request.buffer.first(moved));
      outcome.bytes_moved = static_cast<std::uint32_t>(moved);
    }
    return outcome;
  }

  std::uint32_t ProbeOpen(char) override { return Chance(2) ? 0 : 2; }

  std::vector<platform::StorageInterface> ListStorageInterfaces() override {
    std::vector<platform::StorageInterface> interfaces(Below(40));
    for (platform::StorageInterface& entry : interfaces) {
      entry.storage_class =
          Chance(2) ? platform::StorageClass::kCdRom : platform::StorageClass::kDisk;
      entry.path = Text(6) + "#" + Text(8) + "#" + Fields() + (Chance(4) ? "" : "#" + Text(6));
      if (!Chance(6))
        entry.parent_device_id =
            "USB\\VID_" + Text(Below(6)) + "&PID_" + Text(Below(6)) + "\\" + Text(4);
      if (!Chance(6)) entry.device_number = Number();
    }
    return interfaces;
  }

  std::optional<platform::StorageDeviceNumber> DriveDeviceNumber(char) override {
    if (Chance(5)) return std::nullopt;
    return Number();
  }

  std::uint32_t Below(std::uint32_t bound) {
    return bound == 0 ? 0 : std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_);
  }
  bool Chance(std::uint32_t one_in) { return Below(one_in) == 0; }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Below(256)); }

 private:
  // INQUIRY data that usually passes the gate.
  void Sign(std::span<std::uint8_t> data) {
    static constexpr const char* kSignatures[] = {"PMAP1234", "bNAND123", "FFAP1234"};
    if (data.size() >= 44 && !Chance(5)) {
      std::memcpy(&data[36], kSignatures[Below(3)], 8);
    } else if (data.size() >= 36 && Chance(2)) {
      std::memcpy(&data[32], "PMAP", 4);
    }
  }

  // Block fields the SDK reads, drawn from small sets so that drives group,
  // modes hit the table and texts have plausible lengths.
  void ShapeBlock(std::span<std::uint8_t> data) {
    static constexpr std::uint8_t kModes[] = {3, 7, 8, 12, 21, 22, 27, 30, 31, 33, 99};
    auto put = [&](std::size_t at, std::uint8_t value) {
      if (at < data.size()) data[at] = value;
    };
    put(16, Chance(3) ? 0 : 3);
    put(96, static_cast<std::uint8_t>(2 + 2 * Below(60)));
    for (std::size_t i = 98; i < 98 + 100 && i < data.size(); ++i)
      data[i] = static_cast<std::uint8_t>('A' + Below(3));
    put(172, kModes[Below(std::size(kModes))]);
    put(385, static_cast<std::uint8_t>(Below(10)));
    put(397, Chance(2) ? 0x0B : 0);
    put(0, static_cast<std::uint8_t>(Chance(2) ? data[0] : Below(16)));  // page numbers
  }

  std::string Text(std::uint32_t length) {
    static constexpr char kAlphabet[] = "0123456789abcdefABCDEF&#_\\?{}-";
    std::string text;
    for (std::uint32_t i = 0; i < length; ++i)
      text.push_back(kAlphabet[Below(sizeof(kAlphabet) - 1)]);
    return text;
  }

  std::string Fields() {
    std::string fields;
    const std::uint32_t count = Below(7);
    for (std::uint32_t i = 0; i < count; ++i) {
      if (i != 0) fields += "&";
      fields += Chance(2) ? std::to_string(Below(12)) : Text(Below(5));
    }
    return fields;
  }

  platform::StorageDeviceNumber Number() {
    return {Chance(2) ? 2u : 7u, Below(4), Chance(3) ? 0xFFFFFFFFu : Below(3)};
  }

  std::mt19937 random_;
  platform::ScopedPortOverride<platform::DrivePort> drives_;
  platform::ScopedPortOverride<platform::StorageInterfacePort> storage_;
};

}  // namespace kelvane::testing
