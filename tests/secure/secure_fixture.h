// A device context bound to the data unit of an in-process virtual drive,
// with the runtime replaced by a fake (pauses recorded, rand scriptable) and
// helpers to shape the drive's secure mechanism and read its log.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/virtual/hex.h"
#include "sdk/access/device_context.h"
#include "tests/support/fake_runtime.h"
#include "tests/support/virtual_drive_fixture.h"
#include "vdrive/fault_plan.h"
#include "vdrive/secure_mechanism.h"

namespace kelvane::testing {

class SecureFixture : public ::testing::Test {
 protected:
  SecureFixture() { EXPECT_EQ(context_.BindLetter('F'), 0); }

  // Reloads the PC with the default drive changed by `drive_fields` (top
  // level fields such as area_states) and `secure` (its secure_mechanism
  // section). Clears the log.
  void LoadDrive(const nlohmann::json& drive_fields, const nlohmann::json& secure = nullptr) {
    nlohmann::json drive = DefaultDriveJson();
    for (const auto& [key, value] : drive_fields.items()) drive[key] = value;
    if (!secure.is_null()) drive["secure_mechanism"] = secure;
    vdrive_.Load(ProfileJson({drive}));
  }

  // The next `repeat` commands starting with `prefix_hex` fail with CHECK
  // CONDITION.
  void FailCommands(const std::string& prefix_hex, std::uint32_t repeat = 1) {
    vdrive::Fault fault;
    fault.kind = vdrive::Fault::Kind::kCheckCondition;
    fault.prefix = platform::FromHex(prefix_hex).value();
    fault.repeat = repeat;
    vdrive_.pc().faults().Add(fault);
  }

  // The first two CDB bytes of every logged command, as "ff80", "0605", ...
  std::vector<std::string> CommandTrail() const {
    std::vector<std::string> trail;
    for (const vdrive::LogEntry& entry : vdrive_.Log()) {
      trail.push_back(platform::ToHex(std::span(entry.cdb.data(), 2)));
    }
    return trail;
  }

  std::size_t Count(const std::string& prefix_hex) const { return vdrive_.Log(prefix_hex).size(); }

  vdrive::VirtualDrive& drive() { return vdrive_.pc().drive(0); }
  const vdrive::SecureMechanism& mechanism() {
    return drive().FamilyState<vdrive::SecureMechanism>();
  }

  FakeRuntime runtime_;
  InProcessVdrive vdrive_;
  sdk::access::DeviceContext context_;
};

}  // namespace kelvane::testing
