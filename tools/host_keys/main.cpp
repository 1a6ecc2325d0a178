// Writes the source of the SDK's enciphered host key table: 100 fresh RSA
// key sets of 512 bits, each 64-byte number enciphered on its own with
// AES-128-CBC under the host table key (the key doubles as the
// initialisation vector).
//
// Usage: kelvane_host_keys <output .cpp file>
// Exit code 0 on success, 1 on a usage error, 2 when key generation or
// enciphering fails, 3 when the output cannot be written.
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "platform/crypto.h"
#include "platform/secure_wipe.h"
#include "sdk/access/host_key_table.h"

namespace {

namespace crypto = kelvane::platform::crypto;
using kelvane::sdk::access::kHostKeyPartSize;
using kelvane::sdk::access::kHostKeySetCount;
using kelvane::sdk::access::kHostKeyTableSize;

bool Encipher(std::span<const std::uint8_t, 16> key, const std::array<std::uint8_t, 64>& part,
              std::uint8_t* out) {
  return crypto::Aes128CbcEncrypt(key, key, part, std::span<std::uint8_t>(out, kHostKeyPartSize));
}

bool BuildTable(std::vector<std::uint8_t>& table) {
  std::array<std::uint8_t, 16> key{};
  kelvane::sdk::access::BuildHostTableKey(key);
  bool ok = true;
  for (std::size_t i = 0; ok && i < kHostKeySetCount; ++i) {
    crypto::Rsa512KeySet set;
    std::uint8_t* record = table.data() + i * 3 * kHostKeyPartSize;
    ok = crypto::GenerateRsa512(set) && Encipher(key, set.modulus, record) &&
         Encipher(key, set.private_exponent, record + kHostKeyPartSize) &&
         Encipher(key, set.public_exponent, record + 2 * kHostKeyPartSize);
    kelvane::platform::SecureWipeObject(set);
  }
  kelvane::platform::SecureWipeObject(key);
  return ok;
}

std::string Render(const std::vector<std::uint8_t>& table) {
  std::string text =
      "// Written by tools/host_keys (kelvane_host_keys); regenerate rather than edit.\n"
      "// 100 host key sets of 512-bit RSA, each 64-byte number enciphered on its own.\n"
      "#include \"sdk/access/host_key_table.h\"\n\n"
      "namespace kelvane::sdk::access {\n\n"
      "const std::array<std::uint8_t, kHostKeyTableSize> kEncipheredHostKeyTable = {\n";
  char cell[8];
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i % 12 == 0) text += "   ";
    std::snprintf(cell, sizeof cell, " 0x%02x,", table[i]);
    text += cell;
    if (i % 12 == 11 || i + 1 == table.size()) text += "\n";
  }
  text += "};\n\n}  // namespace kelvane::sdk::access\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output .cpp file>\n", argv[0]);
    return 1;
  }
  std::vector<std::uint8_t> table(kHostKeyTableSize);
  if (!BuildTable(table)) {
    std::fprintf(stderr, "key generation or enciphering failed\n");
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << Render(table);
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 3;
  }
  return 0;
}
