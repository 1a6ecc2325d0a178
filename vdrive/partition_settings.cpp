#include "vdrive/partition_settings.h"

#include "platform/virtual/hex.h"
#include "vdrive/profile_fields.h"

namespace kelvane::vdrive {

using nlohmann::json;

namespace {

constexpr std::uint32_t kDefaultUnitSize = 0x10000;
constexpr std::size_t kMaxEntries = 8;
constexpr std::size_t kMaxPageBytes = 65536;

[[noreturn]] void Fail(const std::string& where, const std::string& what) { FailProfileField(where, what); }

std::uint32_t Number(const json& value, const std::string& where, std::uint64_t max) {
  return ProfileNumber(value, where, max);
}

PartitionSetting ParseUnit(const json& entry, const std::string& where, std::size_t position) {
  if (!entry.is_object()) Fail(where, "expected an object");
  PartitionSetting unit;
  unit.unit = static_cast<std::uint8_t>(position);
  if (entry.contains("type"))
    unit.type = static_cast<std::uint8_t>(Number(entry["type"], where + ".type", 255));
  if (entry.contains("unit"))
    unit.unit = static_cast<std::uint8_t>(Number(entry["unit"], where + ".unit", 255));
  if (entry.contains("flags"))
    unit.flags = static_cast<std::uint16_t>(Number(entry["flags"], where + ".flags", 0xFFFF));
  if (entry.contains("size")) unit.size = Number(entry["size"], where + ".size", 0xFFFFFFFFu);
  return unit;
}

AreaSetting ParseArea(const json& entry, const std::string& where) {
  if (!entry.is_object()) Fail(where, "expected an object");
  AreaSetting area;
  if (entry.contains("size")) area.size = Number(entry["size"], where + ".size", 0xFFFFFFFFu);
  if (entry.contains("area_size"))
    area.area_size = Number(entry["area_size"], where + ".area_size", 0xFFFFFFFFu);
  if (entry.contains("word2")) area.word2 = Number(entry["word2"], where + ".word2", 0xFFFFFFFFu);
  if (entry.contains("word3")) area.word3 = Number(entry["word3"], where + ".word3", 0xFFFFFFFFu);
  if (entry.contains("write_protected")) {
    if (!entry["write_protected"].is_boolean())
      Fail(where + ".write_protected", "expected true or false");
    area.write_protected = entry["write_protected"].get<bool>();
  }
  return area;
}

}  // namespace

PartitionSettings ParsePartitionSettings(const DriveProfile& drive) {
  PartitionSettings settings;
  for (std::size_t k = 0; k < drive.units.size() && k < kMaxEntries; ++k) {
    settings.units.push_back(
        PartitionSetting{static_cast<std::uint8_t>(drive.units[k].drive_type == 5 ? 3 : 2),
                         static_cast<std::uint8_t>(k), 0, kDefaultUnitSize});
  }
  if (!drive.extensions.contains(kPartitionsSection)) return settings;
  const json& section = drive.extensions[kPartitionsSection];
  const std::string where = drive.name + "." + kPartitionsSection;

  if (section.contains("units")) {
    const json& units = section["units"];
    if (!units.is_array() || units.size() > kMaxEntries)
      Fail(where + ".units", "expected up to 8 entries");
    settings.units.clear();
    for (std::size_t k = 0; k < units.size(); ++k) {
      settings.units.push_back(ParseUnit(units[k], where + ".units[" + std::to_string(k) + "]", k));
    }
  }
  if (section.contains("unit_count")) {
    settings.unit_count =
        static_cast<std::uint8_t>(Number(section["unit_count"], where + ".unit_count", 255));
  }
  if (section.contains("areas")) {
    const json& areas = section["areas"];
    if (!areas.is_object()) Fail(where + ".areas", "expected an object keyed by area number");
    for (const auto& [key, value] : areas.items()) {
      const auto area = static_cast<std::uint8_t>(Number(json(key), where + ".areas." + key, 255));
      settings.areas[area] = ParseArea(value, where + ".areas." + key);
    }
  }
  if (section.contains("hidden_size"))
    settings.hidden_size = Number(section["hidden_size"], where + ".hidden_size", 0xFFFFFFFFu);
  if (section.contains("page8_word"))
    settings.page8_word = Number(section["page8_word"], where + ".page8_word", 0xFFFF);
  if (section.contains("page12_value")) {
    settings.page12_value = Number(section["page12_value"], where + ".page12_value", 0xFFFFFFFFu);
  }
  if (section.contains("pages")) {
    const json& pages = section["pages"];
    if (!pages.is_object()) Fail(where + ".pages", "expected an object keyed by page number");
    for (const auto& [key, value] : pages.items()) {
      const auto page =
          static_cast<std::uint16_t>(Number(json(key), where + ".pages." + key, 0xFFFF));
      const auto bytes =
          value.is_string() ? platform::FromHex(value.get<std::string>()) : std::nullopt;
      if (!bytes || bytes->size() > kMaxPageBytes)
        Fail(where + ".pages." + key, "expected hex text");
      settings.pages[page] = *bytes;
    }
  }
  return settings;
}

}  // namespace kelvane::vdrive
