#include "vdrive/fault_plan.h"

#include <algorithm>
#include <cctype>

namespace kelvane::vdrive {

std::optional<Fault> FaultPlan::Next(char letter, const std::vector<std::uint8_t>& cdb) {
  std::optional<Fault> fired;
  for (Fault& fault : faults_) {
    if (fault.letter && *fault.letter != std::toupper(static_cast<unsigned char>(letter))) continue;
    if (fault.prefix.size() > cdb.size() ||
        !std::equal(fault.prefix.begin(), fault.prefix.end(), cdb.begin())) {
      continue;
    }
    ++fault.seen;
    if (!fired && fault.seen >= fault.nth && fault.seen < fault.nth + fault.repeat) fired = fault;
  }
  return fired;
}

}  // namespace kelvane::vdrive
