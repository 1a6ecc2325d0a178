#include "platform/linux/named_mutex.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/linux/handle_table.h"
#include "platform/win_error.h"

namespace kelvane::platform::linux_backend {

namespace {

constexpr std::uint32_t kMagic = 0x4B4D5458;  // "KMTX"
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kInvalidName = 123;
constexpr std::uint32_t kFileNameTooLong = 206;
constexpr std::uint32_t kNotOwner = 288;
constexpr std::uint32_t kTooManyPosts = 298;
constexpr std::size_t kMaxFileName = 255;
constexpr int kOpenAttempts = 64;

struct SharedBlock {
  std::uint32_t magic;
  std::uint32_t version;
  pthread_mutex_t mutex;
};

std::uint32_t ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return win::kFileNotFound;
    case ENOTDIR:
      return win::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return win::kAccessDenied;
    case ENOMEM:
      return win::kNotEnoughMemory;
    case ENAMETOOLONG:
      return kFileNameTooLong;
    case EMFILE:
    case ENFILE:
      return 4;
    default:
      return 1;
  }
}

std::string ObjectFolder() {
  struct stat info {};
  if (::stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode)) {
    return "/dev/shm/";
  }
  return "/tmp/";
}

// The file that stands for a mutex name; empty for a name that cannot be
// mapped (the error is set).
std::string FileForName(const std::string& name, std::uint32_t& error) {
  constexpr std::string_view kGlobal = "Global\\";
  constexpr std::string_view kLocal = "Local\\";
  std::string scope;
  std::string_view rest = name;
  if (rest.starts_with(kGlobal)) {
    scope = "global";
    rest.remove_prefix(kGlobal.size());
  } else {
    if (rest.starts_with(kLocal)) {
      rest.remove_prefix(kLocal.size());
    }
    scope = "u";
    scope += std::to_string(::getuid());
  }
  if (rest.empty()) {
    error = kInvalidName;
    return {};
  }
  std::string file = "kelvane-mutex.";
  file += scope;
  file += '.';
  constexpr char kHex[] = "0123456789ABCDEF";
  for (char c : rest) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9') || byte == '_' || byte == '-' || byte == '.') {
      file.push_back(c);
    } else {
      file.push_back('%');
      file.push_back(kHex[byte >> 4]);
      file.push_back(kHex[byte & 0xF]);
    }
  }
  if (file.size() > kMaxFileName) {
    error = kFileNameTooLong;
    return {};
  }
  return ObjectFolder() + file;
}

bool SameFile(int fd, const std::string& path) {
  struct stat by_fd {};
  struct stat by_path {};
  return ::fstat(fd, &by_fd) == 0 && ::stat(path.c_str(), &by_path) == 0 &&
         by_fd.st_dev == by_path.st_dev && by_fd.st_ino == by_path.st_ino;
}

// One mapping of a mutex per process, shared by all its handles.
struct MappedMutex {
  std::string path;  // empty for an unnamed mutex
  int fd = -1;
  SharedBlock* block = nullptr;
  int handles = 0;                    // guarded by the registry
  std::atomic<long> acquisitions{0};  // waits won minus releases, all threads of the process

  ~MappedMutex() {
    if (block != nullptr) {
      ::munmap(block, sizeof(SharedBlock));
    }
    if (fd >= 0) {
      if (!path.empty() && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && SameFile(fd, path)) {
        ::unlink(path.c_str());  // no other process holds it
      }
      ::close(fd);
    }
  }
};

bool InitialiseBlock(SharedBlock* block) {
  pthread_mutexattr_t attributes;
  if (pthread_mutexattr_init(&attributes) != 0) {
    return false;
  }
  const bool ok = pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED) == 0 &&
                  pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
                  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE) == 0 &&
                  pthread_mutex_init(&block->mutex, &attributes) == 0;
  pthread_mutexattr_destroy(&attributes);
  block->magic = kMagic;
  block->version = kVersion;
  return ok;
}

