// Result: the outcome of every framework and front-end operation, returned by
// value instead of thrown.
//
// A Result is an ordered stack of result codes, outermost location first and
// root cause last, plus a list of free-form wide texts (oldest first).
// Invariants: no code is 0, and the Result is a success exactly when it holds
// no code. Every operation that makes a Result a success empties its texts as
// well; AddText on a success adds a text without making it a failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/result_code.h"

namespace kelvane::framework {

class Result {
 public:
  // A success.
  Result() = default;
  // A one-code result; code 0 gives a success.
  explicit Result(ResultCode code);

  // Code 0 clears; any other code is appended at the end (as the new root).
  void Push(ResultCode code);
  // `other` a success: clears this. Otherwise appends other's codes in order
  // (not its texts).
  void Append(const Result& other);
  // Appends other's texts in order.
  void AppendTexts(const Result& other);
  void AddText(std::wstring text);
  void Clear();

  bool IsSuccess() const { return codes_.empty(); }
  // The root code; 0 for a success.
  ResultCode LastCode() const { return codes_.empty() ? Success : codes_.back(); }
  // Code 0: same as IsSuccess. Otherwise whether the code stands anywhere in
  // the stack.
  bool Contains(ResultCode code) const;

  const std::vector<ResultCode>& Codes() const { return codes_; }
  const std::vector<std::wstring>& Texts() const { return texts_; }

  // Diagnostic text: "0x0:Success" for a success; otherwise every code from
  // the root to the outermost as "0x<hex>:<meaning>," followed by every text
  // and ",". The meaning of a raw code is the system's message text for it,
  // of a site "Line(<n>)", of an index "i(<n>)", of any other framework code
  // its name from the code-name table.
  std::wstring ToText() const;
  // ToText converted to the ANSI code page; empty when the conversion fails.
  std::string ToNarrowText() const;

  friend bool operator==(const Result&, const Result&) = default;

 private:
  std::vector<ResultCode> codes_;
  std::vector<std::wstring> texts_;
};

// A location Result holding the location code of `site`.
inline Result Location(std::uint16_t site) {
  return Result(LineCode(site));
}

// A copy of `location` (codes and texts) with `code` pushed as the root; code
// 0 gives a success.
Result Raise(const Result& location, ResultCode code);

// Passes a callee's failure outward: a success stays a success (the location
// is dropped); otherwise location's codes followed by callee's codes, and
// location's texts followed by callee's texts.
Result Chain(const Result& callee, const Result& location);

// Puts the caller's own code and location in front of a callee's failure: a
// successful callee gives a success, code 0 gives the callee unchanged;
// otherwise location's codes, then `code`, then callee's codes, and
// location's texts followed by callee's texts.
Result RaiseWithCause(const Result& callee, ResultCode code, const Result& location);

}  // namespace kelvane::framework
