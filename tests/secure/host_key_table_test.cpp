// The enciphered host key table: every record deciphers to a usable 512-bit
// RSA key set.
#include <gtest/gtest.h>

#include <array>

#include "platform/crypto.h"
#include "sdk/access/host_key_set.h"

namespace kelvane::sdk::access {
namespace {

using Number = std::array<std::uint8_t, 64>;

TEST(HostKeyTable, EveryRecordIsAWorkingKeyPair) {
  Number message{};
  for (std::size_t i = 0; i < 62; ++i) message[i] = static_cast<std::uint8_t>(0x3B * i + 5);
  for (std::size_t index = 0; index < kHostKeySetCount; ++index) {
    SCOPED_TRACE(index);
    HostKeySet set;
    ASSERT_TRUE(set.Decipher(index));
    EXPECT_GE(set.Modulus()[63], 0x80) << "a full 512-bit modulus";
    Number signature, recovered;
    ASSERT_TRUE(platform::crypto::ModularExponent(message, set.PrivateExponent(), set.Modulus(),
                                                  signature));
    ASSERT_TRUE(platform::crypto::ModularExponent(signature, set.PublicExponent(), set.Modulus(),
                                                  recovered));
    EXPECT_EQ(recovered, message);
  }
}

TEST(HostKeyTable, RecordsDifferAndTheStoredBytesAreNotThePlainKeys) {
  HostKeySet first, second;
  ASSERT_TRUE(first.Decipher(0));
  ASSERT_TRUE(second.Decipher(99));
  EXPECT_FALSE(
      std::equal(first.Modulus().begin(), first.Modulus().end(), second.Modulus().begin()));
  EXPECT_FALSE(
      std::equal(first.Modulus().begin(), first.Modulus().end(), kEncipheredHostKeyTable.begin()));
}

TEST(HostKeyTable, IndexBeyondTheTableIsRefused) {
  HostKeySet set;
  EXPECT_FALSE(set.Decipher(kHostKeySetCount));
  EXPECT_TRUE(
      std::all_of(set.Modulus().begin(), set.Modulus().end(), [](auto b) { return b == 0; }));
}

}  // namespace
}  // namespace kelvane::sdk::access
