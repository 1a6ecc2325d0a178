// The cryptography adapter: the one place that calls the crypto library
// (libgcrypt, which serves the Linux and the Windows build alike). Nothing
// here is a hand-written algorithm.
//
// Contract for every function: inputs are read-only views, outputs are
// written only on success, nothing is kept, nothing throws. A false return
// means the library refused (bad length, library failure); callers treat it
// as a failed step of their own.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kelvane::platform::crypto {

using Key128 = std::span<const std::uint8_t, 16>;
using Key256 = std::span<const std::uint8_t, 32>;
using BlockIn = std::span<const std::uint8_t, 16>;
using BlockOut = std::span<std::uint8_t, 16>;
using Digest256 = std::array<std::uint8_t, 32>;

// AES-128, one block (ECB), FIPS 197.
bool Aes128EncryptBlock(Key128 key, BlockIn in, BlockOut out);
bool Aes128DecryptBlock(Key128 key, BlockIn in, BlockOut out);

// AES-128 in ECB mode over whole blocks, each 16-byte block on its own;
// in.size() == out.size(), a multiple of 16. in and out may be the same
// bytes.
bool Aes128EcbEncrypt(Key128 key, std::span<const std::uint8_t> in, std::span<std::uint8_t> out);
bool Aes128EcbDecrypt(Key128 key, std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

// The same, `passes` times in a row (each pass works on the previous pass's
// result) under one key schedule; passes == 0 copies in to out.
bool Aes128EcbEncryptRepeatedly(Key128 key, unsigned passes, std::span<const std::uint8_t> in,
                                std::span<std::uint8_t> out);
bool Aes128EcbDecryptRepeatedly(Key128 key, unsigned passes, std::span<const std::uint8_t> in,
                                std::span<std::uint8_t> out);

// AES-128-CBC deciphering of whole blocks; in.size() == out.size(), a
// multiple of 16.
bool Aes128CbcDecrypt(Key128 key, std::span<const std::uint8_t, 16> iv,
                      std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

// AES-256, one block (ECB), FIPS 197.
bool Aes256EncryptBlock(Key256 key, BlockIn in, BlockOut out);
bool Aes256DecryptBlock(Key256 key, BlockIn in, BlockOut out);

// SHA-256, FIPS 180-2.
Digest256 Sha256(std::span<const std::uint8_t> data);

// Raw RSA on 512-bit numbers held as 64 little-endian bytes (byte 0 is the
// least significant): result = base ^ exponent mod modulus. False when the
// modulus is zero.
using Number512 = std::span<const std::uint8_t, 64>;
bool ModularExponent(Number512 base, Number512 exponent, Number512 modulus,
                     std::span<std::uint8_t, 64> result);

// AES-128-CBC enciphering of whole blocks; in.size() == out.size(), a
// multiple of 16. in and out may be the same bytes.
bool Aes128CbcEncrypt(Key128 key, std::span<const std::uint8_t, 16> iv,
                      std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

// A fresh RSA key of exactly 512 bits in the number format above: modulus,
// private exponent and public exponent (65537). Slow (prime search); meant
// for build tools and for giving a virtual drive its key, never for a
// command path.
struct Rsa512KeySet {
  std::array<std::uint8_t, 64> modulus{};
  std::array<std::uint8_t, 64> private_exponent{};
  std::array<std::uint8_t, 64> public_exponent{};
};
bool GenerateRsa512(Rsa512KeySet& key_set);

// Fills `out` from the library's non-blocking random source (nonce quality:
// unpredictable, not for long-term keys).
bool RandomBytes(std::span<std::uint8_t> out);

}  // namespace kelvane::platform::crypto
