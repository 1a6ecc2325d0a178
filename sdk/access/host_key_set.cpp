#include "sdk/access/host_key_set.h"

#include "platform/crypto.h"

namespace kelvane::sdk::access {

bool HostKeySet::Decipher(std::size_t index) {
  if (index >= kHostKeySetCount) {
    bytes_.Wipe();
    return false;
  }
  SecretBytes<16> key;
  BuildHostTableKey(key);
  const std::uint8_t* record = kEncipheredHostKeyTable.data() + index * kHostKeySetSize;
  bool ok = true;
  // Every third starts again from the initialisation vector.
  for (std::size_t part = 0; ok && part < 3; ++part) {
    ok = platform::crypto::Aes128CbcDecrypt(
        key, key, std::span<const std::uint8_t>(record + part * kHostKeyPartSize, kHostKeyPartSize),
        std::span<std::uint8_t>(bytes_.data() + part * kHostKeyPartSize, kHostKeyPartSize));
  }
  if (!ok) bytes_.Wipe();
  return ok;
}

}  // namespace kelvane::sdk::access
