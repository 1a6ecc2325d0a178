#include "framework/result.h"

#include <gtest/gtest.h>

#include "platform/system_message.h"
#include "tests/framework/fake_system_messages.h"

namespace kelvane::framework {
namespace {

using testing::FakeSystemMessages;

Result WithText(Result result, const wchar_t* text) {
  result.AddText(text);
  return result;
}

Result Codes(std::initializer_list<ResultCode> codes) {
  Result result;
  for (ResultCode code : codes) {
    result.Push(code);
  }
  return result;
}

TEST(ResultTest, DefaultAndZeroCodeAreSuccess) {
  EXPECT_TRUE(Result().IsSuccess());
  EXPECT_TRUE(Result(0).IsSuccess());
  EXPECT_EQ(Result().LastCode(), 0u);
  const Result one(5);
  EXPECT_FALSE(one.IsSuccess());
  EXPECT_EQ(one.LastCode(), 5u);
  EXPECT_EQ(one.Codes(), std::vector<ResultCode>{5});
}

TEST(ResultTest, PushZeroEmptiesCodesAndTexts) {
  Result result = WithText(Codes({LineCode(3), 7}), L"note");
  result.Push(0);
  EXPECT_TRUE(result.IsSuccess());
  EXPECT_TRUE(result.Texts().empty());

  result.Push(9);
  EXPECT_EQ(result.Codes(), std::vector<ResultCode>{9});
}

TEST(ResultTest, AppendOfSuccessEmptiesTarget) {
  Result target = WithText(Codes({1, 2}), L"kept?");
  target.Append(Result());
  EXPECT_TRUE(target.IsSuccess());
  EXPECT_TRUE(target.Texts().empty());

  Result other = WithText(Codes({3, 4}), L"other");
  target = Codes({1});
  target.Append(other);
  EXPECT_EQ(target.Codes(), (std::vector<ResultCode>{1, 3, 4}));
  EXPECT_TRUE(target.Texts().empty()) << "Append takes codes only";
  target.AppendTexts(other);
  EXPECT_EQ(target.Texts(), std::vector<std::wstring>{L"other"});
}

TEST(ResultTest, AddTextOnSuccessStaysSuccess) {
  Result result;
  result.AddText(L"x");
  EXPECT_TRUE(result.IsSuccess());
  EXPECT_EQ(result.Texts().size(), 1u);
}

TEST(ResultTest, ContainsFindsAnyPositionAndZeroOnlyForSuccess) {
  const Result result = Codes({LineCode(1), 0x617A00CE, 5});
  EXPECT_TRUE(result.Contains(LineCode(1)));
  EXPECT_TRUE(result.Contains(0x617A00CE));
  EXPECT_TRUE(result.Contains(5));
  EXPECT_FALSE(result.Contains(6));
  EXPECT_FALSE(result.Contains(0));
  EXPECT_TRUE(Result().Contains(0));
}

TEST(ResultTest, RaiseCopiesLocationAndPushesCode) {
  const Result location = WithText(Location(646), L"where");
  const Result raised = Raise(location, 183);
  EXPECT_EQ(raised.Codes(), (std::vector<ResultCode>{LineCode(646), 183}));
  EXPECT_EQ(raised.Texts(), std::vector<std::wstring>{L"where"});

  const Result none = Raise(location, 0);
  EXPECT_TRUE(none.IsSuccess());
  EXPECT_TRUE(none.Texts().empty());
}

TEST(ResultTest, ChainPutsLocationInFrontOrDropsItForSuccess) {
  const Result callee = WithText(Codes({LineCode(16), 5}), L"callee");
  const Result location = WithText(Location(32), L"caller");
  const Result chained = Chain(callee, location);
  EXPECT_EQ(chained.Codes(), (std::vector<ResultCode>{LineCode(32), LineCode(16), 5}));
  EXPECT_EQ(chained.Texts(), (std::vector<std::wstring>{L"caller", L"callee"}));

  const Result success = Chain(Result(), location);
  EXPECT_TRUE(success.IsSuccess());
  EXPECT_TRUE(success.Texts().empty());
}

TEST(ResultTest, RaiseWithCauseOrdersLocationCodeThenCallee) {
  const Result callee = WithText(Codes({0x20000010, 5}), L"b");
  const Result location = WithText(Result(0x20000020), L"a");
  const Result raised = RaiseWithCause(callee, tq::MutexTimeout, location);
  EXPECT_EQ(raised.Codes(), (std::vector<ResultCode>{0x20000020, 0x617A00CE, 0x20000010, 5}));
  EXPECT_EQ(raised.Texts(), (std::vector<std::wstring>{L"a", L"b"}));

  EXPECT_TRUE(RaiseWithCause(Result(), tq::MutexTimeout, location).IsSuccess());
  EXPECT_EQ(RaiseWithCause(callee, 0, location), callee);
}

class ResultTextTest : public ::testing::Test {
 protected:
  FakeSystemMessages messages_{{2, 3, 5}};
  platform::ScopedPortOverride<platform::SystemMessagePort> override_{platform::SystemMessageSlot(),
                                                                      messages_};
};

TEST_F(ResultTextTest, SuccessPrintsSuccessEvenWithTexts) {
  EXPECT_EQ(Result().ToText(), L"0x0:Success");
  EXPECT_EQ(WithText(Result(), L"copied").ToText(), L"0x0:Success");
}

struct TextCase {
  const char* what;
  std::vector<ResultCode> codes;
  std::vector<std::wstring> texts;
  std::wstring expected;
};

class ResultTextCaseTest : public ResultTextTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ResultTextCaseTest, PrintsRootFirst) {
  Result result;
  for (ResultCode code : GetParam().codes) {
    result.Push(code);
  }
  for (const std::wstring& text : GetParam().texts) {
    result.AddText(text);
  }
  EXPECT_EQ(result.ToText(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ResultTextCaseTest,
    ::testing::Values(
        TextCase{"site then named code",
                 {0x2000003C, 0x33F50003},
                 {},
                 L"0x33f50003:NotFoundTolvakExe,0x2000003c:Line(60),"},
        TextCase{
            "raise with cause",
            {0x20000020, 0x617A00CE, 0x20000010, 5},
            {},
            L"0x5:text 5\r\n,0x20000010:Line(16),0x617a00ce:MutexTimeout,0x20000020:Line(32),"},
        TextCase{"framework code missing from the table",
                 {0x7FCC0003},
                 {},
                 L"0x7fcc0003:InvalidEnumValue,"},
        TextCase{"raw code with system text", {2}, {}, L"0x2:text 2\r\n,"},
        TextCase{"raw code without system text", {1234}, {}, L"0x4d2:,"},
        TextCase{
            "alias wins over later row", {0x63610005}, {}, L"0x63610005:CM_CR_INVALID_DEVINST,"},
        TextCase{"index code", {IndexCode(7)}, {}, L"0x20010007:i(7),"},
        TextCase{"site 0 and the last site",
                 {LineBase, LineCode(0xFFFF)},
                 {},
                 L"0x2000ffff:Line(65535),0x20000000:Line(0),"},
        TextCase{"texts after codes", {0x617A0081}, {L"abc"}, L"0x617a0081:InvalidPath,abc,"},
        TextCase{"several texts in order", {3}, {L"one", L"two"}, L"0x3:text 3\r\n,one,two,"}),
    [](const ::testing::TestParamInfo<TextCase>& case_info) {
      std::string name = case_info.param.what;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST_F(ResultTextTest, NarrowTextIsTheSameTextInTheAnsiCodePage) {
  Result result(tq::InvalidPath);
  result.AddText(L"ファイル");
  EXPECT_EQ(result.ToNarrowText(), "0x617a0081:InvalidPath,ファイル,");
}

TEST(ResultSystemTextTest, RawCodesUseTheSystemsTextEndingWithCrLf) {
  const std::wstring text = Result(2).ToText();
  ASSERT_GT(text.size(), 6u);
  EXPECT_EQ(text.substr(0, 4), L"0x2:");
  EXPECT_EQ(text.substr(text.size() - 3), L"\r\n,");
}

}  // namespace
}  // namespace kelvane::framework
