#include "framework/resource_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/embedded_settings.h"
#include "framework/process_runner.h"
#include "framework/settings_key.h"
#include "platform/linux/resource_table.h"
#include "tests/framework/test_files.h"

namespace kelvane::framework {
namespace {

using platform::linux_backend::ReadResourceTable;
using platform::linux_backend::ResourceEntry;
using platform::linux_backend::WriteResourceTable;

constexpr char kProbeSettings[] =
    "[DeviceModel]\nIsHid=1\nMaxOpenRetry=5\nVPFilter1=0693:0005\nVPFilter2=056E:0007\n\n[Text]"
    "\nMessage=セキュリティUSB\n\n";

// Copies of the two helper programs: one carries the embedded settings, the
// other none; variants are made by rewriting the copy's resource table.
class ProgramFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Copy(const std::wstring& program, const std::string& name) {
    const std::filesystem::path copy = scratch_ / name;
    std::filesystem::copy_file(testing::HelperProgram(program), copy);
    return copy;
  }
  std::filesystem::path WithSettings(const std::string& name) {
    return Copy(L"framework_settings_probe", name);
  }
  std::filesystem::path WithoutSettings(const std::string& name) {
    return Copy(L"framework_test_helper", name);
  }

  // A copy whose settings resource holds `data`.
  std::filesystem::path WithResourceData(const std::string& name, std::vector<std::uint8_t> data) {
    const std::filesystem::path copy = WithoutSettings(name);
    ResourceEntry entry;
    entry.type = u"BINARY";
    entry.id = 4096;
    entry.data = std::move(data);
    EXPECT_EQ(WriteResourceTable(copy.string(), {entry}), "");
    return copy;
  }

  std::vector<std::uint8_t> EmbeddedData() {
    const auto table =
        ReadResourceTable(testing::HelperProgram(L"framework_settings_probe").string());
    EXPECT_TRUE(table && table->present && table->entries.size() == 1);
    return table->entries.at(0).data;
  }

  // What a program file prints as its embedded settings.
  std::string SettingsOf(const std::filesystem::path& program,
                         const char* command = "print-settings") {
    const std::filesystem::path out = scratch_ / ("out-" + testing::UniqueSuffix());
    const std::wstring wide_command(command, command + std::strlen(command));
    const Result run = RunProcessAndWait(
        {}, testing::CommandLine({program.wstring(), wide_command, out.wstring()}));
    EXPECT_TRUE(run.IsSuccess());
    return testing::ReadText(out);
  }

  ResourceReader Reader(const wchar_t* type = kSettingsResourceType) {
    return ResourceReader(type, key_);
  }

