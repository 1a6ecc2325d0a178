// The FilePath parser on any text, with a fixed program file so runs are
// repeatable; the parts always make up the full path and stay within their
// limits (addresses keep their last segment whole).
#include <cstdlib>

#include "framework/file_path.h"
#include "fuzz/framework/fuzz_input.h"
#include "platform/module_file.h"

namespace {

class FixedModuleFiles final : public kelvane::platform::ModuleFilePort {
 public:
  kelvane::platform::PathAnswer ModuleFileName(kelvane::platform::ModuleHandle) override {
    return {L"C:\\Program Files\\Kelvane\\varnel.exe", 0};
  }
  kelvane::platform::PathAnswer LongPathName(const std::wstring& path) override {
    return {path, 0};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane::framework;
  static FixedModuleFiles modules;
  static kelvane::platform::ScopedPortOverride<kelvane::platform::ModuleFilePort> override_modules(
      kelvane::platform::ModuleFileSlot(), modules);
  const std::wstring text = kelvane::fuzz::WideFromBytes(data, size);
  FilePath path;
  path.Assign(text);
  if (path.FullPath() != path.Folder() + path.Name() + path.Extension()) {
    std::abort();
  }
  const bool address = text.starts_with(L"http://") || text.starts_with(L"https://");
  if (!address && (path.Name().size() > 255 || path.Extension().size() > 255)) {
    std::abort();
  }
  FilePath full;
  full.SetFromFullPath(text);
  return 0;
}
