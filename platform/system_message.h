// The system's message text for a raw error code (FormatMessageW from the
// system table).
#pragma once

#include <cstdint>
#include <string>

#include "platform/port_slot.h"

namespace kelvane::platform {

class SystemMessagePort {
 public:
  virtual ~SystemMessagePort() = default;

  // The message text for Windows error code `code`, ending with CR LF as
  // system texts do; empty when the system has no text for the code. Never
  // blocks, never fails otherwise.
  virtual std::wstring MessageText(std::uint32_t code) = 0;
};

PortSlot<SystemMessagePort>& SystemMessageSlot();
SystemMessagePort& SystemMessages();

}  // namespace kelvane::platform