SharedBlock* MapBlock(int fd) {
  void* memory = ::mmap(nullptr, sizeof(SharedBlock), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return memory == MAP_FAILED ? nullptr : static_cast<SharedBlock*>(memory);
}

struct Acquired {
  std::shared_ptr<MappedMutex> mapped;
  bool existed = false;
  std::uint32_t error = 0;
};

class Registry {
 public:
  static Registry& Instance() {
    static Registry registry;
    return registry;
  }

  Acquired Acquire(const std::string& path, bool create, bool open_to_all) {
    std::lock_guard guard(lock_);
    const auto known = mapped_.find(path);
    if (known != mapped_.end()) {
      ++known->second->handles;
      return {known->second, true, 0};
    }
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
      Acquired found = OpenExisting(path);
      if (found.mapped != nullptr || (found.error != 0 && found.error != win::kFileNotFound)) {
        return Register(path, std::move(found));
      }
      if (found.error == win::kFileNotFound) {
        if (!create) {
          return found;
        }
        Acquired made = CreateNew(path, open_to_all);
        if (made.mapped != nullptr || made.error != win::kAlreadyExists) {
          return Register(path, std::move(made));
        }
      }
      // Lost a race with another process's create or close: look again.
    }
    return {nullptr, false, 1};
  }

  void Drop(const std::shared_ptr<MappedMutex>& mapped) {
    std::lock_guard guard(lock_);
    if (--mapped->handles > 0) {
      return;
    }
    // A mapping still owned by a thread of this process stays, so the owner
    // can release it (or the system can mark it abandoned) later.
    if (mapped->acquisitions.load() > 0) {
      return;
    }
    mapped_.erase(mapped->path);
  }

 private:
  Acquired Register(const std::string& path, Acquired acquired) {
    if (acquired.mapped != nullptr) {
      acquired.mapped->handles = 1;
      mapped_[path] = acquired.mapped;
    }
    return acquired;
  }

  // {mapping, existed} for a live file; error 2 when absent or stale (a
  // stale file is removed), another error when it cannot be used.
  static Acquired OpenExisting(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
      return {nullptr, false, ErrorFromErrno(errno)};
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // Nobody holds it: left behind by processes that have all ended.
      if (SameFile(fd, path)) {
        ::unlink(path.c_str());
      }
      ::close(fd);
      return {nullptr, false, win::kFileNotFound};
    }
    if (::flock(fd, LOCK_SH) != 0 || !SameFile(fd, path)) {
      ::close(fd);
      return {nullptr, false, win::kFileNotFound};
    }
    struct stat info {};
    SharedBlock* block = nullptr;
    if (::fstat(fd, &info) != 0 || static_cast<std::size_t>(info.st_size) < sizeof(SharedBlock) ||
        (block = MapBlock(fd)) == nullptr || block->magic != kMagic || block->version != kVersion) {
      if (block != nullptr) {
        ::munmap(block, sizeof(SharedBlock));
      }
      ::close(fd);
      return {nullptr, false, win::kInvalidHandle};
    }
    auto mapped = std::make_shared<MappedMutex>();
    mapped->path = path;
    mapped->fd = fd;
    mapped->block = block;
    return {std::move(mapped), true, 0};
  }

  // Builds the object under a private name and links it into place, so no
  // process ever sees a half-made mutex. Error 183 when another process
  // linked its own first.
  static Acquired CreateNew(const std::string& path, bool open_to_all) {
    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        path + ".new." + std::to_string(::getpid()) + "." + std::to_string(counter.fetch_add(1));
    const int fd =
        ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
      return {nullptr, false, ErrorFromErrno(errno)};
    }
    auto mapped = std::make_shared<MappedMutex>();
    mapped->fd = fd;
    const auto fail = [&](int error) -> Acquired {
      ::unlink(temporary.c_str());
      return {nullptr, false, ErrorFromErrno(error)};
    };
    if (::fchmod(fd, open_to_all ? 0666 : 0600) != 0 ||
        ::ftruncate(fd, static_cast<off_t>(sizeof(SharedBlock))) != 0) {
      return fail(errno);
    }
    mapped->block = MapBlock(fd);
    if (mapped->block == nullptr) {
      return fail(errno);
    }
    if (!InitialiseBlock(mapped->block) || ::flock(fd, LOCK_SH) != 0) {
      return fail(ENOMEM);
    }
    if (::link(temporary.c_str(), path.c_str()) != 0) {
      const int error = errno;
      ::unlink(temporary.c_str());
      return {nullptr, false, error == EEXIST ? win::kAlreadyExists : ErrorFromErrno(error)};
    }
    ::unlink(temporary.c_str());
    mapped->path = path;
    return {std::move(mapped), false, 0};
  }

  std::mutex lock_;
  std::map<std::string, std::shared_ptr<MappedMutex>> mapped_;
};

// One handle to a mutex.
class MutexObject final : public KernelObject {
 public:
  explicit MutexObject(std::shared_ptr<MappedMutex> mapped) : mapped_(std::move(mapped)) {}
  ~MutexObject() override {
    if (!mapped_->path.empty()) {
      Registry::Instance().Drop(mapped_);
    }
  }

