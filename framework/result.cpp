#include "framework/result.h"

#include <algorithm>
#include <utility>

#include "framework/code_names.h"
#include "framework/text_conversion.h"
#include "platform/system_message.h"

namespace kelvane::framework {

namespace {

// System message texts are read into a 1024-character buffer.
constexpr std::size_t kMessageCapacity = 1023;

void AppendHex(std::wstring& out, ResultCode code) {
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  wchar_t digits[8];
  int count = 0;
  do {
    digits[count++] = kDigits[code & 0xF];
    code >>= 4;
  } while (code != 0);
  out += L"0x";
  while (count > 0) {
    out += digits[--count];
  }
}

void AppendMeaning(std::wstring& out, ResultCode code) {
  if ((code & FrameworkCodeBit) == 0) {
    std::wstring message = platform::SystemMessages().MessageText(code);
    if (message.size() > kMessageCapacity) {
      message.resize(kMessageCapacity);
    }
    out += message;
  } else if (code <= LineBase + 0xFFFF) {
    out += L"Line(" + std::to_wstring(code - LineBase) + L")";
  } else if (code <= IndexBase + 0xFFFF) {
    out += L"i(" + std::to_wstring(code - IndexBase) + L")";
  } else {
    out += CodeName(code);
  }
}

}  // namespace

Result::Result(ResultCode code) {
  Push(code);
}

void Result::Push(ResultCode code) {
  if (code == Success) {
    Clear();
    return;
  }
  codes_.push_back(code);
}

void Result::Append(const Result& other) {
  if (other.IsSuccess()) {
    Clear();
    return;
  }
  codes_.insert(codes_.end(), other.codes_.begin(), other.codes_.end());
}

void Result::AppendTexts(const Result& other) {
  texts_.insert(texts_.end(), other.texts_.begin(), other.texts_.end());
}

void Result::AddText(std::wstring text) {
  texts_.push_back(std::move(text));
}

void Result::Clear() {
  codes_.clear();
  texts_.clear();
}

bool Result::Contains(ResultCode code) const {
  if (code == Success) {
    return IsSuccess();
  }
  return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}

std::wstring Result::ToText() const {
  if (codes_.empty()) {
    return L"0x0:Success";
  }
  std::wstring out;
  for (auto code = codes_.rbegin(); code != codes_.rend(); ++code) {
    AppendHex(out, *code);
    out += L':';
    AppendMeaning(out, *code);
    out += L',';
  }
  for (const std::wstring& text : texts_) {
    out += text;
    out += L',';
  }
  return out;
}

std::string Result::ToNarrowText() const {
  return WideToNarrow(ToText());
}

Result Raise(const Result& location, ResultCode code) {
  Result raised = location;
  raised.Push(code);
  return raised;
}

Result Chain(const Result& callee, const Result& location) {
  if (callee.IsSuccess()) {
    return Result();
  }
  Result chained = location;
  chained.Append(callee);
  chained.AppendTexts(callee);
  return chained;
}

Result RaiseWithCause(const Result& callee, ResultCode code, const Result& location) {
  if (callee.IsSuccess()) {
    return Result();
  }
  if (code == Success) {
    return callee;
  }
  Result raised = location;
  raised.Push(code);
  raised.Append(callee);
  raised.AppendTexts(callee);
  return raised;
}

}  // namespace kelvane::framework
