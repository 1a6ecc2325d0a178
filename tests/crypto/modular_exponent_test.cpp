// Raw RSA arithmetic on 64-byte little-endian numbers.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "platform/crypto.h"

namespace kelvane::platform::crypto {
namespace {

using Number = std::array<std::uint8_t, 64>;

Number Small(std::uint64_t value) {
  Number n{};
  for (std::size_t i = 0; i < 8; ++i) n[i] = static_cast<std::uint8_t>(value >> (8 * i));
  return n;
}

struct ModexpCase {
  std::uint64_t base, exponent, modulus, expected;
};

class SmallModexp : public ::testing::TestWithParam<ModexpCase> {};

TEST_P(SmallModexp, GivesTheTextbookResult) {
  const ModexpCase c = GetParam();
  Number result;
  result.fill(0xCC);
  ASSERT_TRUE(ModularExponent(Small(c.base), Small(c.exponent), Small(c.modulus), result));
  EXPECT_EQ(result, Small(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Textbook, SmallModexp,
                         ::testing::Values(ModexpCase{4, 13, 497, 445}, ModexpCase{5, 0, 23, 1},
                                           ModexpCase{0, 7, 23, 0},
                                           ModexpCase{123456, 1, 1000, 456}, ModexpCase{7, 3, 1, 0},
                                           // Bytes above the lowest one carry weight 256^i.
                                           ModexpCase{0x0100, 2, 0x01000001, 0x010000}));

TEST(ModularExponent, ReadsAndWritesTheMostSignificantByteAtPosition63) {
  Number base{};
  base[63] = 0x01;  // 2^504
  Number modulus{};
  modulus.fill(0xFF);  // 2^512 - 1
  Number result;
  ASSERT_TRUE(ModularExponent(base, Small(1), modulus, result));
  EXPECT_EQ(result, base);

  // (2^504)^2 = 2^1008 = 2^(512 + 496) = 2^496 mod 2^512 - 1: byte 62 = 0x01.
  Number expected{};
  expected[62] = 0x01;
  ASSERT_TRUE(ModularExponent(base, Small(2), modulus, result));
  EXPECT_EQ(result, expected);
}

TEST(ModularExponent, RefusesAZeroModulusAndLeavesTheResultAlone) {
  Number result;
  result.fill(0x5A);
  EXPECT_FALSE(ModularExponent(Small(3), Small(3), Number{}, result));
  Number untouched;
  untouched.fill(0x5A);
  EXPECT_EQ(result, untouched);
}

TEST(Rsa512, GeneratedKeyHasFullSizeModulusAndRoundTrips) {
  Rsa512KeySet key;
  ASSERT_TRUE(GenerateRsa512(key));
  EXPECT_GE(key.modulus[63], 0x80) << "modulus must be exactly 512 bits";
  EXPECT_EQ(key.public_exponent, Small(65537));

  Number message{};
  for (std::size_t i = 0; i < 63; ++i) message[i] = static_cast<std::uint8_t>(i * 7 + 1);
  Number signature, recovered;
  ASSERT_TRUE(ModularExponent(message, key.private_exponent, key.modulus, signature));
  EXPECT_NE(signature, message);
  ASSERT_TRUE(ModularExponent(signature, key.public_exponent, key.modulus, recovered));
  EXPECT_EQ(recovered, message);
}

TEST(RandomBytes, FillsTheWholeBuffer) {
  std::array<std::uint8_t, 256> a{}, b{};
  ASSERT_TRUE(RandomBytes(a));
  ASSERT_TRUE(RandomBytes(b));
  EXPECT_NE(a, b);
}

}  // namespace
}  // namespace kelvane::platform::crypto
