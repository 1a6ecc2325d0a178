#pragma once

#include "platform/system_message.h"

namespace kelvane::platform::linux_backend {

// Message texts for the Windows error codes that the Linux backends produce
// (and the common ones beside them), in the system's own words.
class LinuxSystemMessages final : public SystemMessagePort {
 public:
  std::wstring MessageText(std::uint32_t code) override;
};

}  // namespace kelvane::platform::linux_backend
