// The SDK initialised on an in-process virtual PC, with the runtime (pauses)
// and system information replaced by fakes, and helpers to shape drives, list
// tokens and inject faults.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sdk/kat_api.h"
#include "sdk/sdk_state.h"
#include "tests/support/fake_runtime.h"
#include "tests/support/fake_system_info.h"
#include "tests/support/virtual_drive_fixture.h"

namespace kelvane::testing {

struct Unit {
  const char* letter;  // null: the unit has no letter
  int type;            // 2 removable, 3 fixed, 5 CD-ROM
};

// A drive entry: the default target drive with these units and every field
// of `fields` set over it.
inline nlohmann::json Drive(const std::vector<Unit>& units,
                            const nlohmann::json& fields = nlohmann::json::object()) {
  nlohmann::json drive = DefaultDriveJson();
  drive["units"] = nlohmann::json::array();
  for (const Unit& unit : units) {
    drive["units"].push_back(
        {{"letter", unit.letter == nullptr ? nlohmann::json() : nlohmann::json(unit.letter)},
         {"type", unit.type}});
  }
  for (const auto& [key, value] : fields.items()) drive[key] = value;
  return drive;
}

// Names parameterised cases by their `name` field.
struct CaseName {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& param) const {
    return param.param.name;
  }
};

struct Listing {
  std::int32_t code = -1;
  std::uint32_t count = 0;
  std::vector<KatTokenRecord> tokens;
};

class EnumerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sdk::ResetStateForTesting();
    ASSERT_EQ(Kat_InitAPI(nullptr), 0);
  }
  void TearDown() override { sdk::ResetStateForTesting(); }

  // Replaces the PC: these drives and the fixed disk C:.
  void LoadDrives(const std::vector<nlohmann::json>& drives) { vdrive_.Load(ProfileJson(drives)); }

  // Kat_ListTokens with `capacity` zeroed token records (size 19) and the
  // given pairs.
  Listing List(std::uint32_t capacity = 8, std::vector<std::uint32_t> vendors = {},
               std::vector<std::uint32_t> products = {}) {
    Listing listing;
    listing.tokens.assign(capacity, KatTokenRecord{});
    for (KatTokenRecord& token : listing.tokens) token.size = sizeof(KatTokenRecord);
    listing.count = capacity;
    listing.code = Kat_ListTokens(listing.tokens.data(), &listing.count, vendors.data(),
                                  products.data(), static_cast<std::uint32_t>(vendors.size()));
    return listing;
  }

  // The next `repeat` commands starting with `prefix_hex` (on `letter`, or
  // any) fail with transport error `error`.
  void FailIo(const std::string& prefix_hex, std::uint32_t error = 1117, std::uint32_t repeat = 1,
              const char* letter = nullptr) {
    nlohmann::json request = {{"op", "inject_fault"},
                              {"kind", "io_error"},
                              {"prefix", prefix_hex},
                              {"error", error},
                              {"repeat", repeat}};
    if (letter != nullptr) request["letter"] = letter;
    ASSERT_TRUE(vdrive_.Call(request)["ok"].get<bool>());
  }

  // The letters commands starting with `prefix_hex` went to, in order.
  std::string LettersOf(const std::string& prefix_hex) const {
    std::string letters;
    for (const auto& entry : vdrive_.Log(prefix_hex)) letters.push_back(entry.letter);
    return letters;
  }

  FakeRuntime runtime_;
  FakeSystemInfo system_;
  InProcessVdrive vdrive_;
};

}  // namespace kelvane::testing
