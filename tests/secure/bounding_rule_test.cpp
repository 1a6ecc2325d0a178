// The rule that keeps the host's random values below the device modulus.
#include "sdk/access/bounding_rule.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>

namespace kelvane::sdk::access {
namespace {

using Number = std::array<std::uint8_t, 64>;

// A number given by its non-zero bytes.
Number Sparse(std::map<std::size_t, std::uint8_t> bytes) {
  Number n{};
  for (const auto& [index, value] : bytes) n[index] = value;
  return n;
}

Number Ramp() {
  Number n;
  for (std::size_t i = 0; i < n.size(); ++i) n[i] = static_cast<std::uint8_t>(0xA0 + i);
  return n;
}

struct BoundCase {
  const char* name;
  Number modulus;
  std::size_t top;      // position the rule stops at
  std::uint8_t at_top;  // the value's byte there afterwards
};

class BoundingRule : public ::testing::TestWithParam<BoundCase> {};

TEST_P(BoundingRule, ZeroesAboveSetsTheTopByteAndKeepsTheRest) {
  const BoundCase& c = GetParam();
  Number value = Ramp();
  ASSERT_TRUE(BoundBelowModulus(value, c.modulus));
  const Number before = Ramp();
  for (std::size_t i = 0; i < 64; ++i) {
    SCOPED_TRACE(i);
    const std::uint8_t expected = i > c.top ? 0 : i == c.top ? c.at_top : before[i];
    EXPECT_EQ(value[i], expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Moduli, BoundingRule,
    ::testing::Values(BoundCase{"FullSize", Sparse({{63, 0xC5}, {0, 0x01}}), 63, 0xC4},
                      // Byte 63 of 0x01 bounds the value's byte 63 to 0x00, lower bytes untouched.
                      BoundCase{"TopByteOne", Sparse({{63, 0x01}}), 63, 0x00},
                      BoundCase{"ShortModulus", Sparse({{40, 0x80}, {3, 0x77}}), 40, 0x7F},
                      BoundCase{"OneByteModulus", Sparse({{0, 0x09}}), 0, 0x08},
                      BoundCase{"SmallestModulus", Sparse({{0, 0x01}}), 0, 0x00}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(BoundingRuleFailure, ZeroModulusFailsAndLeavesTheValue) {
  Number value = Ramp();
  EXPECT_FALSE(BoundBelowModulus(value, Number{}));
  EXPECT_EQ(value, Ramp());
}

}  // namespace
}  // namespace kelvane::sdk::access
