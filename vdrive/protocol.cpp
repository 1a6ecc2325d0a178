#include "vdrive/protocol.h"

#include <cctype>

#include "platform/virtual/hex.h"

namespace kelvane::vdrive {

using nlohmann::json;

namespace {

constexpr std::uint32_t kNotSupported = 50;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint64_t kMaxTransfer = 16u << 20;

json Hello(VirtualPc&, const json& request) {
  if (request.contains("version") && !request["version"].is_number_integer()) {
    throw BadRequest("version");
  }
  return json{{"ok", true}, {"version", kProtocolVersion}};
}

json Drives(VirtualPc& pc, const json&) {
  json list = json::array();
  for (const auto& [letter, type] : pc.LogicalDrives()) {
    list.push_back({{"letter", std::string(1, letter)}, {"type", type}});
  }
  return json{{"ok", true}, {"drives", list}};
}

json Scsi(VirtualPc& pc, const json& request) {
  const std::string letter = TextField(request, "letter");
  if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0]))) {
    throw BadRequest("letter");
  }
  const std::vector<std::uint8_t> cdb = HexField(request, "cdb");
  if (cdb.size() < 6 || cdb.size() > 16) throw BadRequest("cdb");
  const std::string dir = TextField(request, "dir");
  const std::uint64_t length = NumberField(request, "length");
  if (request.contains("timeout")) NumberField(request, "timeout");
  std::vector<std::uint8_t> data;
  if (request.contains("data")) data = HexField(request, "data");
  if (length > kMaxTransfer) throw BadRequest("length");

  Direction direction;
  if (dir == "in") {
    direction = Direction::kIn;
    if (!data.empty()) throw BadRequest("data");
  } else if (dir == "out") {
    direction = Direction::kOut;
    if (data.size() != length) throw BadRequest("data");
  } else if (dir == "none") {
    direction = Direction::kNone;
    if (length != 0 || !data.empty()) throw BadRequest("length");
  } else {
    throw BadRequest("dir");
  }

  const ScsiAnswer answer = pc.Scsi(letter[0], cdb, direction, static_cast<std::uint32_t>(length), data);
  if (!answer.ok) return json{{"ok", false}, {"stage", answer.stage}, {"error", answer.error}};
  return json{{"ok", true},
              {"scsi_status", answer.scsi_status},
              {"data", platform::ToHex(answer.data)},
              {"sense", platform::ToHex(answer.sense)}};
}

constexpr ProtocolOperation kCoreOperations[] = {
    {"hello", &Hello},
    {"drives", &Drives},
    {"scsi", &Scsi},
};

}  // namespace

const json& Field(const json& request, const char* name) {
  const auto found = request.find(name);
  if (found == request.end()) throw BadRequest(name);
  return *found;
}

std::string TextField(const json& request, const char* name) {
  const json& value = Field(request, name);
  if (!value.is_string()) throw BadRequest(name);
  return value.get<std::string>();
}

std::uint64_t NumberField(const json& request, const char* name) {
  const json& value = Field(request, name);
  if (!value.is_number_integer() || value.get<std::int64_t>() < 0) throw BadRequest(name);
  return value.get<std::uint64_t>();
}

std::vector<std::uint8_t> HexField(const json& request, const char* name) {
  const auto bytes = platform::FromHex(TextField(request, name));
  if (!bytes) throw BadRequest(name);
  return *bytes;
}

std::size_t DriveIndexField(VirtualPc& pc, const json& request) {
  const std::uint64_t index = request.contains("drive") ? NumberField(request, "drive") : 0;
  if (index >= pc.drive_count()) throw BadRequest("drive");
  return static_cast<std::size_t>(index);
}

json ProtocolHandler::Handle(const json& request) {
  if (!request.is_object()) return Error(kInvalidParameter);
  const auto op = request.find("op");
  if (op == request.end() || !op->is_string()) return Error(kInvalidParameter);
  const std::string name = op->get<std::string>();
  try {
    for (const ProtocolOperation& operation : kCoreOperations) {
      if (name == operation.name) return operation.run(pc_, request);
    }
    for (const ProtocolOperation& operation : ExtensionOperations()) {
      if (name == operation.name) return operation.run(pc_, request);
    }
  } catch (const BadRequest&) {
    return Error(kInvalidParameter);
  } catch (const json::exception&) {
    return Error(kInvalidParameter);
  }
  return Error(kNotSupported);
}

std::string ProtocolHandler::HandleLine(const std::string& line) {
  const json request = json::parse(line, nullptr, false);
  if (request.is_discarded()) return Error(kInvalidParameter).dump();
  return Handle(request).dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace kelvane::vdrive
