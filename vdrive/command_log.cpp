#include "vdrive/command_log.h"

#include "platform/crypto.h"
#include "platform/virtual/hex.h"

namespace kelvane::vdrive {

void CommandLog::Append(LogEntry entry) {
  entry.sequence = next_sequence_++;
  if (entries_.size() >= kMaxEntries) entries_.erase(entries_.begin(), entries_.begin() + kMaxEntries / 2);
  entries_.push_back(std::move(entry));
}

nlohmann::json CommandLog::ToJson(bool with_data) const {
  nlohmann::json list = nlohmann::json::array();
  for (const LogEntry& entry : entries_) {
    nlohmann::json item = {
        {"seq", entry.sequence},
        {"letter", std::string(1, entry.letter)},
        {"cdb", platform::ToHex(entry.cdb)},
        {"dir", entry.direction},
        {"length", entry.length},
        {"ok", entry.ok},
        {"handling_ns", entry.handling_ns},
    };
    if (!entry.data_out.empty()) {
      item["data_sha256"] = platform::ToHex(platform::crypto::Sha256(entry.data_out));
      if (with_data) item["data"] = platform::ToHex(entry.data_out);
    }
    if (entry.ok) {
      item["scsi_status"] = entry.scsi_status;
    } else {
      item["stage"] = entry.stage;
      item["error"] = entry.error;
    }
    list.push_back(std::move(item));
  }
  return list;
}

}  // namespace kelvane::vdrive
