// An in-process virtual PC installed as the drive backend for the life of
// the object, with the log and control operations at hand.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "platform/virtual/virtual_drives.h"
#include "vdrive/in_process_channel.h"
#include "vdrive/virtual_pc.h"

namespace kelvane::testing {

class InProcessVdrive {
 public:
  explicit InProcessVdrive(vdrive::Profile profile = vdrive::DefaultProfile())
      : pc_(std::move(profile)), channel_(pc_), drives_(channel_), override_(platform::DriveSlot(), drives_) {}

  // Loads a profile given as JSON; fails the test on a bad profile.
  void Load(const nlohmann::json& profile);

  // One protocol request, as a client would send it.
  nlohmann::json Call(const nlohmann::json& request) { return drives_.Call(request); }

  vdrive::VirtualPc& pc() { return pc_; }

  // The command log entries, optionally only those whose CDB starts with
  // `prefix_hex`.
  std::vector<vdrive::LogEntry> Log(const std::string& prefix_hex = "") const;

 private:
  vdrive::VirtualPc pc_;
  vdrive::InProcessChannel channel_;
  platform::VirtualDrives drives_;
  platform::ScopedPortOverride<platform::DrivePort> override_;
};

// The default target drive as JSON, to be changed by a test before loading.
nlohmann::json DefaultDriveJson();
nlohmann::json ProfileJson(const std::vector<nlohmann::json>& drives, std::vector<std::string> fixed_disks = {"C"});

}  // namespace kelvane::testing