  testing::ScratchFolder scratch_;
  SettingsKeyBytes key_ = BuildSettingsKeyBytes();
};

TEST_F(ProgramFileTest, ReadsAndDeciphersTheEmbeddedSettings) {
  ResourceReader reader = Reader();
  const std::filesystem::path program = WithSettings("varnel");
  ASSERT_TRUE(reader.Open(program.wstring()).IsSuccess());
  EXPECT_EQ(reader.ModulePath(), program.wstring());
  std::vector<std::uint8_t> raw;
  ASSERT_TRUE(reader.ReadRaw(kSettingsResourceId, 0, raw).IsSuccess());
  EXPECT_EQ(raw, EmbeddedData());
  EXPECT_EQ(raw.size() % 16, 0u);
  std::vector<std::uint8_t> plain;
  ASSERT_TRUE(reader.ReadDeciphered(kSettingsResourceId, plain).IsSuccess());
  ASSERT_GE(plain.size(), 2u);
  EXPECT_EQ(plain[0], 0xFF) << "stored as UTF-16 with a mark";
  EXPECT_EQ(plain[1], 0xFE);
  const std::wstring text = reader.ReadText(kSettingsResourceId);
  EXPECT_NE(text.find(L"[DeviceModel]"), std::wstring::npos);
  EXPECT_NE(text.find(L"Message=セキュリティUSB"), std::wstring::npos);
}

TEST_F(ProgramFileTest, OpenFailures) {
  ResourceReader reader = Reader();
  EXPECT_EQ(reader.Open(WithoutSettings("bare").wstring()).Codes(),
            (std::vector<ResultCode>{LineCode(74), 1812}));
  EXPECT_EQ(reader.Open((scratch_ / "missing").wstring()).Codes(),
            (std::vector<ResultCode>{LineCode(73), 126}));
  testing::WriteBytes(scratch_ / "text.txt", {'h', 'i'});
  EXPECT_EQ(reader.Open((scratch_ / "text.txt").wstring()).Codes(),
            (std::vector<ResultCode>{LineCode(73), 193}));
  EXPECT_EQ(reader.ModulePath(), L"") << "no module was chosen";
}

TEST_F(ProgramFileTest, OpenWithoutPathReadsTheRunningProgram) {
  ResourceReader reader = Reader();
  EXPECT_EQ(reader.Open(L"").Codes(), (std::vector<ResultCode>{LineCode(74), 1812}))
      << "the test program carries no resources";
}

TEST_F(ProgramFileTest, ReadingNeedsAChosenModuleWhoseFileStillExists) {
  ResourceReader reader = Reader();
  std::vector<std::uint8_t> bytes;
  EXPECT_EQ(reader.ReadRaw(kSettingsResourceId, 0, bytes).Codes(),
            (std::vector<ResultCode>{LineCode(121), tq::HandleNotEnabled}));
  EXPECT_EQ(reader.ReadDeciphered(kSettingsResourceId, bytes).Codes(),
            (std::vector<ResultCode>{LineCode(522), tq::HandleNotEnabled}));
  const std::filesystem::path program = WithSettings("gone");
  ASSERT_TRUE(reader.Open(program.wstring()).IsSuccess());
  std::filesystem::remove(program);
  EXPECT_EQ(reader.ReadRaw(kSettingsResourceId, 0, bytes).Codes(),
            (std::vector<ResultCode>{LineCode(121), tq::FileNotFound}));
  EXPECT_EQ(reader.ReadText(kSettingsResourceId), L"");
}

struct NameCase {
  const char* what;
  std::wstring name;
  std::vector<ResultCode> codes;
};

class ResourceNameTest : public ProgramFileTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ResourceNameTest, NamesAreCheckedBeforeTheModuleIsLoaded) {
  ResourceReader reader = Reader();
  ASSERT_TRUE(reader.Open(WithSettings("names").wstring()).IsSuccess());
  std::vector<std::uint8_t> bytes;
  EXPECT_EQ(reader.ReadRaw(GetParam().name, 0, bytes).Codes(), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ResourceNameTest,
    ::testing::Values(
        NameCase{"Empty", L"", {LineCode(112), tq::InvalidKey}},
        NameCase{"SixtyFourCharacters", std::wstring(64, L'A'), {LineCode(115), tq::InvalidKey}},
        NameCase{"Underscore", L"MY_NAME", {LineCode(115), tq::InvalidKey}},
        NameCase{"NegativeId", L"#-5", {LineCode(115), tq::InvalidKey}},
        NameCase{"SixtyThreeCharactersPass",
                 std::wstring(63, L'a'),
                 {LineCode(117), LineCode(343), 1814}},
        NameCase{"SpacesAndDotsPass", L"my name.v2", {LineCode(117), LineCode(343), 1814}},
        NameCase{"OtherId", L"#4097", {LineCode(117), LineCode(343), 1814}},
        NameCase{"LowerCaseIsUpperCased", L"#4096", {}}),
    [](const ::testing::TestParamInfo<NameCase>& case_info) {
      return std::string(case_info.param.what);
    });

TEST_F(ProgramFileTest, MissingTypeOrLanguage) {
  const std::filesystem::path program = WithSettings("kinds");
  std::vector<std::uint8_t> bytes;
  ResourceReader text_reader = Reader(L"TEXT");
  ASSERT_TRUE(text_reader.Open(program.wstring()).IsSuccess());
  EXPECT_EQ(text_reader.ReadRaw(kSettingsResourceId, 0, bytes).Codes(),
            (std::vector<ResultCode>{LineCode(117), LineCode(343), 1813}));
  ResourceReader reader = Reader(L"binary");
  ASSERT_TRUE(reader.Open(program.wstring()).IsSuccess());
  EXPECT_TRUE(reader.ReadRaw(kSettingsResourceId, 0, bytes).IsSuccess()) << "types ignore case";
  EXPECT_EQ(reader.ReadRaw(kSettingsResourceId, 0x411, bytes).Codes(),
            (std::vector<ResultCode>{LineCode(117), LineCode(343), 1815}));
}

TEST_F(ProgramFileTest, DamagedResourcesDecipherToNothing) {
  std::vector<std::uint8_t> changed = EmbeddedData();
  changed[changed.size() / 2] ^= 0x80;
  const struct {
    const char* name;
    std::vector<std::uint8_t> data;
    std::vector<ResultCode> codes;
  } cases[] = {
      {"changed", changed, {LineCode(537), tq::DecodeError, LineCode(134), tq::NotSameHash}},
      {"short",
       std::vector<std::uint8_t>(47, 0x11),
       {LineCode(537), tq::DecodeError, LineCode(131), tq::InvalidFormat}},
      {"empty", {}, {LineCode(537), tq::DecodeError, LineCode(131), tq::InvalidFormat}},
  };
  for (const auto& c : cases) {
    ResourceReader reader = Reader();
    ASSERT_TRUE(reader.Open(WithResourceData(c.name, c.data).wstring()).IsSuccess());
    std::vector<std::uint8_t> bytes = {1};
    EXPECT_EQ(reader.ReadDeciphered(kSettingsResourceId, bytes).Codes(), c.codes) << c.name;
    EXPECT_TRUE(bytes.empty()) << c.name;
    EXPECT_EQ(reader.ReadText(kSettingsResourceId), L"") << c.name;
  }
}

TEST_F(ProgramFileTest, DamagedResourceTableReadsAsNoResources) {
  const std::filesystem::path program = WithSettings("table");
  std::vector<std::uint8_t> bytes = testing::ReadBytes(program);
  bytes[bytes.size() - 12] ^= 0x01;  // the entry count
  testing::WriteBytes(program, bytes);
  ResourceReader reader = Reader();
  EXPECT_EQ(reader.Open(program.wstring()).Codes(), (std::vector<ResultCode>{LineCode(74), 1812}));
}

TEST_F(ProgramFileTest, ProgramsReadTheirOwnEmbeddedSettings) {
  EXPECT_EQ(SettingsOf(WithSettings("probe")), kProbeSettings);
  EXPECT_EQ(SettingsOf(WithoutSettings("bare")), "");
  std::vector<std::uint8_t> changed = EmbeddedData();
  changed[40] ^= 0x01;
  EXPECT_EQ(SettingsOf(WithResourceData("changed", changed)), "");
  EXPECT_EQ(SettingsOf(WithResourceData("short", std::vector<std::uint8_t>(32, 0))), "");
}

TEST_F(ProgramFileTest, SettingsTextIsInvalidOnceThenEmptyWhenThereIsNone) {
  EXPECT_EQ(SettingsOf(WithoutSettings("bare"), "print-settings-text"), "INVALID||");
  const std::string text = SettingsOf(WithSettings("probe"), "print-settings-text");
  const std::size_t bar = text.find('|');
  ASSERT_NE(bar, std::string::npos);
  EXPECT_EQ(text.substr(bar + 1), text.substr(0, bar) + "|")
      << "the second call returns the cached text";
  EXPECT_NE(text.find("MaxOpenRetry=5"), std::string::npos);
}

TEST_F(ProgramFileTest, TheSettingsVarnelShips) {
  const std::filesystem::path program = WithoutSettings("varnel");
  const std::filesystem::path tool = testing::HelperProgram(L"kelvane_settings_cipher");
  ASSERT_TRUE(
      RunProcessAndWait({}, testing::CommandLine({tool.wstring(), L"embed", program.wstring(),
                                                  KELVANE_VARNEL_SETTINGS_FILE}))
          .IsSuccess());
  EXPECT_EQ(SettingsOf(program), "[DeviceModel]\nIsHid=0\nMaxOpenRetry=3\n\n");
  ASSERT_TRUE(
      RunProcessAndWait({}, testing::CommandLine({tool.wstring(), L"embed", program.wstring(),
                                                  KELVANE_VARNEL_SETTINGS_FILE}))
          .IsSuccess());
  EXPECT_EQ(SettingsOf(program), "[DeviceModel]\nIsHid=0\nMaxOpenRetry=3\n\n")
      << "embedding again replaces";
}

TEST(EmbeddedSettingsTest, TestProgramWithoutResourceGivesDefaultsAndEqualCopies) {
  SettingsStore first = LoadEmbeddedSettings();
  EXPECT_EQ(first.Serialize(), L"");
  EXPECT_EQ(first.GetInt(L"MaxOpenRetry", 3, 10), 3);
  EXPECT_EQ(first.Get(L"IsHid", L"0", L"DeviceModel"), L"0");
  first.Get(L"x", L"", L"AddedToTheCopy");
  SettingsStore second = LoadEmbeddedSettings();
  EXPECT_EQ(second.Serialize(), L"");
  EXPECT_TRUE(second.SectionNames().empty()) << "changes to a copy do not reach the store";
}

}  // namespace
}  // namespace kelvane::framework
