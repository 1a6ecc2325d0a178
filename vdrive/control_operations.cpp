// Test control: loading a profile, reset, the command log, injected faults
// and the state of a drive.
#include "vdrive/control_operations.h"

#include <cctype>

namespace kelvane::vdrive {

using nlohmann::json;

namespace {

json LoadProfile(VirtualPc& pc, const json& request) {
  const json& document = Field(request, "profile");
  try {
    pc.Load(ParseProfile(document));
  } catch (const ProfileError& error) {
    return json{{"ok", false}, {"error", 87}, {"detail", error.what()}};
  }
  return Ok();
}

json Reset(VirtualPc& pc, const json&) {
  pc.Reset();
  return Ok();
}

json ReadLog(VirtualPc& pc, const json& request) {
  bool with_data = false;
  if (request.contains("data")) {
    if (!request["data"].is_boolean()) throw BadRequest("data");
    with_data = request["data"].get<bool>();
  }
  json answer = {{"ok", true}, {"log", pc.log().ToJson(with_data)}};
  if (request.contains("clear")) {
    if (!request["clear"].is_boolean()) throw BadRequest("clear");
    if (request["clear"].get<bool>()) pc.log().Clear();
  }
  return answer;
}

json ClearLog(VirtualPc& pc, const json&) {
  pc.log().Clear();
  return Ok();
}

json InjectFault(VirtualPc& pc, const json& request) {
  Fault fault;
  const std::string kind = TextField(request, "kind");
  if (kind == "io_error") {
    fault.kind = Fault::Kind::kIoError;
    if (request.contains("error")) fault.error = static_cast<std::uint32_t>(NumberField(request, "error"));
  } else if (kind == "check_condition") {
    fault.kind = Fault::Kind::kCheckCondition;
    if (request.contains("sense")) fault.sense = HexField(request, "sense");
    if (fault.sense.size() > 24) throw BadRequest("sense");
  } else if (kind == "short_transfer") {
    fault.kind = Fault::Kind::kShortTransfer;
    fault.length = static_cast<std::uint32_t>(NumberField(request, "length"));
  } else if (kind == "vanish") {
    fault.kind = Fault::Kind::kVanish;
  } else if (kind == "busy") {
    fault.kind = Fault::Kind::kBusy;
  } else {
    throw BadRequest("kind");
  }
  if (request.contains("prefix")) fault.prefix = HexField(request, "prefix");
  if (request.contains("letter")) {
    const std::string letter = TextField(request, "letter");
    if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0]))) throw BadRequest("letter");
    fault.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
  }
  if (request.contains("nth")) fault.nth = static_cast<std::uint32_t>(NumberField(request, "nth"));
  if (request.contains("repeat")) fault.repeat = static_cast<std::uint32_t>(NumberField(request, "repeat"));
  if (fault.nth == 0) throw BadRequest("nth");
  pc.faults().Add(std::move(fault));
  return Ok();
}

json ClearFaults(VirtualPc& pc, const json&) {
  pc.faults().Clear();
  return Ok();
}

json DriveState(VirtualPc& pc, const json& request) {
  const std::size_t index = DriveIndexField(pc, request);
  return json{{"ok", true}, {"state", pc.DescribeDrive(index)}};
}

}  // namespace

std::span<const ProtocolOperation> ControlOperations() {
  static const ProtocolOperation operations[] = {
      {"load_profile", &LoadProfile}, {"reset", &Reset},
      {"log", &ReadLog},              {"clear_log", &ClearLog},
      {"inject_fault", &InjectFault}, {"clear_faults", &ClearFaults},
      {"drive_state", &DriveState},
  };
  return operations;
}

}  // namespace kelvane::vdrive
