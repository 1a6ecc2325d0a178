#include "framework/settings_cipher.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/settings_key.h"
#include "platform/crypto.h"

namespace kelvane::framework {
namespace {

SettingsCipherKey TestKey() {
  SettingsCipherKey key{};
  const SettingsKeyBytes bytes = BuildSettingsKeyBytes();
  EXPECT_TRUE(SetUpSettingsKey(bytes, key).IsSuccess());
  return key;
}

constexpr std::array<std::uint8_t, 16> kStart = {1, 2,  3,  4,  5,  6,  7,  8,
                                                 9, 10, 11, 12, 13, 14, 15, 16};

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

// The scheme written out independently: start value, the given blocks
// (already padded), the check block, all chained and enciphered.
std::vector<std::uint8_t> EncipherBlocks(const SettingsCipherKey& key,
                                         std::vector<std::uint8_t> blocks) {
  std::vector<std::uint8_t> data(kStart.begin(), kStart.end());
  data.insert(data.end(), blocks.begin(), blocks.end());
  const auto digest = platform::crypto::Sha256(data);
  data.insert(data.end(), digest.begin(), digest.begin() + 16);
  for (std::size_t at = 16; at < data.size(); at += 16) {
    std::array<std::uint8_t, 16> mixed{};
    for (std::size_t b = 0; b < 16; ++b)
      mixed[b] = static_cast<std::uint8_t>(data[at + b] ^ data[at - 16 + b]);
    EXPECT_TRUE(platform::crypto::Aes256EncryptBlock(
        key, mixed, std::span<std::uint8_t, 16>(data.data() + at, 16)));
  }
  return data;
}

TEST(SettingsKeyTest, KeyIsTheDigestOfSixteenKeyBytes) {
  const SettingsKeyBytes bytes = BuildSettingsKeyBytes();
  EXPECT_EQ(BuildSettingsKeyBytes(), bytes) << "the same bytes every time";
  SettingsCipherKey key{};
  ASSERT_TRUE(SetUpSettingsKey(bytes, key).IsSuccess());
  EXPECT_EQ(key, platform::crypto::Sha256(bytes));
  const std::vector<std::uint8_t> short_key(15), long_key(17);
  EXPECT_EQ(SetUpSettingsKey(short_key, key).Codes(),
            (std::vector<ResultCode>{LineCode(146), tq::InvalidKey}));
  EXPECT_EQ(SetUpSettingsKey(long_key, key).Codes(),
            (std::vector<ResultCode>{LineCode(146), tq::InvalidKey}));
}

class SettingsRoundTripTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(SettingsRoundTripTest, DeciphersWhatWasEnciphered) {
  const SettingsCipherKey key = TestKey();
  std::string text;
  for (std::size_t i = 0; i < GetParam(); ++i) text.push_back(static_cast<char>('a' + i % 26));
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(EncipherSettings(key, kStart, Bytes(text), data));
  EXPECT_EQ(data.size() % 16, 0u);
  EXPECT_GE(data.size(), 48u);
  EXPECT_EQ(data, EncipherBlocks(key, [&] {
              std::vector<std::uint8_t> padded = Bytes(text);
              const std::size_t padding = 16 - text.size() % 16;
              padded.insert(padded.end(), padding, static_cast<std::uint8_t>(padding));
              return padded;
            }()));
  ASSERT_TRUE(DecipherSettings(key, data).IsSuccess());
  EXPECT_EQ(data, Bytes(text));
}

INSTANTIATE_TEST_SUITE_P(TextLengths, SettingsRoundTripTest,
                         ::testing::Values(0, 1, 15, 16, 17, 31, 32, 100, 4096));

TEST(SettingsDecipherTest, DataUnder48BytesIsInvalidFormat) {
  const SettingsCipherKey key = TestKey();
  for (std::size_t size : {0u, 1u, 16u, 32u, 47u}) {
    std::vector<std::uint8_t> data(size, 0x5A);
    EXPECT_EQ(DecipherSettings(key, data).Codes(),
              (std::vector<ResultCode>{LineCode(131), tq::InvalidFormat}))
        << size;
  }
}

TEST(SettingsDecipherTest, OneChangedByteAnywhereFailsTheCheck) {
  const SettingsCipherKey key = TestKey();
  std::vector<std::uint8_t> good;
  ASSERT_TRUE(EncipherSettings(key, kStart, Bytes("[DeviceModel]\nMaxOpenRetry=3\n"), good));
  for (std::size_t at : {std::size_t{0}, std::size_t{15}, std::size_t{16}, std::size_t{33},
                         good.size() - 17, good.size() - 1}) {
    std::vector<std::uint8_t> data = good;
    data[at] ^= 0x01;
    EXPECT_EQ(DecipherSettings(key, data).Codes(),
              (std::vector<ResultCode>{LineCode(134), tq::NotSameHash}))
        << at;
  }
}

TEST(SettingsDecipherTest, TailShorterThanABlockFailsTheCheck) {
  const SettingsCipherKey key = TestKey();
  std::vector<std::uint8_t> good;
  ASSERT_TRUE(EncipherSettings(key, kStart, Bytes("text"), good));
  for (std::size_t tail : {1u, 15u}) {
    std::vector<std::uint8_t> data = good;
    data.insert(data.end(), tail, 0);
    EXPECT_EQ(DecipherSettings(key, data).Codes(),
              (std::vector<ResultCode>{LineCode(134), tq::NotSameHash}));
  }
}

TEST(SettingsDecipherTest, WrongKeyFailsTheCheck) {
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(EncipherSettings(TestKey(), kStart, Bytes("text"), data));
  SettingsCipherKey other{};
  const std::array<std::uint8_t, 16> other_bytes{};
  ASSERT_TRUE(SetUpSettingsKey(other_bytes, other).IsSuccess());
  EXPECT_EQ(DecipherSettings(other, data).Codes(),
            (std::vector<ResultCode>{LineCode(134), tq::NotSameHash}));
}

TEST(SettingsDecipherTest, PaddingRules) {
  const SettingsCipherKey key = TestKey();
  std::vector<std::uint8_t> block(16, 'x');

  block.back() = 17;  // more than a block
  std::vector<std::uint8_t> data = EncipherBlocks(key, block);
  EXPECT_EQ(DecipherSettings(key, data).Codes(),
            (std::vector<ResultCode>{LineCode(138), tq::InvalidFormat}));

  block.back() = 0;  // drops nothing
  data = EncipherBlocks(key, block);
  ASSERT_TRUE(DecipherSettings(key, data).IsSuccess());
  EXPECT_EQ(data, block);

  block.back() = 3;  // the other padding bytes are not examined
  data = EncipherBlocks(key, block);
  ASSERT_TRUE(DecipherSettings(key, data).IsSuccess());
  EXPECT_EQ(data, std::vector<std::uint8_t>(13, 'x'));

  data = EncipherBlocks(key, std::vector<std::uint8_t>(16, 16));  // a block of padding only
  ASSERT_TRUE(DecipherSettings(key, data).IsSuccess());
  EXPECT_TRUE(data.empty());
}

}  // namespace
}  // namespace kelvane::framework
