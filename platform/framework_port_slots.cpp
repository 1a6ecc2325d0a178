// Where each concern of the framework's port is chosen: a test's override
// when one is installed, otherwise the Linux backend.
#include "platform/code_page.h"
#include "platform/environment.h"
#include "platform/file_access.h"
#include "platform/kernel_objects.h"
#include "platform/linux/code_page.h"
#include "platform/linux/environment.h"
#include "platform/linux/file_access.h"
#include "platform/linux/handle_table.h"
#include "platform/linux/module_file.h"
#include "platform/linux/named_mutex.h"
#include "platform/linux/process.h"
#include "platform/linux/resources.h"
#include "platform/linux/system_message.h"
#include "platform/module_file.h"
#include "platform/named_mutex.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "platform/system_message.h"

namespace kelvane::platform {

#define KELVANE_FRAMEWORK_SLOT(Port, SlotName, Accessor, Backend) \
  PortSlot<Port>& SlotName() {                                    \
    static PortSlot<Port> slot;                                   \
    return slot;                                                  \
  }                                                               \
  Port& Accessor() {                                              \
    static Backend native;                                        \
    return SlotName().Resolve(native);       \
  }

KELVANE_FRAMEWORK_SLOT(HandlePort, HandleSlot, Handles, linux_backend::LinuxHandles)
KELVANE_FRAMEWORK_SLOT(EnvironmentPort, EnvironmentSlot, Environment,
                       linux_backend::LinuxEnvironment)
KELVANE_FRAMEWORK_SLOT(CodePagePort, CodePageSlot, CodePages, linux_backend::LinuxCodePages)
KELVANE_FRAMEWORK_SLOT(SystemMessagePort, SystemMessageSlot, SystemMessages,
                       linux_backend::LinuxSystemMessages)
KELVANE_FRAMEWORK_SLOT(MutexPort, MutexSlot, Mutexes, linux_backend::LinuxMutexes)
KELVANE_FRAMEWORK_SLOT(ProcessPort, ProcessSlot, Processes, linux_backend::LinuxProcesses)
KELVANE_FRAMEWORK_SLOT(ModuleFilePort, ModuleFileSlot, ModuleFiles, linux_backend::LinuxModuleFiles)
KELVANE_FRAMEWORK_SLOT(FileAccessPort, FileAccessSlot, FileAccess, linux_backend::LinuxFileAccess)
KELVANE_FRAMEWORK_SLOT(ResourcePort, ResourceSlot, Resources, linux_backend::LinuxResources)

#undef KELVANE_FRAMEWORK_SLOT

}  // namespace kelvane::platform
