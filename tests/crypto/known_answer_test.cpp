// Known-answer tests of the block cipher and the hash: FIPS 197 appendix C,
// FIPS 180-2 appendix B and the ECB and CBC examples of NIST SP 800-38A.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/crypto.h"
#include "tests/crypto/hex.h"

namespace kelvane::platform::crypto {
namespace {

using kelvane::testing::FromHex;
using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
std::span<const std::uint8_t, N> Fixed(const Bytes& bytes) {
  return std::span<const std::uint8_t, N>(bytes.data(), N);
}

const Bytes kFipsPlain = FromHex("00112233445566778899aabbccddeeff");

TEST(Aes128Block, EnciphersAndDeciphersTheFips197Example) {
  const Bytes key = FromHex("000102030405060708090a0b0c0d0e0f");
  const Bytes cipher = FromHex("69c4e0d86a7b0430d8cdb78070b4c55a");
  std::array<std::uint8_t, 16> out{};

  ASSERT_TRUE(Aes128EncryptBlock(Fixed<16>(key), Fixed<16>(kFipsPlain), out));
  EXPECT_EQ(Bytes(out.begin(), out.end()), cipher);

  ASSERT_TRUE(Aes128DecryptBlock(Fixed<16>(key), Fixed<16>(cipher), out));
  EXPECT_EQ(Bytes(out.begin(), out.end()), kFipsPlain);
}

TEST(Aes128Block, WorksInPlace) {
  const Bytes key = FromHex("000102030405060708090a0b0c0d0e0f");
  std::array<std::uint8_t, 16> block;
  std::copy(kFipsPlain.begin(), kFipsPlain.end(), block.begin());

  ASSERT_TRUE(Aes128EncryptBlock(Fixed<16>(key), block, block));
  EXPECT_EQ(Bytes(block.begin(), block.end()), FromHex("69c4e0d86a7b0430d8cdb78070b4c55a"));
  ASSERT_TRUE(Aes128DecryptBlock(Fixed<16>(key), block, block));
  EXPECT_EQ(Bytes(block.begin(), block.end()), kFipsPlain);
}

TEST(Aes256Block, DeciphersTheFips197Example) {
  const Bytes key = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
  const Bytes cipher = FromHex("8ea2b7ca516745bfeafc49904b496089");
  std::array<std::uint8_t, 16> out{};

  ASSERT_TRUE(Aes256DecryptBlock(Fixed<32>(key), Fixed<16>(cipher), out));
  EXPECT_EQ(Bytes(out.begin(), out.end()), kFipsPlain);
}

// SP 800-38A F.2.1 / F.2.2: four chained blocks.
const Bytes kCbcKey = FromHex("2b7e151628aed2a6abf7158809cf4f3c");
const Bytes kCbcIv = FromHex("000102030405060708090a0b0c0d0e0f");
const Bytes kCbcPlain = FromHex(
    "6bc1bee22e409f96e93d7e117393172a ae2d8a571e03ac9c9eb76fac45af8e51"
    "30c81c46a35ce411e5fbc1191a0a52ef f69f2445df4f9b17ad2b417be66c3710");
const Bytes kCbcCipher = FromHex(
    "7649abac8119b246cee98e9b12e9197d 5086cb9b507219ee95db113a917678b2"
    "73bed6b8e3c1743b7116e69e22229516 3ff1caa1681fac09120eca307586e1a7");

TEST(Aes128Cbc, MatchesTheChainedExampleBothWays) {
  Bytes out(kCbcPlain.size());
  ASSERT_TRUE(Aes128CbcEncrypt(Fixed<16>(kCbcKey), Fixed<16>(kCbcIv), kCbcPlain, out));
  EXPECT_EQ(out, kCbcCipher);
  ASSERT_TRUE(Aes128CbcDecrypt(Fixed<16>(kCbcKey), Fixed<16>(kCbcIv), kCbcCipher, out));
  EXPECT_EQ(out, kCbcPlain);
}

TEST(Aes128Cbc, RefusesPartialBlocksAndMismatchedSizesWithoutTouchingTheOutput) {
  struct Case {
    std::size_t in_size;
    std::size_t out_size;
  };
  for (const Case c : {Case{15, 15}, Case{17, 17}, Case{32, 16}, Case{16, 32}}) {
    SCOPED_TRACE(::testing::Message() << c.in_size << " -> " << c.out_size);
    const Bytes in(c.in_size, 0x11);
    Bytes out(c.out_size, 0xA5);
    EXPECT_FALSE(Aes128CbcDecrypt(Fixed<16>(kCbcKey), Fixed<16>(kCbcIv), in, out));
    EXPECT_FALSE(Aes128CbcEncrypt(Fixed<16>(kCbcKey), Fixed<16>(kCbcIv), in, out));
    EXPECT_EQ(out, Bytes(c.out_size, 0xA5));
  }
}

// SP 800-38A F.1.1 / F.1.2: each block on its own under the same key.
TEST(Aes128Ecb, MatchesTheMultiBlockExampleBothWaysAndInPlace) {
  const Bytes cipher = FromHex(
      "3ad77bb40d7a3660a89ecaf32466ef97 f5d3d58503b9699de785895a96fdbaaf"
      "43b1cd7f598ece23881b00e3ed030688 7b0c785e27e8ad3f8223207104725dd4");
  Bytes work = kCbcPlain;
  ASSERT_TRUE(Aes128EcbEncrypt(Fixed<16>(kCbcKey), work, work));
  EXPECT_EQ(work, cipher);
  ASSERT_TRUE(Aes128EcbDecrypt(Fixed<16>(kCbcKey), work, work));
  EXPECT_EQ(work, kCbcPlain);

  Bytes odd(24, 0xA5);
  EXPECT_FALSE(Aes128EcbEncrypt(Fixed<16>(kCbcKey), odd, odd));
  EXPECT_EQ(odd, Bytes(24, 0xA5));
}

TEST(Aes128Ecb, RepeatedPassesEqualSinglePassesInARow) {
  Bytes stepwise = kCbcPlain;
  for (int pass = 0; pass < 5; ++pass) {
    ASSERT_TRUE(Aes128EcbEncrypt(Fixed<16>(kCbcKey), stepwise, stepwise));
  }
  Bytes repeated(kCbcPlain.size());
  ASSERT_TRUE(Aes128EcbEncryptRepeatedly(Fixed<16>(kCbcKey), 5, kCbcPlain, repeated));
  EXPECT_EQ(repeated, stepwise);
  ASSERT_TRUE(Aes128EcbDecryptRepeatedly(Fixed<16>(kCbcKey), 5, repeated, repeated));
  EXPECT_EQ(repeated, kCbcPlain);

  Bytes copied(kCbcPlain.size());
  ASSERT_TRUE(Aes128EcbEncryptRepeatedly(Fixed<16>(kCbcKey), 0, kCbcPlain, copied));
  EXPECT_EQ(copied, kCbcPlain) << "no pass leaves the data as it was";
}

struct HashCase {
  std::string_view message;
  std::string_view digest;
};

class Sha256Known : public ::testing::TestWithParam<HashCase> {};

TEST_P(Sha256Known, MatchesTheFips180Digest) {
  const std::string_view message = GetParam().message;
  const Bytes data(message.begin(), message.end());
  const Digest256 digest = Sha256(data);
  EXPECT_EQ(Bytes(digest.begin(), digest.end()), FromHex(GetParam().digest));
}

INSTANTIATE_TEST_SUITE_P(
    Fips180, Sha256Known,
    ::testing::Values(
        HashCase{"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        HashCase{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                 "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        HashCase{"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"}));

}  // namespace
}  // namespace kelvane::platform::crypto
