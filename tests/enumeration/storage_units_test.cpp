// The storage interfaces: the interface-path parsers, MapUnits and
// CountUnits against the virtual PC and against a port a test states
// directly.
#include "sdk/access/storage_units.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "platform/virtual/virtual_drives.h"
#include "tests/enumeration/enumeration_fixture.h"

namespace kelvane::testing {
namespace {

using nlohmann::json;
namespace access = sdk::access;
using platform::StorageClass;
using platform::StorageDeviceNumber;
using platform::StorageInterface;

constexpr const char* kDiskGuid = "{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";

struct PathCase {
  const char* name;
  std::string path;
  std::optional<std::pair<std::string, std::uint32_t>> by_path;      // serial, unit
  std::optional<std::pair<std::string, std::uint32_t>> by_instance;  // serial, unit
};

class PathParserTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathParserTest, BothParsersTakeTheThirdPart) {
  const PathCase& c = GetParam();
  const auto by_path = access::ParseUnitFromPath(c.path);
  ASSERT_EQ(by_path.has_value(), c.by_path.has_value());
  if (by_path) {
    EXPECT_EQ(by_path->serial, c.by_path->first);
    EXPECT_EQ(by_path->unit, c.by_path->second);
  }
  const auto by_instance = access::ParseUnitFromInstance(c.path);
  ASSERT_EQ(by_instance.has_value(), c.by_instance.has_value());
  if (by_instance) {
    EXPECT_EQ(by_instance->serial, c.by_instance->first);
    EXPECT_EQ(by_instance->unit, c.by_instance->second);
  }
}

const std::string kPrefix = "\\\\?\\usbstor#disk&ven_kelvane&prod_secure_drive&rev_1.00#";

INSTANTIATE_TEST_SUITE_P(
    Paths, PathParserTest,
    ::testing::Values(
        PathCase{"serialAndUnit",
                 kPrefix + "kv0123456789&1#" + kDiskGuid,
                 {{"kv0123456789", 1}},
                 std::nullopt},
        PathCase{"fiveFields",
                 kPrefix + "7&2a1b3c4d&0&kv0123456789&2#" + kDiskGuid,
                 {{"kv0123456789", 2}},
                 {{"kv0123456789", 2}}},
        PathCase{"sixFields", kPrefix + "7&2a&0&kv01&3&9#" + kDiskGuid, {{"3", 9}}, {{"kv01", 3}}},
        PathCase{"threeParts", kPrefix + "kv0123456789&1", std::nullopt, std::nullopt},
        PathCase{"fiveParts", kPrefix + "kv&1#x#" + kDiskGuid, std::nullopt, std::nullopt},
        PathCase{"fiveFieldsFiveParts",
                 kPrefix + "7&2&0&kv&4#x#" + kDiskGuid,
                 std::nullopt,
                 {{"kv", 4}}},
        PathCase{"oneField", kPrefix + "kv0123456789#" + kDiskGuid, std::nullopt, std::nullopt},
        PathCase{"unitNotANumber", kPrefix + "7&2&0&kv&x1#" + kDiskGuid, std::nullopt,
                 std::nullopt},
        PathCase{"emptyUnit", kPrefix + "kv&#" + kDiskGuid, std::nullopt, std::nullopt},
        PathCase{"empty", "", std::nullopt, std::nullopt}),
    CaseName());

TEST(ParentIds, VendorAndProductFollowTheirKeys) {
  std::uint16_t vendor = 1;
  std::uint16_t product = 2;
  EXPECT_TRUE(access::ParseParentIds("USB\\VID_13FE&PID_1E27\\KV0123456789", vendor, product));
  EXPECT_EQ(vendor, 0x13FE);
  EXPECT_EQ(product, 0x1E27);
  EXPECT_TRUE(access::ParseParentIds("USB\\VID_0693&PID_02033\\X", vendor, product));
  EXPECT_EQ(product, 0x0203) << "at most four digits";
  EXPECT_TRUE(access::ParseParentIds("USB\\VID_a&PID_b", vendor, product));
  EXPECT_EQ(vendor, 0x0A);
  EXPECT_EQ(product, 0x0B);
  vendor = 1;
  product = 2;
  EXPECT_FALSE(access::ParseParentIds("PCI\\VEN_8086&DEV_A102", vendor, product));
  EXPECT_FALSE(access::ParseParentIds("USB\\VID_&PID_0203", vendor, product));
  EXPECT_FALSE(access::ParseParentIds("USB\\VID_0693", vendor, product));
  EXPECT_FALSE(access::ParseParentIds("USB\\vid_0693&pid_0203", vendor, product))
      << "the keys are upper case";
  EXPECT_EQ(vendor, 1) << "nothing is written on failure";
  EXPECT_EQ(product, 2);
}

TEST(Serials, CompareWithoutCaseOverTheShorterText) {
  EXPECT_TRUE(access::SerialsMatch("kv0123456789", "KV0123456789"));
  EXPECT_TRUE(access::SerialsMatch("KV01", "kv0123456789"));
  EXPECT_TRUE(access::SerialsMatch("", "KV0123456789"));
  EXPECT_FALSE(access::SerialsMatch("KV02", "KV0123456789"));
}

access::UnitMap MapFor(std::uint16_t vendor, std::uint16_t product, const char* serial) {
  access::UnitMap map;
  map.vendor_id = vendor;
  map.product_id = product;
  std::strncpy(map.serial, serial, sizeof(map.serial) - 1);
  return map;
}

std::string Letters(const access::UnitMap& map, std::size_t units) {
  return std::string(reinterpret_cast<const char*>(map.unit_bytes), units);
}

class StorageUnitsTest : public EnumerationTest {};

TEST_F(StorageUnitsTest, MapUnitsGivesEachUnitItsLetter) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}, {nullptr, 2}}, {{"mode", 31}}),
              Drive({{"G", 5}, {"H", 2}}, {{"serial", "KV2"}})});
  access::UnitMap map = MapFor(0x0693, 0x0203, "KV0123456789");
  access::MapUnits(map);
  EXPECT_EQ(map.unit_count, 3u);
  EXPECT_EQ(Letters(map, 3), "EF?") << "a unit without a letter shows '?'";
  EXPECT_EQ(map.unit_numbers[1], 1);
  EXPECT_EQ(map.unit_numbers[2], 2);

  access::UnitMap second = MapFor(0x0693, 0x0203, "kv2");
  access::MapUnits(second);
  EXPECT_EQ(second.unit_count, 2u);
  EXPECT_EQ(Letters(second, 2), "GH");

  access::UnitMap other_product = MapFor(0x0693, 0x0204, "KV0123456789");
  access::MapUnits(other_product);
  EXPECT_EQ(other_product.unit_count, 0u);
}

