#include "vdrive/profile.h"

#include <cctype>
#include <set>

#include "platform/virtual/hex.h"
#include "vdrive/profile_fields.h"

namespace kelvane::vdrive {

using nlohmann::json;

namespace {

[[noreturn]] void Fail(const std::string& where, const std::string& what) { FailProfileField(where, what); }

std::uint32_t Number(const json& value, const std::string& where, std::uint32_t max) {
  return ProfileNumber(value, where, max);
}

std::string Text(const json& value, const std::string& where, std::size_t max) {
  if (!value.is_string()) Fail(where, "expected a text");
  std::string text = value.get<std::string>();
  if (text.size() > max) Fail(where, "longer than " + std::to_string(max));
  for (unsigned char c : text) {
    if (c < 0x20 || c > 0x7E) Fail(where, "only printable ASCII is allowed");
  }
  return text;
}

char Letter(const json& value, const std::string& where) {
  const std::string text = Text(value, where, 1);
  if (text.size() != 1 || !std::isalpha(static_cast<unsigned char>(text[0]))) {
    Fail(where, "expected a drive letter");
  }
  return static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
}

std::array<std::uint8_t, 3> Version(const json& value, const std::string& where) {
  const std::string text = Text(value, where, 8);
  unsigned a = 0, b = 0, c = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%2x.%2x.%2x%c", &a, &b, &c, &tail) != 3) {
    Fail(where, "expected a version such as 01.02.08");
  }
  return {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c)};
}

InquirySignature Signature(const json& value, const std::string& where) {
  const std::string text = Text(value, where, 16);
  if (text == "PMAP1234") return InquirySignature::kPmap1234;
  if (text == "bNAND123") return InquirySignature::kBnand123;
  if (text == "FFAP1234") return InquirySignature::kFfap1234;
  if (text == "PMAP") return InquirySignature::kPmapShort;
  if (text == "none") return InquirySignature::kNone;
  Fail(where, "unknown signature (PMAP1234, bNAND123, FFAP1234, PMAP, none)");
}

DriveProfile ParseDrive(const json& entry, const std::string& where) {
  if (!entry.is_object()) Fail(where, "expected an object");
  DriveProfile drive;
  drive.name = entry.contains("name") ? Text(entry["name"], where + ".name", 64) : where;
  if (!entry.contains("units") || !entry["units"].is_array()) Fail(where + ".units", "expected an array");
  if (entry["units"].size() > 8) Fail(where + ".units", "at most 8 units");
  for (std::size_t i = 0; i < entry["units"].size(); ++i) {
    const json& unit = entry["units"][i];
    const std::string at = where + ".units[" + std::to_string(i) + "]";
    if (!unit.is_object()) Fail(at, "expected an object");
    UnitProfile parsed;
    if (unit.contains("letter") && !unit["letter"].is_null()) parsed.letter = Letter(unit["letter"], at + ".letter");
    if (unit.contains("type")) parsed.drive_type = Number(unit["type"], at + ".type", 6);
    drive.units.push_back(parsed);
  }
  auto read = [&](const char* key, auto&& apply) {
    if (entry.contains(key)) apply(entry[key], where + "." + key);
  };
  read("signature", [&](const json& v, const std::string& w) { drive.signature = Signature(v, w); });
  read("inquiry_vendor", [&](const json& v, const std::string& w) { drive.inquiry_vendor = Text(v, w, 8); });
  read("inquiry_product", [&](const json& v, const std::string& w) { drive.inquiry_product = Text(v, w, 16); });
  read("inquiry_length", [&](const json& v, const std::string& w) { drive.inquiry_length = Number(v, w, 255); });
  read("vendor_id", [&](const json& v, const std::string& w) { drive.vendor_id = static_cast<std::uint16_t>(Number(v, w, 0xFFFF)); });
  read("product_id", [&](const json& v, const std::string& w) { drive.product_id = static_cast<std::uint16_t>(Number(v, w, 0xFFFF)); });
  read("serial", [&](const json& v, const std::string& w) { drive.serial = Text(v, w, 24); });
  read("manufacturer", [&](const json& v, const std::string& w) { drive.manufacturer = Text(v, w, 11); });
  read("product", [&](const json& v, const std::string& w) { drive.product = Text(v, w, 11); });
  read("vendor_text", [&](const json& v, const std::string& w) { drive.vendor_text = Text(v, w, 8); });
  read("product_text", [&](const json& v, const std::string& w) { drive.product_text = Text(v, w, 16); });
  read("revision_text", [&](const json& v, const std::string& w) { drive.revision_text = Text(v, w, 4); });
  read("version", [&](const json& v, const std::string& w) { drive.version = Version(v, w); });
  read("version_after_update", [&](const json& v, const std::string& w) { drive.version_after_update = Version(v, w); });
  read("firmware_code", [&](const json& v, const std::string& w) { drive.firmware_code = static_cast<std::uint16_t>(Number(v, w, 0xFFFF)); });
  read("chip_code", [&](const json& v, const std::string& w) { drive.chip_code = static_cast<std::uint16_t>(Number(v, w, 0xFFFF)); });
  read("mode", [&](const json& v, const std::string& w) { drive.mode = static_cast<std::uint8_t>(Number(v, w, 255)); });
  read("layout", [&](const json& v, const std::string& w) { drive.layout = static_cast<std::uint8_t>(Number(v, w, 255)); });
  read("area_states", [&](const json& v, const std::string& w) { drive.area_states = static_cast<std::uint8_t>(Number(v, w, 255)); });
  read("session_scheme", [&](const json& v, const std::string& w) { drive.session_scheme = static_cast<std::uint8_t>(Number(v, w, 255)); });
  read("patches", [&](const json& v, const std::string& w) {
    if (!v.is_object()) Fail(w, "expected an object");
    for (const auto& [block, offsets] : v.items()) {
      if (block != "identification" && block != "info" && block != "rd") Fail(w, "unknown block " + block);
      if (!offsets.is_object()) Fail(w + "." + block, "expected an object");
      for (const auto& [offset_text, bytes_text] : offsets.items()) {
        const std::uint32_t offset = Number(json(offset_text), w + "." + block, 527);
        const auto bytes = bytes_text.is_string() ? platform::FromHex(bytes_text.get<std::string>())
                                                  : std::nullopt;
        if (!bytes || offset + bytes->size() > 528) Fail(w + "." + block + "." + offset_text, "bad bytes");
        drive.patches[block][offset] = *bytes;
      }
    }
  });
  for (const auto& [key, value] : entry.items()) {
    if (value.is_object() && key != "patches") drive.extensions[key] = value;
  }
  return drive;
}

}  // namespace

