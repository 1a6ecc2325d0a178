#include "platform/virtual/virtual_drives.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/virtual/hex.h"
#include "platform/win_error.h"

namespace kelvane::platform {

using nlohmann::json;

namespace {

json Unreachable() { return json{{"ok", false}, {"error", kVdriveUnreachableError}, {"unreachable", true}}; }

std::uint32_t ErrorOf(const json& answer) {
  const auto it = answer.find("error");
  if (it != answer.end() && it->is_number_unsigned()) return it->get<std::uint32_t>();
  return win::kIoDevice;
}

const char* DirectionName(DataDirection direction) {
  switch (direction) {
    case DataDirection::kOut:
      return "out";
    case DataDirection::kIn:
      return "in";
    case DataDirection::kNone:
      break;
  }
  return "none";
}

}  // namespace

VirtualDrives::VirtualDrives(VdriveChannel& channel) : channel_(channel) {
  const char* trace = std::getenv("KELVANE_VDRIVE_TRACE");
  trace_ = trace != nullptr && std::strcmp(trace, "1") == 0;
}

json VirtualDrives::Call(const json& request) {
  const std::string line = request.dump();
  const auto response = channel_.Exchange(line);
  if (trace_) {
    std::fprintf(stderr, "vdrive> %s\nvdrive< %s\n", line.c_str(),
                 response ? response->c_str() : "(unreachable)");
  }
  if (!response) return Unreachable();
  json answer = json::parse(*response, nullptr, false);
  if (!answer.is_object() || !answer.contains("ok") || !answer["ok"].is_boolean()) {
    return Unreachable();
  }
  return answer;
}

std::vector<LogicalDrive> VirtualDrives::ListDrives() {
  const json answer = Call({{"op", "drives"}});
  std::vector<LogicalDrive> drives;
  if (!answer["ok"].get<bool>() || !answer.contains("drives") || !answer["drives"].is_array()) {
    return drives;
  }
  for (const json& entry : answer["drives"]) {
    if (!entry.is_object() || !entry.contains("letter") || !entry["letter"].is_string() ||
        !entry.contains("type") || !entry["type"].is_number_unsigned()) {
      continue;
    }
    const std::string letter = entry["letter"].get<std::string>();
    if (letter.size() != 1 || !std::isupper(static_cast<unsigned char>(letter[0]))) continue;
    if (!drives.empty() && drives.back().letter >= letter[0]) continue;  // keep ascending, unique
    drives.push_back({letter[0], static_cast<DriveType>(entry["type"].get<std::uint32_t>())});
  }
  return drives;
}

ScsiOutcome VirtualDrives::ScsiPassThrough(const ScsiRequest& request) {
  ScsiOutcome outcome;
  json call = {{"op", "scsi"},
               {"letter", std::string(1, request.letter)},
               {"cdb", ToHex(request.cdb)},
               {"dir", DirectionName(request.direction)},
               {"length", request.direction == DataDirection::kNone ? 0 : request.buffer.size()},
               {"timeout", request.timeout_seconds},
               {"data", request.direction == DataDirection::kOut ? ToHex(request.buffer) : ""}};
  const json answer = Call(call);
  if (!answer["ok"].get<bool>()) {
    // A server that cannot be reached has no drives: the open fails.
    if (answer.contains("unreachable")) {
      outcome.stage = ScsiOutcome::Stage::kOpenFailed;
      outcome.error = win::kFileNotFound;
      return outcome;
    }
    const auto stage = answer.find("stage");
    const bool open_failed = stage != answer.end() && stage->is_string() && *stage == "open";
    outcome.stage = open_failed ? ScsiOutcome::Stage::kOpenFailed : ScsiOutcome::Stage::kIoFailed;
    outcome.error = ErrorOf(answer);
    return outcome;
  }
  const auto status = answer.find("scsi_status");
  if (status == answer.end() || !status->is_number_unsigned() || status->get<std::uint32_t>() > 255) {
    outcome.stage = ScsiOutcome::Stage::kIoFailed;
    outcome.error = win::kIoDevice;
    return outcome;
  }
  outcome.scsi_status = static_cast<std::uint8_t>(status->get<std::uint32_t>());
  if (request.direction == DataDirection::kIn) {
    const auto data = answer.find("data");
    const auto bytes = data != answer.end() && data->is_string()
                           ? FromHex(data->get<std::string>())
                           : std::optional<std::vector<std::uint8_t>>();
    if (!bytes) {
      outcome.stage = ScsiOutcome::Stage::kIoFailed;
      outcome.error = win::kIoDevice;
      return outcome;
    }
    // A drive never moves more than was asked for.
    const std::size_t moved = std::min(bytes->size(), request.buffer.size());
    if (moved != 0) std::memcpy(request.buffer.data(), bytes->data(), moved);
    outcome.bytes_moved = static_cast<std::uint32_t>(moved);
  } else if (request.direction == DataDirection::kOut) {
    outcome.bytes_moved = static_cast<std::uint32_t>(request.buffer.size());
  }
  const auto sense = answer.find("sense");
  if (sense != answer.end() && sense->is_string()) {
    if (const auto bytes = FromHex(sense->get<std::string>())) {
      const std::size_t length = std::min(bytes->size(), outcome.sense.size());
      if (length != 0) std::memcpy(outcome.sense.data(), bytes->data(), length);
      outcome.sense_length = static_cast<std::uint8_t>(length);
    }
  }
  return outcome;
}

std::uint32_t VirtualDrives::ProbeOpen(char letter) {
  const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  for (const LogicalDrive& drive : ListDrives()) {
    if (drive.letter == wanted) return win::kSuccess;
  }
  return win::kFileNotFound;
}

}  // namespace kelvane::platform
