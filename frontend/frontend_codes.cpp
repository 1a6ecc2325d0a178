#include "frontend/frontend_codes.h"

namespace kelvane::frontend {

framework::Result SdkResult(std::int32_t sdk_code) {
  const auto code = static_cast<framework::ResultCode>(sdk_code);
  if ((code & framework::FrameworkCodeBit) == 0 && code <= 0xFFFFu) {
    return framework::Result(code == 0 ? framework::Success : framework::CT47Base + code);
  }
  return framework::Result(code);
}

}  // namespace kelvane::frontend