  WaitAnswer Wait(std::uint32_t timeout_ms) override {
    pthread_mutex_t* mutex = &mapped_->block->mutex;
    int status;
    if (timeout_ms == kInfinite) {
      status = pthread_mutex_lock(mutex);
    } else if (timeout_ms == 0) {
      status = pthread_mutex_trylock(mutex);
    } else {
      timespec deadline{};
      clock_gettime(CLOCK_MONOTONIC, &deadline);
      deadline.tv_sec += static_cast<time_t>(timeout_ms / 1000);
      deadline.tv_nsec += static_cast<long>(timeout_ms % 1000) * 1000000L;
      if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
      }
      status = pthread_mutex_clocklock(mutex, CLOCK_MONOTONIC, &deadline);
    }
    switch (status) {
      case 0:
        ++mapped_->acquisitions;
        return {kWaitObject0, 0};
      case EOWNERDEAD:
        pthread_mutex_consistent(mutex);
        ++mapped_->acquisitions;
        return {kWaitAbandoned, 0};
      case EBUSY:
      case ETIMEDOUT:
        return {kWaitTimeout, 0};
      case EAGAIN:
        return {kWaitFailed, kTooManyPosts};
      default:
        return {kWaitFailed, win::kInvalidHandle};
    }
  }

  std::uint32_t Release() {
    if (pthread_mutex_unlock(&mapped_->block->mutex) != 0) {
      return kNotOwner;
    }
    --mapped_->acquisitions;
    return 0;
  }

 private:
  std::shared_ptr<MappedMutex> mapped_;
};

HandleAnswer AddHandle(std::shared_ptr<MappedMutex> mapped, std::uint32_t last_error) {
  const NativeHandle handle =
      HandleTable::Instance().Add(std::make_shared<MutexObject>(std::move(mapped)));
  return {handle, last_error};
}

}  // namespace

std::uint32_t LinuxMutexes::MakeOpenToAllSecurity(MutexSecurity& security) {
  security.open_to_all = true;
  return 0;
}

HandleAnswer LinuxMutexes::Create(const std::string& name, const MutexSecurity* security,
                                  bool initial_owner) {
  if (name.empty()) {
    // An unnamed mutex: this process only.
    auto mapped = std::make_shared<MappedMutex>();
    void* memory = ::mmap(nullptr, sizeof(SharedBlock), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
      return {kNullHandle, win::kNotEnoughMemory};
    }
    mapped->block = static_cast<SharedBlock*>(memory);
    if (!InitialiseBlock(mapped->block)) {
      return {kNullHandle, win::kNotEnoughMemory};
    }
    mapped->handles = 1;
    const HandleAnswer answer = AddHandle(std::move(mapped), 0);
    if (initial_owner) {
      Handles().Wait(answer.handle, kInfinite);
    }
    return answer;
  }
  std::uint32_t error = 0;
  const std::string path = FileForName(name, error);
  if (path.empty()) {
    return {kNullHandle, error};
  }
  const bool open_to_all = security != nullptr && security->open_to_all;
  Acquired acquired = Registry::Instance().Acquire(path, true, open_to_all);
  if (acquired.mapped == nullptr) {
    return {kNullHandle, acquired.error};
  }
  const bool existed = acquired.existed;
  const HandleAnswer answer =
      AddHandle(std::move(acquired.mapped), existed ? win::kAlreadyExists : 0);
  if (initial_owner && !existed) {
    Handles().Wait(answer.handle, kInfinite);
  }
  return answer;
}

HandleAnswer LinuxMutexes::Open(const std::string& name, bool /*inherit_handle*/) {
  std::uint32_t error = 0;
  const std::string path = name.empty() ? std::string() : FileForName(name, error);
  if (path.empty()) {
    return {kNullHandle, name.empty() ? win::kFileNotFound : error};
  }
  Acquired acquired = Registry::Instance().Acquire(path, false, false);
  if (acquired.mapped == nullptr) {
    return {kNullHandle, acquired.error};
  }
  return AddHandle(std::move(acquired.mapped), 0);
}

std::uint32_t LinuxMutexes::Release(NativeHandle mutex) {
  const std::shared_ptr<MutexObject> object = HandleTable::Instance().FindAs<MutexObject>(mutex);
  if (object == nullptr) {
    return win::kInvalidHandle;
  }
  return object->Release();
}

}  // namespace kelvane::platform::linux_backend
