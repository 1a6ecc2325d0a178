// A VdriveChannel that hands each request line straight to a protocol
// handler in the same process: the same protocol as the server, no socket.
#pragma once

#include "platform/virtual/vdrive_channel.h"
#include "vdrive/protocol.h"

namespace kelvane::vdrive {

class InProcessChannel final : public platform::VdriveChannel {
 public:
  explicit InProcessChannel(VirtualPc& pc) : handler_(pc) {}
  std::optional<std::string> Exchange(const std::string& request) override {
    return handler_.HandleLine(request);
  }

 private:
  ProtocolHandler handler_;
};

}  // namespace kelvane::vdrive
