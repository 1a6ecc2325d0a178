// Comma-separated lines and strtol-style numbers, as the settings and the
// device record use them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frontend/csv_line.h"
#include "frontend/number_text.h"

namespace kelvane::frontend {
namespace {

using Fields = std::vector<std::wstring>;

struct CsvCase {
  std::wstring text;
  std::optional<Fields> fields;
};

void PrintTo(const CsvCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(c.text);
}

class CsvLineTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvLineTest, SplitsOneLine) {
  EXPECT_EQ(SplitCsvLine(GetParam().text), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CsvLineTest,
    ::testing::Values(CsvCase{L"", Fields{L""}}, CsvCase{L"a", Fields{L"a"}},
                      CsvCase{L"a,b", Fields{L"a", L"b"}},
                      CsvCase{L"a,,b,", Fields{L"a", L"", L"b", L""}},
                      CsvCase{L" a , b ", Fields{L" a ", L" b "}},
                      CsvCase{L"\"a,b\",c", Fields{L"a,b", L"c"}},
                      CsvCase{L"\"a\"\"b\"", Fields{L"a\"b"}}, CsvCase{L"\"\"", Fields{L""}},
                      CsvCase{L"a,b\r\nc,d", Fields{L"a", L"b"}}, CsvCase{L"a\nb", Fields{L"a"}},
                      CsvCase{L"\"a\nb\"", std::nullopt}, CsvCase{L"\"a", std::nullopt},
                      CsvCase{L"\"a\"b", std::nullopt}, CsvCase{L"a\"b", std::nullopt},
                      CsvCase{L" \"a\"", std::nullopt}));

struct NumberCase {
  std::string text;
  int base;
  std::int32_t value;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
  *os << "\"" << c.text << "\" base " << c.base;
}

class ReadLong32Test : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadLong32Test, ReadsAsStrtolWithA32BitLong) {
  EXPECT_EQ(ReadLong32(GetParam().text, GetParam().base), GetParam().value);
  const std::wstring wide(GetParam().text.begin(), GetParam().text.end());
  EXPECT_EQ(ReadLong32(wide, GetParam().base), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadLong32Test,
    ::testing::Values(NumberCase{"0693", 16, 0x693}, NumberCase{"056e", 16, 0x56E},
                      NumberCase{"0x0693", 16, 0x693}, NumberCase{"  -0X10", 16, -16},
                      NumberCase{"12G", 16, 0x12}, NumberCase{"", 16, 0}, NumberCase{"G", 16, 0},
                      NumberCase{"0x", 16, 0}, NumberCase{"7FFFFFFF", 16, 0x7FFFFFFF},
                      NumberCase{"80000000", 16, 0}, NumberCase{"-80000000", 16, INT32_MIN},
                      NumberCase{"FFFFFFFFFFFFFFFFFF", 16, 0}, NumberCase{"0x10", 0, 16},
                      NumberCase{"010", 0, 8}, NumberCase{"10", 0, 10}, NumberCase{"+5abc", 0, 5},
                      NumberCase{"09", 0, 0}));

}  // namespace
}  // namespace kelvane::frontend