TEST_F(StorageUnitsTest, CountUnitsNeedsTheFiveFieldInstance) {
  json drive = Drive({{"E", 5}, {nullptr, 2}, {"G", 2}});
  LoadDrives({drive});
  access::UnitMap map = MapFor(0x0693, 0x0203, "KV0123456789");
  access::CountUnits(map);
  EXPECT_EQ(map.unit_count, 0u) << "\"serial&unit\" has two fields";

  drive["storage"] = {{"instance_prefix", "7&2a1b3c4d&0"}};
  LoadDrives({drive});
  map = MapFor(0x0693, 0x0203, "KV0123456789");
  std::memset(map.unit_bytes, 'x', sizeof(map.unit_bytes));
  access::CountUnits(map);
  EXPECT_EQ(map.unit_count, 3u);
  // The CD-ROM class is listed first; here it holds unit 0 anyway.
  EXPECT_EQ(map.unit_numbers[0], 0);
  EXPECT_EQ(map.unit_numbers[1], 1);
  EXPECT_EQ(map.unit_numbers[2], 2);
  EXPECT_EQ(map.unit_bytes[0], 'x') << "unit bytes are not touched";

  // MapUnits still reads the serial before the unit number.
  access::MapUnits(map);
  EXPECT_EQ(Letters(map, 3), "E?G");
}

TEST_F(StorageUnitsTest, InterfacesLackingAPartAreLeftOut) {
  json no_parent = Drive({{"E", 5}, {"F", 2}}, {{"storage", {{"parent", nullptr}}}});
  LoadDrives({no_parent});
  access::UnitMap map = MapFor(0x0693, 0x0203, "KV0123456789");
  access::MapUnits(map);
  EXPECT_EQ(map.unit_count, 0u);

  json no_number = Drive({{"E", 5}, {"F", 2}}, {{"storage", {{"device_number", false}}}});
  LoadDrives({no_number});
  access::MapUnits(map);
  EXPECT_EQ(map.unit_count, 0u);

  json foreign_parent =
      Drive({{"E", 5}, {"F", 2}}, {{"storage", {{"parent", "USBSTOR\\DISK&VEN_KELVANE"}}}});
  LoadDrives({foreign_parent});
  access::MapUnits(map);
  EXPECT_EQ(map.unit_count, 0u);

  json hidden = Drive({{"E", 5}, {"F", 2}}, {{"storage", {{"interfaces", false}}}});
  LoadDrives({hidden});
  EXPECT_TRUE(access::CollectStorageInterfaces().empty()) << "the fixed disk C: has no USB parent";
}

TEST_F(StorageUnitsTest, AtMostThirtyTwoInterfacesAreTaken) {
  // C: and five drives of eight units: 41 interfaces.
  std::vector<json> drives;
  for (int d = 0; d < 5; ++d) {
    drives.push_back(
        Drive({{nullptr, 2},
               {nullptr, 2},
               {nullptr, 2},
               {nullptr, 2},
               {nullptr, 2},
               {nullptr, 2},
               {nullptr, 2},
               {nullptr, 2}},
              {{"serial", "S" + std::to_string(d)}, {"storage", {{"instance_prefix", "7&1&0"}}}}));
  }
  LoadDrives(drives);
  EXPECT_EQ(access::CollectStorageInterfaces().size(), 32u);
  access::UnitMap third = MapFor(0x0693, 0x0203, "S3");
  access::CountUnits(third);
  EXPECT_EQ(third.unit_count, 8u);
  access::UnitMap fourth = MapFor(0x0693, 0x0203, "S4");
  access::CountUnits(fourth);
  EXPECT_EQ(fourth.unit_count, 0u) << "its interfaces are past the table";
}

