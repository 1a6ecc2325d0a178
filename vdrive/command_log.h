// Every request the drives received, in order, for tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kelvane::vdrive {

struct LogEntry {
  std::uint64_t sequence = 0;
  char letter = 0;
  std::vector<std::uint8_t> cdb;
  std::string direction;  // "in", "out", "none"
  std::uint32_t length = 0;
  std::vector<std::uint8_t> data_out;
  // Outcome as the protocol answered: ok with a SCSI status, or a failed
  // stage with its Windows error.
  bool ok = true;
  std::uint8_t scsi_status = 0;
  std::string stage;
  std::uint32_t error = 0;
  std::uint64_t handling_ns = 0;  // the server's own time for the command
};

// Keeps the most recent kMaxEntries requests; older ones are dropped so that
// a long-running server does not grow without end.
class CommandLog {
 public:
  static constexpr std::size_t kMaxEntries = 20000;

  void Append(LogEntry entry);
  void Clear() { entries_.clear(); }
  const std::vector<LogEntry>& entries() const { return entries_; }

  // The entries as JSON. With `with_data` the data-out bytes are included as
  // hex; otherwise only their SHA-256.
  nlohmann::json ToJson(bool with_data) const;

 private:
  std::vector<LogEntry> entries_;
  std::uint64_t next_sequence_ = 1;
};

}  // namespace kelvane::vdrive
