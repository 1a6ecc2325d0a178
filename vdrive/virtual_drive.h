// One emulated security drive: its profile, the state its commands change,
// and the dispatch of a command to the family that answers it.
#pragma once

#include <any>
#include <array>
#include <map>
#include <random>
#include <typeindex>

#include "vdrive/blocks.h"
#include "vdrive/command.h"
#include "vdrive/profile.h"

namespace kelvane::vdrive {

class VirtualDrive {
 public:
  explicit VirtualDrive(DriveProfile profile);

  const DriveProfile& profile() const { return profile_; }

  // Answers one command sent on one of the drive's letters. Never throws for
  // bad input: an unknown or malformed command gets CHECK CONDITION.
  CommandResult Execute(const CommandRequest& request);

  // Blocks as the drive answers them now.
  Block Identification(std::uint8_t unit) const;
  Block Info() const;
  Block Rd() const;

  // The firmware version the drive runs; an accepted update changes it.
  const std::array<std::uint8_t, 3>& firmware_version() const { return firmware_version_; }
  void set_firmware_version(const std::array<std::uint8_t, 3>& version) { firmware_version_ = version; }

  // RD byte 74: two state bits per area (area n at bits 2n and 2n+1).
  std::uint8_t area_states() const { return area_states_; }
  void set_area_states(std::uint8_t states) { area_states_ = states; }

  // The sense data REQUEST SENSE returns: that of the last failed command.
  const std::vector<std::uint8_t>& last_sense() const { return last_sense_; }
  void set_last_sense(std::vector<std::uint8_t> sense) { last_sense_ = std::move(sense); }

  // The drive's random source (challenges, keys); seeded from the profile's
  // name so that runs repeat.
  std::mt19937& random() { return random_; }

  // State owned by one command family, created empty on first use.
  template <typename State>
  State& FamilyState() {
    std::any& slot = family_states_[std::type_index(typeid(State))];
    if (!slot.has_value()) slot = State{};
    return std::any_cast<State&>(slot);
  }
  template <typename State>
  const State* FindFamilyState() const {
    const auto found = family_states_.find(std::type_index(typeid(State)));
    return found == family_states_.end() ? nullptr : std::any_cast<State>(&found->second);
  }

 private:
  DriveProfile profile_;
  std::array<std::uint8_t, 3> firmware_version_;
  std::uint8_t area_states_;
  std::vector<std::uint8_t> last_sense_;
  std::mt19937 random_;
  std::map<std::type_index, std::any> family_states_;
};

}  // namespace kelvane::vdrive
