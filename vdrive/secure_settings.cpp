#include "vdrive/secure_settings.h"

#include <string>

#include "platform/virtual/hex.h"
#include "sdk/access/builtin_passwords.h"

namespace kelvane::vdrive {

using nlohmann::json;

namespace {

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw ProfileError(where + ": " + what);
}

// Hex text of 1 to 64 bytes (0 to 64 when `allow_empty`), zero-padded.
std::array<std::uint8_t, 64> Bytes64(const json& value, const std::string& where,
                                     bool allow_empty) {
  const auto bytes = value.is_string() ? platform::FromHex(value.get<std::string>()) : std::nullopt;
  if (!bytes || bytes->size() > 64 || (bytes->empty() && !allow_empty)) {
    Fail(where, "expected hex text of up to 64 bytes");
  }
  std::array<std::uint8_t, 64> padded{};
  std::copy(bytes->begin(), bytes->end(), padded.begin());
  return padded;
}

}  // namespace

AreaPassword DefaultAreaPassword(std::uint8_t area) {
  sdk::access::PieceOrder order;
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint8_t>(i);
  AreaPassword password{};
  sdk::access::AssemblePassword(
      area == 0 ? sdk::access::BuiltinPassword::kA : sdk::access::BuiltinPassword::kB, order,
      password);
  return password;
}

SecureSettings ParseSecureSettings(const DriveProfile& drive) {
  SecureSettings settings;
  settings.passwords = {DefaultAreaPassword(0), DefaultAreaPassword(1)};
  if (!drive.extensions.contains(kSecureSection)) return settings;
  const json& section = drive.extensions[kSecureSection];
  const std::string where = drive.name + "." + kSecureSection;
  if (!section.is_object()) Fail(where, "expected an object");

  if (section.contains("passwords")) {
    const json& passwords = section["passwords"];
    if (!passwords.is_array() || passwords.size() != 2) {
      Fail(where + ".passwords", "expected two entries (areas 0 and 1)");
    }
    for (std::size_t area = 0; area < 2; ++area) {
      const std::string at = where + ".passwords[" + std::to_string(area) + "]";
      if (passwords[area].is_null()) {
        settings.passwords[area].reset();
      } else {
        settings.passwords[area] = Bytes64(passwords[area], at, false);
      }
    }
  }
  if (section.contains("device_key")) {
    const json& key = section["device_key"];
    const std::string at = where + ".device_key";
    if (!key.is_object()) Fail(at, "expected an object");
    for (const char* field : {"modulus", "private_exponent", "public_exponent"}) {
      if (!key.contains(field)) Fail(at + "." + field, "missing");
    }
    platform::crypto::Rsa512KeySet parsed;
    parsed.modulus = Bytes64(key["modulus"], at + ".modulus", true);
    parsed.private_exponent = Bytes64(key["private_exponent"], at + ".private_exponent", true);
    parsed.public_exponent = Bytes64(key["public_exponent"], at + ".public_exponent", true);
    settings.device_key = parsed;
  }
  if (section.contains("corrupt_signature")) {
    if (!section["corrupt_signature"].is_boolean())
      Fail(where + ".corrupt_signature", "expected true or false");
    settings.corrupt_signature = section["corrupt_signature"].get<bool>();
  }
  if (section.contains("confirmation_type")) {
    const json& value = section["confirmation_type"];
    if (!value.is_number_integer() || value.get<std::int64_t>() < 0 ||
        value.get<std::int64_t>() > 255) {
      Fail(where + ".confirmation_type", "expected a number from 0 to 255");
    }
    settings.confirmation_type = static_cast<std::uint8_t>(value.get<std::int64_t>());
  }
  return settings;
}

}  // namespace kelvane::vdrive
