// System message texts that tests can predict: "text <code>" and CR LF for
// every code listed, nothing for others.
#pragma once

#include <set>
#include <string>

#include "platform/system_message.h"

namespace kelvane::framework::testing {

class FakeSystemMessages final : public platform::SystemMessagePort {
 public:
  explicit FakeSystemMessages(std::set<std::uint32_t> known) : known_(std::move(known)) {}
  std::wstring MessageText(std::uint32_t code) override {
    return known_.contains(code) ? L"text " + std::to_wstring(code) + L"\r\n" : std::wstring();
  }

 private:
  std::set<std::uint32_t> known_;
};

}  // namespace kelvane::framework::testing
