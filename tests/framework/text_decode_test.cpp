#include "framework/text_decode.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane::framework {
namespace {

using namespace string_type;

struct DecodeCase {
  const char* what;
  std::vector<std::uint8_t> bytes;
  std::wstring text;
  std::vector<ResultCode> detected;
};

class DecodeTextBytesTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTextBytesTest, DecodesAndDetects) {
  const DecodeCase& c = GetParam();
  std::wstring text = L"stale";
  Result detection;
  const Result result = DecodeTextBytes(c.bytes, text, &detection);
  EXPECT_TRUE(result.IsSuccess()) << result.Codes().size();
  EXPECT_EQ(text, c.text);
  EXPECT_EQ(detection.Codes(), c.detected);

  std::wstring without_detection;
  EXPECT_TRUE(DecodeTextBytes(c.bytes, without_detection).IsSuccess());
  EXPECT_EQ(without_detection, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, DecodeTextBytesTest,
    ::testing::Values(
        DecodeCase{
            "Utf8WithMark", {0xEF, 0xBB, 0xBF, 0x61}, L"a", {StrTypeAnsi, StrTypeUTF8, StrTyepBom}},
        DecodeCase{"Utf8MarkOnly", {0xEF, 0xBB, 0xBF}, L"", {StrTypeAnsi, StrTypeUTF8, StrTyepBom}},
        DecodeCase{"Utf16LittleEndian",
                   {0xFF, 0xFE, 0x61, 0x00},
                   L"a",
                   {StrTypeAnsi, StrTypeUnknown, StrTypeUTF16, StrTypeLittleEndian, StrTyepBom}},
        DecodeCase{"Utf16SurrogatePair",
                   {0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE},
                   L"\U0001F600",
                   {StrTypeAnsi, StrTypeUnknown, StrTypeUTF16, StrTypeLittleEndian, StrTyepBom}},
        DecodeCase{"Utf16MarksInsideAreRemoved",
                   {0xFF, 0xFE, 0x61, 0x00, 0xFF, 0xFE, 0x62, 0x00},
                   L"ab",
                   {StrTypeAnsi, StrTypeUnknown, StrTypeUTF16, StrTypeLittleEndian, StrTyepBom}},
        DecodeCase{"PlainAnsi", {'a', 'b', 'c'}, L"abc", {StrTypeAnsi}},
        DecodeCase{"AnsiJapanese", {0xE3, 0x83, 0x89}, L"ド", {StrTypeAnsi}},
        DecodeCase{"Empty", {}, L"", {StrTypeAnsi}},
        // U+FFFE at the start of ANSI text reads as the other byte order:
        // every unit is swapped, 'a' (0x0061) becomes U+6100.
        DecodeCase{
            "AnsiTextStartingWithSwappedMark", {0xEF, 0xBF, 0xBE, 'a'}, L"\x6100", {StrTypeAnsi}},
        DecodeCase{"AnsiMarkInsideIsRemoved", {'a', 0xEF, 0xBB, 0xBF, 'b'}, L"ab", {StrTypeAnsi}}),
    [](const ::testing::TestParamInfo<DecodeCase>& case_info) {
      return std::string(case_info.param.what);
    });

// A mark with an odd length (or nothing after it) is not taken as UTF-16:
// the bytes go to the ANSI code page, where FF and FE are invalid.
TEST(DecodeTextBytesFailureTest, ShortOrOddFFFEFallsToAnsiAndFailsThere) {
  for (const std::vector<std::uint8_t>& bytes :
       {std::vector<std::uint8_t>{0xFF, 0xFE, 0x61}, std::vector<std::uint8_t>{0xFF, 0xFE}}) {
    std::wstring text;
    Result detection;
    const Result result = DecodeTextBytes(bytes, text, &detection);
    EXPECT_EQ(result.Codes(), (std::vector<ResultCode>{LineCode(457), 1113}));
    EXPECT_EQ(detection.Codes(), std::vector<ResultCode>{StrTypeAnsi});
    EXPECT_EQ(text, L"");
  }
}

TEST(DecodeTextBytesFailureTest, InvalidUtf8AfterMarkIsTheRawErrorAlone) {
  std::wstring text;
  const std::vector<std::uint8_t> bytes = {0xEF, 0xBB, 0xBF, 0x61, 0xC0};
  const Result result = DecodeTextBytes(bytes, text);
  EXPECT_EQ(result.Codes(), std::vector<ResultCode>{1113});
  EXPECT_EQ(text, L"");
}

TEST(DecodeTextBytesFailureTest, InvalidAnsiBytesAreChainedWithTheirSite) {
  std::wstring text;
  Result detection;
  const std::vector<std::uint8_t> bytes = {'a', 0xFE, 'b'};
  const Result result = DecodeTextBytes(bytes, text, &detection);
  EXPECT_EQ(result.Codes(), (std::vector<ResultCode>{LineCode(457), 1113}));
  EXPECT_EQ(detection.Codes(), std::vector<ResultCode>{StrTypeAnsi});
}

}  // namespace
}  // namespace kelvane::framework
