// Faults injected by the test control: the n-th command that matches a CDB
// prefix (on a letter, or on any letter) fails in a chosen way.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kelvane::vdrive {

struct Fault {
  enum class Kind {
    kIoError,         // the request does not complete: stage "io", `error`
    kCheckCondition,  // the drive answers CHECK CONDITION with `sense`
    kShortTransfer,   // the drive returns only `length` bytes
    kVanish,          // the drive is unplugged: its letters disappear
    kBusy,            // the drive answers SCSI status BUSY
  };
  Kind kind = Kind::kIoError;
  std::vector<std::uint8_t> prefix;  // empty matches every command
  std::optional<char> letter;        // none matches every letter
  std::uint32_t nth = 1;             // 1: the next matching command
  std::uint32_t repeat = 1;          // how many matching commands fail from the n-th on
  std::uint32_t error = 1117;        // kIoError
  std::vector<std::uint8_t> sense;   // kCheckCondition
  std::uint32_t length = 0;          // kShortTransfer
  std::uint32_t seen = 0;            // matching commands counted so far
};

class FaultPlan {
 public:
  void Add(Fault fault) { faults_.push_back(std::move(fault)); }
  void Clear() { faults_.clear(); }

  // Counts the command against every fault it matches and returns the first
  // fault that fires for it.
  std::optional<Fault> Next(char letter, const std::vector<std::uint8_t>& cdb);

 private:
  std::vector<Fault> faults_;
};

}  // namespace kelvane::vdrive
