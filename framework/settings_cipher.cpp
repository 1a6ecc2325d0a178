#include "framework/settings_cipher.h"

#include <algorithm>

#include "platform/crypto.h"
#include "platform/secure_wipe.h"

namespace kelvane::framework {

namespace {

constexpr std::size_t kBlock = 16;
constexpr std::size_t kKeyBytes = 16;
constexpr std::size_t kMinimumSize = 3 * kBlock;

constexpr std::uint16_t kSiteKeySetUp = 146;
constexpr std::uint16_t kSiteLayout = 131;
constexpr std::uint16_t kSiteCheck = 134;
constexpr std::uint16_t kSiteCheckRemoval = 135;
constexpr std::uint16_t kSitePadding = 138;
constexpr std::uint16_t kSiteStartValue = 139;

using Block = std::array<std::uint8_t, kBlock>;

}  // namespace

Result SetUpSettingsKey(std::span<const std::uint8_t> key_bytes, SettingsCipherKey& key) {
  if (key_bytes.size() != kKeyBytes) {
    return Raise(Location(kSiteKeySetUp), tq::InvalidKey);
  }
  key = platform::crypto::Sha256(key_bytes);
  return Result();
}

Result DecipherSettings(const SettingsCipherKey& key, std::vector<std::uint8_t>& data) {
  if (data.size() < kMinimumSize) {
    return Raise(Location(kSiteLayout), tq::InvalidFormat);
  }
  const std::size_t blocks = data.size() / kBlock;
  // From the last block back, so the enciphered block before each one is
  // still at hand.
  for (std::size_t i = blocks - 1; i >= 1; --i) {
    std::uint8_t* current = data.data() + i * kBlock;
    const std::uint8_t* previous = current - kBlock;
    Block plain{};
    if (!platform::crypto::Aes256DecryptBlock(
            key, std::span<const std::uint8_t, kBlock>(current, kBlock), plain)) {
      platform::SecureWipeObject(plain);
      return Raise(Location(kSiteLayout), tq::InvalidFormat);
    }
    for (std::size_t b = 0; b < kBlock; ++b) {
      current[b] = static_cast<std::uint8_t>(plain[b] ^ previous[b]);
    }
    platform::SecureWipeObject(plain);
  }

  const std::size_t checked = data.size() - kBlock;
  const platform::crypto::Digest256 digest =
      platform::crypto::Sha256(std::span<const std::uint8_t>(data.data(), checked));
  if (!std::equal(digest.begin(), digest.begin() + kBlock,
                  data.begin() + static_cast<std::ptrdiff_t>(checked))) {
    return Raise(Location(kSiteCheck), tq::NotSameHash);
  }
  data.resize(checked);
  if (data.size() < 2 * kBlock) {
    return Raise(Location(kSiteCheckRemoval), tq::InvalidFormat);
  }
  const std::uint8_t padding = data.back();
  if (padding > kBlock) {
    return Raise(Location(kSitePadding), tq::InvalidFormat);
  }
  data.resize(data.size() - padding);
  if (data.size() < kBlock) {
    return Raise(Location(kSiteStartValue), tq::InvalidFormat);
  }
  data.erase(data.begin(), data.begin() + kBlock);
  return Result();
}

bool EncipherSettings(const SettingsCipherKey& key, const std::array<std::uint8_t, 16>& start,
                      std::span<const std::uint8_t> text, std::vector<std::uint8_t>& data) {
  const std::size_t padding = kBlock - text.size() % kBlock;
  data.assign(start.begin(), start.end());
  data.insert(data.end(), text.begin(), text.end());
  data.insert(data.end(), padding, static_cast<std::uint8_t>(padding));
  const platform::crypto::Digest256 digest = platform::crypto::Sha256(data);
  data.insert(data.end(), digest.begin(), digest.begin() + kBlock);
  for (std::size_t i = 1; i < data.size() / kBlock; ++i) {
    std::uint8_t* current = data.data() + i * kBlock;
    const std::uint8_t* previous = current - kBlock;
    Block mixed{};
    for (std::size_t b = 0; b < kBlock; ++b) {
      mixed[b] = static_cast<std::uint8_t>(current[b] ^ previous[b]);
    }
    const bool ok = platform::crypto::Aes256EncryptBlock(
        key, mixed, std::span<std::uint8_t, kBlock>(current, kBlock));
    platform::SecureWipeObject(mixed);
    if (!ok) {
      return false;
    }
  }
  return true;
}

}  // namespace kelvane::framework
