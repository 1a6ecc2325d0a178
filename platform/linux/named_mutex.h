#pragma once

#include "platform/named_mutex.h"

namespace kelvane::platform::linux_backend {

// Named mutexes as robust, recursive, process-shared pthread mutexes in small
// files under /dev/shm (or /tmp where /dev/shm is missing): the prefix
// "Global\" maps to one file for the machine, other names to one file per
// user. A mutex created open to all gets mode 0666, otherwise 0600.
//
// Every process holding a handle keeps a shared flock on the file; the last
// one to close takes it exclusively and removes the file, so a mutex lives
// while any process holds a handle to it. A file left behind by processes
// that all ended is found unheld and replaced.
class LinuxMutexes final : public MutexPort {
 public:
  std::uint32_t MakeOpenToAllSecurity(MutexSecurity& security) override;
  HandleAnswer Create(const std::string& name, const MutexSecurity* security,
                      bool initial_owner) override;
  HandleAnswer Open(const std::string& name, bool inherit_handle) override;
  std::uint32_t Release(NativeHandle mutex) override;
};

}  // namespace kelvane::platform::linux_backend
