#include "tests/support/virtual_drive_fixture.h"

#include <gtest/gtest.h>

#include "platform/virtual/hex.h"

namespace kelvane::testing {

void InProcessVdrive::Load(const nlohmann::json& profile) {
  try {
    pc_.Load(vdrive::ParseProfile(profile));
  } catch (const vdrive::ProfileError& error) {
    ADD_FAILURE() << "bad test profile: " << error.what();
  }
}

std::vector<vdrive::LogEntry> InProcessVdrive::Log(const std::string& prefix_hex) const {
  const auto prefix = platform::FromHex(prefix_hex).value_or(std::vector<std::uint8_t>{});
  std::vector<vdrive::LogEntry> matching;
  for (const vdrive::LogEntry& entry : const_cast<vdrive::VirtualPc&>(pc_).log().entries()) {
    if (entry.cdb.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), entry.cdb.begin())) {
      matching.push_back(entry);
    }
  }
  return matching;
}

nlohmann::json DefaultDriveJson() {
  return {
      {"name", "target"},
      {"units", {{{"letter", "E"}, {"type", 5}}, {{"letter", "F"}, {"type", 2}}}},
      {"vendor_id", "0x0693"},
      {"firmware_code", "0xFF03"},
      {"version", "01.02.08"},
      {"mode", 21},
  };
}

nlohmann::json ProfileJson(const std::vector<nlohmann::json>& drives, std::vector<std::string> fixed_disks) {
  return {{"fixed_disks", fixed_disks}, {"drives", drives}};
}

}  // namespace kelvane::testing
