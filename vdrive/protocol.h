// The virtual drive protocol: one JSON request line in, one JSON response
// line out. The core operations are fixed for every server and client; the
// extensions (test control and the facilities of later command families)
// are documented in vdrive/README.md.
#pragma once

#include <span>
#include <string>

#include <nlohmann/json.hpp>

#include "vdrive/virtual_pc.h"

namespace kelvane::vdrive {

inline constexpr int kProtocolVersion = 1;

// Thrown by an operation for a request field of the wrong type or range;
// answered with error 87.
class BadRequest : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ProtocolOperation {
  const char* name;
  nlohmann::json (*run)(VirtualPc& pc, const nlohmann::json& request);
};

// The operations beyond the core, listed in operation_table.cpp.
std::span<const ProtocolOperation> ExtensionOperations();

class ProtocolHandler {
 public:
  explicit ProtocolHandler(VirtualPc& pc) : pc_(pc) {}

  // Never throws; every malformed line gets {"ok":false,"error":87}.
  std::string HandleLine(const std::string& line);
  nlohmann::json Handle(const nlohmann::json& request);

  VirtualPc& pc() { return pc_; }

 private:
  VirtualPc& pc_;
};

// Request field readers for operations: throw BadRequest when the field is
// missing (unless optional) or of the wrong type.
const nlohmann::json& Field(const nlohmann::json& request, const char* name);
std::string TextField(const nlohmann::json& request, const char* name);
std::uint64_t NumberField(const nlohmann::json& request, const char* name);
std::vector<std::uint8_t> HexField(const nlohmann::json& request, const char* name);
std::size_t DriveIndexField(VirtualPc& pc, const nlohmann::json& request);

inline nlohmann::json Ok() { return nlohmann::json{{"ok", true}}; }
inline nlohmann::json Error(std::uint32_t code) { return nlohmann::json{{"ok", false}, {"error", code}}; }

}  // namespace kelvane::vdrive
