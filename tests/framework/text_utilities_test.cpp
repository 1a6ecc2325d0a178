#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/environment_text.h"
#include "framework/text_conversion.h"
#include "framework/text_replace.h"
#include "platform/code_page.h"

namespace kelvane::framework {
namespace {

TEST(EnvironmentTextTest, UnsetAndEmptyVariablesGiveEmptyText) {
  ::unsetenv("KELVANE_TEST_UNSET");
  ::setenv("KELVANE_TEST_EMPTY", "", 1);
  ::setenv("KELVANE_TEST_SET", "C:\\Windows\\system32\\cmd.exe", 1);
  ::setenv("KELVANE_TEST_JAPANESE", "ドライブ", 1);
  EXPECT_EQ(GetEnvironmentText(L"KELVANE_TEST_UNSET"), L"");
  EXPECT_EQ(GetEnvironmentText(L"KELVANE_TEST_EMPTY"), L"");
  EXPECT_EQ(GetEnvironmentText(L"KELVANE_TEST_SET"), L"C:\\Windows\\system32\\cmd.exe");
  EXPECT_EQ(GetEnvironmentText(L"KELVANE_TEST_JAPANESE"), L"ドライブ");
  EXPECT_EQ(GetEnvironmentText(L""), L"");
  EXPECT_EQ(GetEnvironmentText(L"A=B"), L"");
}

TEST(ReplaceAllTest, LineFeedsBecomeCrLfWithoutEndlessGrowth) {
  std::string narrow = "a\nb\n";
  ReplaceAll(narrow, "\n", "\r\n");
  EXPECT_EQ(narrow, "a\r\nb\r\n");
  std::wstring wide = L"\n\n";
  ReplaceAll(wide, L"\n", L"\r\n");
  EXPECT_EQ(wide, L"\r\n\r\n");
}

struct ReplaceCase {
  std::string text, pattern, replacement, expected;
};

class ReplaceAllCaseTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllCaseTest, Replaces) {
  std::string text = GetParam().text;
  ReplaceAll(text, GetParam().pattern, GetParam().replacement);
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceAllCaseTest,
                         ::testing::Values(ReplaceCase{"abc", "", "x", "abc"},
                                           ReplaceCase{"aaa", "a", "", ""},
                                           ReplaceCase{"aaa", "aa", "b", "ba"},
                                           ReplaceCase{"abab", "ab", "abab", "abababab"},
                                           ReplaceCase{"x//y//", "//", "/", "x/y/"},
                                           ReplaceCase{"none", "z", "y", "none"},
                                           ReplaceCase{"", "a", "b", ""}));

TEST(ConversionTest, WideToNarrowUsesUtf8AsTheAnsiCodePage) {
  EXPECT_EQ(WideToNarrow(L"abc"), "abc");
  EXPECT_EQ(WideToNarrow(L"アップデートしました"), "アップデートしました");
  EXPECT_EQ(WideToNarrow(L""), "");
}

TEST(ConversionTest, StrictConversionRefusesCharactersWithoutEquivalent) {
  const StrictNarrowText ok = WideToNarrowStrict(L"セキュリティUSB", platform::kAnsiCodePage, 0);
  EXPECT_EQ(ok.code, 0u);
  EXPECT_EQ(ok.text, "セキュリティUSB");

  const std::wstring lone = {L'a', static_cast<wchar_t>(0xDC00)};
  const StrictNarrowText refused = WideToNarrowStrict(lone, platform::kAnsiCodePage, 0);
  EXPECT_EQ(refused.code, tq::InvalidCharacterCode);
  EXPECT_EQ(refused.text, "");

  const StrictNarrowText cut =
      WideToNarrowStrict(std::wstring(L"ab\0cd", 5), platform::kUtf8CodePage, 0);
  EXPECT_EQ(cut.text, "ab") << "text ends at its first NUL";

  EXPECT_EQ(WideToNarrowStrict(L"a", 12345, 0).code, 87u);
}

TEST(ConversionTest, NarrowToWideReportsInvalidBytesOnlyWhenAsked) {
  const WideConversion strict =
      NarrowToWide("a\xFF", platform::kErrorOnInvalidChars, platform::kUtf8CodePage);
  EXPECT_EQ(strict.error, 1113u);
  const WideConversion lenient = NarrowToWide("a\xFF", 0, platform::kUtf8CodePage);
  EXPECT_EQ(lenient.error, 0u);
  EXPECT_EQ(lenient.text, L"a\xFFFD");
  EXPECT_EQ(NarrowToWide("", 0, platform::kAnsiCodePage).error, 0u);
  EXPECT_EQ(NarrowToWide("x", 0, 12345).error, 87u);
}

TEST(ConversionTest, ShiftJisRoundTrip) {
  const WideConversion probe = NarrowToWide("a", 0, platform::kShiftJisCodePage);
  if (probe.error != 0) {
    GTEST_SKIP() << "code page 932 is not installed";
  }
  const std::string sjis = "\x83\x68\x83\x89\x83\x43\x83\x75";  // ドライブ
  const WideConversion wide =
      NarrowToWide(sjis, platform::kErrorOnInvalidChars, platform::kShiftJisCodePage);
  EXPECT_EQ(wide.error, 0u);
  EXPECT_EQ(wide.text, L"ドライブ");
  const StrictNarrowText back = WideToNarrowStrict(L"ドライブ", platform::kShiftJisCodePage, 0);
  EXPECT_EQ(back.code, 0u);
  EXPECT_EQ(back.text, sjis);
  EXPECT_EQ(WideToNarrowStrict(L"\x00E9\x4E00\x0E01", platform::kShiftJisCodePage, 0).code,
            tq::InvalidCharacterCode)
      << "Thai has no Shift_JIS form";
  EXPECT_EQ(NarrowToWide("\x83", platform::kErrorOnInvalidChars, platform::kShiftJisCodePage).error,
            1113u)
      << "a lead byte alone is incomplete";
}

}  // namespace
}  // namespace kelvane::framework
