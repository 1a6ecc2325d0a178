// A line-oriented connection to a virtual drive server: one request line in,
// one response line out (JSON, without the line feed).
#pragma once

#include <optional>
#include <string>

namespace kelvane::platform {

class VdriveChannel {
 public:
  virtual ~VdriveChannel() = default;

  // Sends one request and blocks for its response. nullopt when the server
  // cannot be reached or the connection broke; the next call tries again.
  virtual std::optional<std::string> Exchange(const std::string& request) = 0;
};

}  // namespace kelvane::platform
