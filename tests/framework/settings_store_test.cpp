#include "framework/settings_store.h"

#include <gtest/gtest.h>

namespace kelvane::framework {
namespace {

SettingsStore Parsed(const std::wstring& text) {
  SettingsStore store;
  EXPECT_TRUE(store.Parse(text).IsSuccess());
  return store;
}

struct LookupCase {
  const char* what;
  std::wstring text;
  std::wstring section;
  std::wstring key;
  std::wstring expected;  // L"<default>" when the default is expected
};

class SettingsLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(SettingsLookupTest, FindsTheValue) {
  SettingsStore store = Parsed(GetParam().text);
  EXPECT_EQ(store.Get(GetParam().key, L"<default>", GetParam().section), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsLookupTest,
    ::testing::Values(
        LookupCase{"LineFeedOnly", L"[Setting]\nMode=abc", L"Setting", L"Mode", L"abc"},
        LookupCase{"CrLf", L"[S]\r\nA=1\r\nB=2\r\n", L"S", L"B", L"2"},
        LookupCase{"CrOnly", L"[S]\rA=1\rB=2", L"S", L"B", L"2"},
        LookupCase{"FurtherEqualsBelongToValue", L"[S]\nk=v=w", L"S", L"k", L"v=w"},
        LookupCase{"NoTrimmingOfKey", L"[S]\n k = v ", L"S", L" k ", L" v "},
        LookupCase{"NoTrimmingMeansTrimmedKeyIsMissing", L"[S]\n k = v ", L"S", L"k", L"<default>"},
        LookupCase{"KeysIgnoreCase", L"[S]\nKey=1\nKEY=2", L"S", L"key", L"2"},
        LookupCase{"SectionsIgnoreCase", L"[DeviceModel]\nIsHid=1", L"devicemodel", L"ishid", L"1"},
        LookupCase{"EmptyValueIsMissing", L"[S]\nk=", L"S", L"k", L"<default>"},
        LookupCase{"TextAfterBracketIgnored", L"[A]x=1", L"A", L"x", L"<default>"},
        LookupCase{"SectionNameUpToFirstBracket", L"[A]b]\nx=1", L"A", L"x", L"1"},
        LookupCase{"CommentSkipped", L"[S]\n;k=1", L"S", L";k", L"<default>"},
        LookupCase{"UnclosedBracketLineIsAKeyLine", L"[S]\n[k=1", L"S", L"[k", L"1"},
        LookupCase{"KeysBeforeAnySectionGoToSetting", L"k=1\n[Other]\nk=2", L"Setting", L"k", L"1"},
        LookupCase{"SectionsReopen", L"[A]\nx=1\n[B]\ny=2\n[A]\nz=3", L"A", L"z", L"3"},
        LookupCase{"LineWithoutEqualsIgnored", L"[S]\njunk\nk=1", L"S", L"junk", L"<default>"},
        LookupCase{"EmptySectionNameHoldsKeysOnceAnySectionExists", L"[A]\na=1\n[]\nk=1", L"", L"k",
                   L"<default>"}),
    [](const ::testing::TestParamInfo<LookupCase>& case_info) {
      return std::string(case_info.param.what);
    });

TEST(SettingsStoreTest, ParseRestoresTheCurrentSectionAndReplacesOldContent) {
  SettingsStore store;
  store.Parse(L"[Old]\na=1");
  store.SetCurrentSection(L"Elsewhere");
  store.Parse(L"[DeviceModel]\nMaxOpenRetry=3\nk=v\n[Next]\n");
  EXPECT_EQ(store.CurrentSection(), L"Setting");
  EXPECT_EQ(store.SectionNames(), std::vector<std::wstring>{L"DeviceModel"});
  EXPECT_EQ(store.Get(L"a", L"gone", L"Old"), L"gone");
}

TEST(SettingsStoreTest, KeyLinesWithEmptyCurrentSectionAndNoSectionsAreIgnored) {
  SettingsStore store = Parsed(L"[]\nk=1\n[A]\nx=1");
  EXPECT_EQ(store.SectionNames(), std::vector<std::wstring>{L"A"});
}

TEST(SettingsStoreTest, LookupInMissingSectionAppendsIt) {
  SettingsStore store = Parsed(L"[A]\nx=1");
  EXPECT_EQ(store.Get(L"x", L"d", L"Missing"), L"d");
  EXPECT_EQ(store.SectionNames(), (std::vector<std::wstring>{L"A", L"Missing"}));
  EXPECT_EQ(store.Serialize(), L"[A]\nx=1\n\n") << "an empty section is not written";
}

TEST(SettingsStoreTest, LookupWithoutSectionUsesTheCurrentOne) {
  SettingsStore store = Parsed(L"[DeviceModel]\nIsHid=1\n[Setting]\nIsHid=0");
  EXPECT_EQ(store.Get(L"IsHid", L"d"), L"0");
  store.SetCurrentSection(L"DeviceModel");
  EXPECT_EQ(store.Get(L"IsHid", L"d"), L"1");
}

struct IntCase {
  std::wstring value;
  int base;
  std::int32_t expected;
};

class SettingsIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(SettingsIntTest, ReadsNumberOrDefault) {
  SettingsStore store = Parsed(L"[Setting]\nn=" + GetParam().value);
  EXPECT_EQ(store.GetInt(L"n", -77, GetParam().base), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsIntTest,
    ::testing::Values(IntCase{L"12abc", 10, 12}, IntCase{L"abc", 10, -77},
                      IntCase{L"99999999999", 10, -77}, IntCase{L"-99999999999", 10, -77},
                      IntCase{L"2147483647", 10, 2147483647},
                      IntCase{L"-2147483648", 10, -2147483647 - 1}, IntCase{L"2147483648", 10, -77},
                      IntCase{L"-1", 10, -1}, IntCase{L" 3", 10, 3}, IntCase{L"0x1F", 16, 31},
                      IntCase{L"1F", 16, 31}, IntCase{L"010", 0, 8}, IntCase{L"", 10, -77},
                      IntCase{L"5", 1, -77}, IntCase{L"5", 37, -77}));

TEST(SettingsStoreTest, GetKeysMatchesPrefixExactlyInKeyOrder) {
  SettingsStore store =
      Parsed(L"[Setting]\nVPFilter2=b\nvpfilter3=c\nVPFilter1=a\nVPFilterEmpty=\nVP=x\nOther=1");
  EXPECT_EQ(store.GetKeys(L"VPFilter"), (std::vector<std::wstring>{L"VPFilter1", L"VPFilter2"}));
  EXPECT_EQ(store.GetKeys(L""),
            (std::vector<std::wstring>{L"Other", L"VP", L"VPFilter1", L"VPFilter2", L"vpfilter3"}));
  store.SetCurrentSection(L"None");
  EXPECT_TRUE(store.GetKeys(L"VP").empty());
  EXPECT_EQ(store.SectionNames().back(), L"None");
}

TEST(SettingsStoreTest, SerializeWritesNamedSectionsWithNonEmptyValues) {
  SettingsStore store = Parsed(L"[B]\nz=1\ny=\nx=2\n[A]\nk=v\n[Empty]\ne=\n");
  EXPECT_EQ(store.Serialize(), L"[B]\nx=2\nz=1\n\n[A]\nk=v\n\n[Empty]\n\n");
  EXPECT_EQ(store.Serialize(L"A"), L"[A]\nk=v\n\n");
  EXPECT_EQ(store.Serialize(L"a"), L"") << "the filter matches exactly";
}

TEST(SettingsStoreTest, SerializeThenParseReproducesSectionsWithValues) {
  SettingsStore original =
      Parsed(L"[DeviceModel]\nMaxOpenRetry=3\nIsHid=0\n[Other]\nkey = spaced \nK2=a=b\n");
  const std::wstring text = original.Serialize();
  SettingsStore copy = Parsed(text);
  EXPECT_EQ(copy.Serialize(), text);
  EXPECT_EQ(copy.GetInt(L"MaxOpenRetry", 0, 10), 0) << "current section is Setting";
  EXPECT_EQ(copy.Get(L"MaxOpenRetry", L"", L"DeviceModel"), L"3");
  EXPECT_EQ(copy.Get(L"key ", L"", L"Other"), L" spaced ");
}

TEST(SettingsStoreTest, GetTextConvertsOrGivesEmpty) {
  SettingsStore store = Parsed(L"[Setting]\nname=セキュリティ\n");
  EXPECT_EQ(store.GetText(L"name", L""), "セキュリティ");
  EXPECT_EQ(store.GetText(L"missing", L"default"), "default");
  const std::wstring lone = {static_cast<wchar_t>(0xD800)};
  EXPECT_EQ(store.GetText(L"missing", lone), "");
}

}  // namespace
}  // namespace kelvane::framework