void FailProfileField(const std::string& where, const std::string& what) {
  throw ProfileError(where + ": " + what);
}

std::uint32_t ProfileNumber(const json& value, const std::string& where, std::uint64_t max) {
  std::uint64_t number = 0;
  if (value.is_number_integer()) {
    if (value.get<std::int64_t>() < 0) FailProfileField(where, "must not be negative");
    number = value.get<std::uint64_t>();
  } else if (value.is_string()) {
    const std::string text = value.get<std::string>();
    std::size_t used = 0;
    try {
      number = std::stoull(text, &used, 0);
    } catch (const std::exception&) {
      FailProfileField(where, "not a number");
    }
    if (used != text.size() || text.empty() || text[0] == '-') FailProfileField(where, "not a number");
  } else {
    FailProfileField(where, "expected a non-negative number");
  }
  if (number > max) FailProfileField(where, "out of range");
  return static_cast<std::uint32_t>(number);
}

Profile ParseProfile(const json& document) {
  if (!document.is_object()) Fail("profile", "expected an object");
  Profile profile;
  std::set<char> letters;
  auto claim = [&](char letter, const std::string& where) {
    if (!letters.insert(letter).second) Fail(where, std::string("letter ") + letter + " used twice");
  };
  if (document.contains("fixed_disks")) {
    const json& disks = document["fixed_disks"];
    if (!disks.is_array()) Fail("fixed_disks", "expected an array");
    for (std::size_t i = 0; i < disks.size(); ++i) {
      const std::string at = "fixed_disks[" + std::to_string(i) + "]";
      const json& letter = disks[i].is_object() && disks[i].contains("letter") ? disks[i]["letter"] : disks[i];
      const char parsed = Letter(letter, at);
      claim(parsed, at);
      profile.fixed_disks.push_back(parsed);
    }
  }
  if (document.contains("drives")) {
    const json& drives = document["drives"];
    if (!drives.is_array()) Fail("drives", "expected an array");
    for (std::size_t i = 0; i < drives.size(); ++i) {
      const std::string at = "drives[" + std::to_string(i) + "]";
      DriveProfile drive = ParseDrive(drives[i], at);
      for (const UnitProfile& unit : drive.units) {
        if (unit.letter) claim(*unit.letter, at);
      }
      profile.drives.push_back(std::move(drive));
    }
  }
  return profile;
}

Profile DefaultProfile() {
  Profile profile;
  profile.fixed_disks.push_back('C');
  DriveProfile drive;
  drive.name = "target";
  drive.units = {UnitProfile{'E', 5}, UnitProfile{'F', 2}};
  profile.drives.push_back(std::move(drive));
  return profile;
}

}  // namespace kelvane::vdrive
