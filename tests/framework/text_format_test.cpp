#include "framework/text_format.h"

#include <gtest/gtest.h>

namespace kelvane::framework {
namespace {

TEST(FormatTest, ShortTextsFormatAsTheRuntimeDoes) {
  EXPECT_EQ(FormatNarrow("%s-%d-%02x", "ab", 42, 10), "ab-42-0a");
  EXPECT_EQ(FormatWide(L"%ls /c %ls", L"cmd", L"C:\\tolvak.exe"), L"cmd /c C:\\tolvak.exe");
  EXPECT_EQ(FormatWide(L"#%d", 4096), L"#4096");
}

TEST(FormatTest, EmptyExpansionGivesEmptyText) {
  EXPECT_EQ(FormatWide(L"%ls", L""), L"");
  EXPECT_EQ(FormatNarrow("%s", ""), "");
}

// The first buffer holds 255 characters; longer texts grow the buffer and
// come back whole, for both widths, at and around the boundary.
class FormatLengthTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FormatLengthTest, ReturnsTheWholeText) {
  const std::size_t length = GetParam();
  const std::string narrow(length, 'n');
  const std::wstring wide(length, L'w');
  EXPECT_EQ(FormatNarrow("%s", narrow.c_str()), narrow);
  EXPECT_EQ(FormatWide(L"%ls", wide.c_str()), wide);
  EXPECT_EQ(FormatNarrow("<%s>", narrow.c_str()), "<" + narrow + ">");
}

INSTANTIATE_TEST_SUITE_P(AroundTheFirstBuffer, FormatLengthTest,
                         ::testing::Values(1, 254, 255, 256, 257, 300, 511, 512, 513, 5000,
                                           100000));

TEST(FormatTest, ConversionTheRuntimeCannotMakeEndsWithoutGrowingForever) {
  // A wide character with no narrow form makes the runtime fail at once; the
  // output before it is kept and no endless doubling follows.
  const std::wstring bad = {L'a', static_cast<wchar_t>(0xD800), L'b'};
  const std::string text = FormatNarrow("x%lsy", bad.c_str());
  EXPECT_LE(text.size(), 3u);
}

}  // namespace
}  // namespace kelvane::framework
