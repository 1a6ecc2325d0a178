// The crypto adapter over libgcrypt.
//
// The library is initialised once per process, on first use, from whichever
// thread gets there first (a function-local static is initialised exactly
// once even under contention). Every temporary that held key material or
// plaintext is wiped before it goes out of scope; libgcrypt wipes its own
// cipher contexts and number limbs when they are released.
#include <gcrypt.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/crypto.h"
#include "platform/secure_wipe.h"

namespace kelvane::platform::crypto {
namespace {

constexpr std::size_t kNumberSize = 64;

bool InitialiseLibrary() {
  if (gcry_check_version(GCRYPT_VERSION) == nullptr) return false;
  // Secrets live in our own buffers, which are wiped explicitly; libgcrypt's
  // locked secure heap would need privileges that the programs do not have.
  gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
  gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
  return true;
}

bool Ready() {
  static const bool ready = InitialiseLibrary();
  return ready;
}

// A cipher handle that closes itself.
class Cipher {
 public:
  Cipher(int algorithm, int mode) {
    if (!Ready() || gcry_cipher_open(&handle_, algorithm, mode, 0) != 0) handle_ = nullptr;
  }
  ~Cipher() {
    if (handle_ != nullptr) gcry_cipher_close(handle_);
  }
  Cipher(const Cipher&) = delete;
  Cipher& operator=(const Cipher&) = delete;

  bool SetKey(std::span<const std::uint8_t> key) {
    return handle_ != nullptr && gcry_cipher_setkey(handle_, key.data(), key.size()) == 0;
  }
  bool SetIv(std::span<const std::uint8_t, 16> iv) {
    return handle_ != nullptr && gcry_cipher_setiv(handle_, iv.data(), iv.size()) == 0;
  }
  bool Encrypt(std::span<std::uint8_t> out, std::span<const std::uint8_t> in) {
    return handle_ != nullptr &&
           gcry_cipher_encrypt(handle_, out.data(), out.size(), in.data(), in.size()) == 0;
  }
  bool Decrypt(std::span<std::uint8_t> out, std::span<const std::uint8_t> in) {
    return handle_ != nullptr &&
           gcry_cipher_decrypt(handle_, out.data(), out.size(), in.data(), in.size()) == 0;
  }
  bool EncryptInPlace(std::span<std::uint8_t> data) {
    return handle_ != nullptr &&
           gcry_cipher_encrypt(handle_, data.data(), data.size(), nullptr, 0) == 0;
  }
  bool DecryptInPlace(std::span<std::uint8_t> data) {
    return handle_ != nullptr &&
           gcry_cipher_decrypt(handle_, data.data(), data.size(), nullptr, 0) == 0;
  }

 private:
  gcry_cipher_hd_t handle_ = nullptr;
};

// A number that releases itself; libgcrypt wipes the limbs on release.
class Mpi {
 public:
  Mpi() = default;
  explicit Mpi(gcry_mpi_t value) : value_(value) {}
  ~Mpi() { gcry_mpi_release(value_); }
  Mpi(const Mpi&) = delete;
  Mpi& operator=(const Mpi&) = delete;
  gcry_mpi_t get() const { return value_; }
  gcry_mpi_t* out() { return &value_; }

 private:
  gcry_mpi_t value_ = nullptr;
};

// An S-expression that releases itself.
class Sexp {
 public:
  Sexp() = default;
  explicit Sexp(gcry_sexp_t value) : value_(value) {}
  ~Sexp() { gcry_sexp_release(value_); }
  Sexp(const Sexp&) = delete;
  Sexp& operator=(const Sexp&) = delete;
  gcry_sexp_t get() const { return value_; }
  gcry_sexp_t* out() { return &value_; }

