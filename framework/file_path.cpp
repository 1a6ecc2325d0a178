#include "framework/file_path.h"

#include <vector>

#include "framework/environment_text.h"
#include "framework/path_split.h"
#include "framework/text_replace.h"
#include "platform/file_access.h"
#include "platform/runtime.h"
#include "platform/win_error.h"

namespace kelvane::framework {

namespace {

constexpr std::uint16_t kSiteNormalise = 601;
constexpr std::uint16_t kSiteOpenFile = 2546;
constexpr std::uint32_t kSharingRetryPauseMs = 250;
constexpr int kSharingRetries = 5;

bool StartsWith(const std::wstring& text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

wchar_t LowerAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::vector<std::wstring> SplitAt(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> pieces;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    pieces.push_back(
        text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) {
      return pieces;
    }
    start = end + 1;
  }
}

Result NormaliseModulePath(std::wstring& path) {
  if (path.size() > 4 && StartsWith(path, L"\\??\\")) {
    path.erase(0, 4);
  }
  constexpr std::wstring_view kSystemRoot = L"\\systemroot";
  if (path.size() >= 5 && path.front() == L'\\') {
    std::wstring head = path.substr(0, kSystemRoot.size());
    for (wchar_t& c : head) {
      c = LowerAscii(c);
    }
    if (head == kSystemRoot) {
      path.replace(0, kSystemRoot.size(), GetEnvironmentText(L"systemroot"));
    }
  }
  return Result();
}

}  // namespace

void FilePath::ClearParts() {
  folder_.clear();
  name_.clear();
  extension_.clear();
}

Result FilePath::Assign(const std::wstring& text) {
  ClearParts();
  if (text.empty()) {
    return Result(tq::InvalidPath);
  }
  if ((text.size() > 7 && StartsWith(text, L"http://")) ||
      (text.size() > 8 && StartsWith(text, L"https://"))) {
    return SplitAddress(text);
  }
  if (text.size() > 2 && StartsWith(text, L"\\\\")) {
    return SetFromFullPath(text);
  }
  if (text.size() > 4 && StartsWith(text, L"\\??\\")) {
    return SetFromFullPath(text.substr(4));
  }
  if (folder_.empty()) {
    SetToModuleFile();
  }
  if (text == L"default") {
    return SetToModuleFile();
  }
  const PathParts parts = SplitPath(text);
  if (!parts.drive.empty() || text.front() == L'/') {
    return SetFromFullPath(text);
  }
  if (!parts.directory.empty()) {
    const std::size_t first = parts.directory.find_first_not_of(L"\\/");
    folder_ += first == std::wstring::npos ? std::wstring() : parts.directory.substr(first);
    name_.clear();
    extension_.clear();
  }
  if (!parts.name.empty()) {
    name_ = parts.name;
  }
  extension_ = parts.extension;
  return Result();
}

Result FilePath::SplitAddress(const std::wstring& text) {
  name_.clear();
  extension_.clear();
  if (text.back() == L'/') {
    folder_ = text;
    return Result();
  }
  std::wstring collapsed = text;
  ReplaceAll(collapsed, std::wstring(L"//"), std::wstring(L"/"));
  const std::vector<std::wstring> segments = SplitAt(collapsed, L'/');
  if (segments.size() >= 3) {
    const std::wstring& file = segments.back();
    folder_ = text;
    ReplaceAll(folder_, file, std::wstring());
    const std::size_t dot = file.find_last_of(L'.');
    if (dot == std::wstring::npos || file.find(L'?') != std::wstring::npos) {
      name_ = file;
    } else {
      name_ = file.substr(0, dot);
      extension_ = file.substr(dot);
    }
  } else if (segments.size() == 2) {
    folder_ = text + L"/";
  } else {
    folder_ = text;
  }
  return Result();
}

bool FilePath::Exists() const {
  const std::wstring full = FullPath();
  if (full.empty()) {
    return false;
  }
  return platform::FileAccess().GetAttributes(full).value != platform::kInvalidFileAttributes;
}

Result FilePath::SetFromFullPath(const std::wstring& text) {
  ClearParts();
  if (text == L"default") {
    return SetToModuleFile();
  }
  if (text.empty()) {
    return Result(tq::InvalidPath);
  }
  PathParts parts = SplitPath(text);
  folder_ = parts.drive + parts.directory;
  name_ = std::move(parts.name);
  extension_ = std::move(parts.extension);
  return Result();
}

Result FilePath::SetToModuleFile() {
  std::wstring path;
  if (!GetModuleFilePath(nullptr, path).IsSuccess()) {
    path.clear();
  }
  std::wstring long_path;
  if (GetLongPath(path, long_path).IsSuccess()) {
    path = std::move(long_path);
  }
  return SetFromFullPath(path);
}

Result GetModuleFilePath(platform::ModuleHandle module, std::wstring& path) {
  platform::PathAnswer answer = platform::ModuleFiles().ModuleFileName(module);
  if (answer.error != 0 || answer.path.empty()) {
    return Result(answer.error != 0 ? answer.error : platform::win::kFileNotFound);
  }
  const Result normalised = Chain(NormaliseModulePath(answer.path), Location(kSiteNormalise));
  if (!normalised.IsSuccess()) {
    return normalised;
  }
  path = std::move(answer.path);
  return Result();
}

Result GetLongPath(const std::wstring& path, std::wstring& long_path) {
  platform::PathAnswer answer = platform::ModuleFiles().LongPathName(path);
  if (answer.error != 0) {
    return Result(answer.error);
  }
  long_path = std::move(answer.path);
  return Result();
}

Result OpenFileForReading(const std::wstring& path, KernelHandle& file) {
  if (platform::FileAccess().GetAttributes(path).value == platform::kInvalidFileAttributes) {
    return Result(tq::InvalidPath);
  }
  platform::HandleAnswer opened = platform::FileAccess().OpenForReading(path);
  for (int retry = 0; retry < kSharingRetries && opened.handle == platform::kInvalidHandleValue &&
                      opened.last_error == platform::win::kSharingViolation;
       ++retry) {
    platform::Runtime().Pause(kSharingRetryPauseMs);
    opened = platform::FileAccess().OpenForReading(path);
  }
  const Result adopted = file.Adopt(opened.handle, opened.last_error);
  if (!adopted.IsSuccess()) {
    return Chain(adopted, Location(kSiteOpenFile));
  }
  if (!file.CheckValid().IsSuccess()) {
    return Result(tq::FileNotFound);
  }
  return Result();
}

Result QueryFileSize(const std::wstring& path, std::uint64_t& size) {
  KernelHandle file(platform::kInvalidHandleValue);
  const Result opened = OpenFileForReading(path, file);
  if (!opened.IsSuccess()) {
    return opened;
  }
  const platform::SizeAnswer answer = platform::FileAccess().GetSize(file.Handle());
  if (answer.error != 0) {
    return Result(answer.error);
  }
  size = answer.size;
  return Result();
}

}  // namespace kelvane::framework