// A port that states the interfaces and letter numbers directly.
class FakeStorageInterfaces final : public platform::StorageInterfacePort {
 public:
  FakeStorageInterfaces() : override_(platform::StorageInterfaceSlot(), *this) {}
  std::vector<StorageInterface> ListStorageInterfaces() override { return interfaces; }
  std::optional<StorageDeviceNumber> DriveDeviceNumber(char letter) override {
    const auto found = letter_numbers.find(letter);
    if (found == letter_numbers.end()) return std::nullopt;
    return found->second;
  }

  std::vector<StorageInterface> interfaces;
  std::map<char, StorageDeviceNumber> letter_numbers;

 private:
  platform::ScopedPortOverride<platform::StorageInterfacePort> override_;
};

StorageInterface Disk(const std::string& instance, StorageDeviceNumber number) {
  return StorageInterface{StorageClass::kDisk, kPrefix + instance + "#" + kDiskGuid,
                          "USB\\VID_0693&PID_0203\\KV1", number};
}

TEST_F(StorageUnitsTest, LettersMapByDeviceNumberWithPartitionZeroForRemovables) {
  // F: removable (its volume reports partition 1), G: CD-ROM, H: a unit the
  // virtual PC lists as fixed: its partition number is compared as it is.
  LoadDrives({Drive({{"F", 2}, {"G", 5}, {"H", 3}}, {{"serial", "KV1"}})});
  FakeStorageInterfaces fake;
  fake.interfaces = {
      Disk("kv1&0", {7, 4, 0}),
      StorageInterface{StorageClass::kCdRom, kPrefix + "kv1&1#" + kDiskGuid,
                       "USB\\VID_0693&PID_0203\\KV1", StorageDeviceNumber{2, 0, 0xFFFFFFFFu}},
      Disk("kv1&2", {7, 5, 0}),
      Disk("kv1&9", {7, 6, 0}),
  };
  fake.letter_numbers = {{'F', {7, 4, 1}}, {'G', {2, 0, 0xFFFFFFFFu}}, {'H', {7, 5, 1}}};
  access::UnitMap map = MapFor(0x0693, 0x0203, "KV1");
  access::MapUnits(map);
  EXPECT_EQ(Letters(map, 3), "FG?");
  EXPECT_EQ(map.unit_count, 3u) << "unit 9 is ignored";
}

TEST_F(StorageUnitsTest, AUnitCountNeverPassesEight) {
  FakeStorageInterfaces fake;
  for (int i = 0; i < 12; ++i)
    fake.interfaces.push_back(Disk("7&1&0&kv1&" + std::to_string(i % 8), {7, 1, 0}));
  fake.interfaces.push_back(Disk("7&1&0&kv1&8", {7, 1, 0}));
  access::UnitMap map = MapFor(0x0693, 0x0203, "KV1");
  access::CountUnits(map);
  EXPECT_EQ(map.unit_count, 8u);
  access::MapUnits(map);
  EXPECT_EQ(map.unit_count, 8u);
}

TEST_F(StorageUnitsTest, LongTextsAreLeftOut) {
  FakeStorageInterfaces fake;
  fake.interfaces.push_back(Disk(std::string(240, 'a') + "&kv1&0", {7, 1, 0}));
  fake.interfaces.push_back(Disk("kv1&1", {7, 2, 0}));
  const auto entries = access::CollectStorageInterfaces();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].device_number.device_number, 2u);
}

// A server without the facility answers error 50: no interfaces.
class NotSupportedChannel final : public platform::VdriveChannel {
 public:
  std::optional<std::string> Exchange(const std::string&) override {
    return R"({"ok":false,"error":50})";
  }
};

TEST(VirtualStorageInterfaces, AServerWithoutTheFacilityHasNone) {
  NotSupportedChannel channel;
  platform::VirtualDrives drives(channel);
  EXPECT_TRUE(drives.ListStorageInterfaces().empty());
  EXPECT_FALSE(drives.DriveDeviceNumber('E').has_value());
}

TEST_F(StorageUnitsTest, TheVirtualPcNumbersLettersAndInterfacesAlike) {
  platform::StorageInterfacePort& port = platform::StorageInterfaces();
  const auto interfaces = port.ListStorageInterfaces();
  ASSERT_EQ(interfaces.size(), 3u);  // E: CD-ROM, then C: and F:
  EXPECT_EQ(interfaces[0].storage_class, StorageClass::kCdRom);
  EXPECT_EQ(port.DriveDeviceNumber('e'), interfaces[0].device_number);
  const auto f = port.DriveDeviceNumber('F');
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->partition_number, 1u);
  EXPECT_EQ(interfaces[2].device_number->device_number, f->device_number);
  EXPECT_EQ(interfaces[2].device_number->partition_number, 0u);
  EXPECT_FALSE(port.DriveDeviceNumber('Q').has_value());
}

}  // namespace
}  // namespace kelvane::testing