 private:
  gcry_sexp_t value_ = nullptr;
};

// 64 little-endian bytes -> number.
bool ReadNumber(std::span<const std::uint8_t, kNumberSize> little_endian, Mpi& number) {
  std::array<std::uint8_t, kNumberSize> big_endian;
  std::reverse_copy(little_endian.begin(), little_endian.end(), big_endian.begin());
  const bool ok = gcry_mpi_scan(number.out(), GCRYMPI_FMT_USG, big_endian.data(), big_endian.size(),
                                nullptr) == 0;
  SecureWipeObject(big_endian);
  return ok;
}

// number -> 64 little-endian bytes, zero in the high bytes; false when the
// number does not fit.
bool WriteNumber(gcry_mpi_t number, std::span<std::uint8_t, kNumberSize> little_endian) {
  std::array<std::uint8_t, kNumberSize> big_endian{};
  std::size_t written = 0;
  if (gcry_mpi_get_nbits(number) > kNumberSize * 8 ||
      gcry_mpi_print(GCRYMPI_FMT_USG, big_endian.data(), big_endian.size(), &written, number) !=
          0) {
    SecureWipeObject(big_endian);
    return false;
  }
  std::fill(little_endian.begin(), little_endian.end(), std::uint8_t{0});
  std::reverse_copy(big_endian.begin(), big_endian.begin() + static_cast<std::ptrdiff_t>(written),
                    little_endian.begin());
  SecureWipeObject(big_endian);
  return true;
}

bool BlockCipher(int algorithm, std::span<const std::uint8_t> key, BlockIn in, BlockOut out,
                 bool encrypt) {
  Cipher cipher(algorithm, GCRY_CIPHER_MODE_ECB);
  std::array<std::uint8_t, 16> block{};
  bool ok = cipher.SetKey(key) && (encrypt ? cipher.Encrypt(block, in) : cipher.Decrypt(block, in));
  if (ok) std::copy(block.begin(), block.end(), out.begin());
  SecureWipeObject(block);
  return ok;
}

// AES-128 over whole blocks in ECB or CBC mode, `passes` times in a row;
// `iv` only for CBC (one pass).
bool WholeBlocks(int mode, Key128 key, const std::uint8_t* iv, std::span<const std::uint8_t> in,
                 std::span<std::uint8_t> out, bool encrypt, unsigned passes = 1) {
  if (in.size() != out.size() || in.size() % 16 != 0) return false;
  if (in.empty()) return Ready();
  Cipher cipher(GCRY_CIPHER_AES128, mode);
  std::vector<std::uint8_t> work(in.begin(), in.end());
  bool ok = cipher.SetKey(key) &&
            (iv == nullptr || cipher.SetIv(std::span<const std::uint8_t, 16>(iv, 16)));
  for (unsigned pass = 0; ok && pass < passes; ++pass) {
    // In place: libgcrypt takes a null input as "the output buffer".
    ok = encrypt ? cipher.EncryptInPlace(work) : cipher.DecryptInPlace(work);
  }
  if (ok) std::copy(work.begin(), work.end(), out.begin());
  SecureWipe(work.data(), work.size());
  return ok;
}

// The value of `name` in a key S-expression, as 64 little-endian bytes.
bool ExtractNumber(gcry_sexp_t key, const char* name, std::span<std::uint8_t, kNumberSize> out) {
  Sexp token(gcry_sexp_find_token(key, name, 0));
  if (token.get() == nullptr) return false;
  Mpi value(gcry_sexp_nth_mpi(token.get(), 1, GCRYMPI_FMT_USG));
  return value.get() != nullptr && WriteNumber(value.get(), out);
}

}  // namespace

bool Aes128EncryptBlock(Key128 key, BlockIn in, BlockOut out) {
  return BlockCipher(GCRY_CIPHER_AES128, key, in, out, true);
}

bool Aes128DecryptBlock(Key128 key, BlockIn in, BlockOut out) {
  return BlockCipher(GCRY_CIPHER_AES128, key, in, out, false);
}

bool Aes256EncryptBlock(Key256 key, BlockIn in, BlockOut out) {
  return BlockCipher(GCRY_CIPHER_AES256, key, in, out, true);
}

bool Aes256DecryptBlock(Key256 key, BlockIn in, BlockOut out) {
  return BlockCipher(GCRY_CIPHER_AES256, key, in, out, false);
}

bool Aes128EcbEncrypt(Key128 key, std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
  return WholeBlocks(GCRY_CIPHER_MODE_ECB, key, nullptr, in, out, true);
}

bool Aes128EcbDecrypt(Key128 key, std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
  return WholeBlocks(GCRY_CIPHER_MODE_ECB, key, nullptr, in, out, false);
}

bool Aes128EcbEncryptRepeatedly(Key128 key, unsigned passes, std::span<const std::uint8_t> in,
                                std::span<std::uint8_t> out) {
  return WholeBlocks(GCRY_CIPHER_MODE_ECB, key, nullptr, in, out, true, passes);
}

bool Aes128EcbDecryptRepeatedly(Key128 key, unsigned passes, std::span<const std::uint8_t> in,
                                std::span<std::uint8_t> out) {
  return WholeBlocks(GCRY_CIPHER_MODE_ECB, key, nullptr, in, out, false, passes);
}

bool Aes128CbcDecrypt(Key128 key, std::span<const std::uint8_t, 16> iv,
                      std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
  return WholeBlocks(GCRY_CIPHER_MODE_CBC, key, iv.data(), in, out, false);
}

bool Aes128CbcEncrypt(Key128 key, std::span<const std::uint8_t, 16> iv,
                      std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
  return WholeBlocks(GCRY_CIPHER_MODE_CBC, key, iv.data(), in, out, true);
}

Digest256 Sha256(std::span<const std::uint8_t> data) {
  Digest256 digest{};
  static constexpr std::uint8_t kNothing = 0;
  if (!Ready()) return digest;
  gcry_md_hash_buffer(GCRY_MD_SHA256, digest.data(), data.empty() ? &kNothing : data.data(),
                      data.size());
  return digest;
}

bool ModularExponent(Number512 base, Number512 exponent, Number512 modulus,
                     std::span<std::uint8_t, 64> result) {
  if (!Ready()) return false;
  Mpi b, e, m;
  if (!ReadNumber(base, b) || !ReadNumber(exponent, e) || !ReadNumber(modulus, m)) return false;
  if (gcry_mpi_cmp_ui(m.get(), 0) == 0) return false;
  Mpi r(gcry_mpi_new(kNumberSize * 8));
  gcry_mpi_powm(r.get(), b.get(), e.get(), m.get());
  return WriteNumber(r.get(), result);
}

bool GenerateRsa512(Rsa512KeySet& key_set) {
  if (!Ready()) return false;
  Sexp parameters;
  if (gcry_sexp_build(parameters.out(), nullptr,
                      "(genkey (rsa (nbits 3:512) (rsa-use-e 5:65537)))") != 0) {
    return false;
  }
  Sexp key;
  if (gcry_pk_genkey(key.out(), parameters.get()) != 0) return false;
  Sexp private_key(gcry_sexp_find_token(key.get(), "private-key", 0));
  if (private_key.get() == nullptr) return false;
  Rsa512KeySet made;
  const bool ok = ExtractNumber(private_key.get(), "n", made.modulus) &&
                  ExtractNumber(private_key.get(), "d", made.private_exponent) &&
                  ExtractNumber(private_key.get(), "e", made.public_exponent) &&
                  made.modulus[63] >= 0x80;
  if (ok) key_set = made;
  SecureWipeObject(made);
  return ok;
}

bool RandomBytes(std::span<std::uint8_t> out) {
  if (!Ready()) return false;
  if (!out.empty()) gcry_create_nonce(out.data(), out.size());
  return true;
}

}  // namespace kelvane::platform::crypto
