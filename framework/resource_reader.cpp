#include "framework/resource_reader.h"

#include <algorithm>

#include "framework/file_path.h"
#include "framework/settings_cipher.h"
#include "framework/text_decode.h"
#include "framework/text_format.h"
#include "platform/file_access.h"
#include "platform/resources.h"
#include "platform/secure_wipe.h"
#include "platform/win_error.h"

namespace kelvane::framework {

namespace {

constexpr std::uint16_t kSiteOpenLoad = 73;
constexpr std::uint16_t kSiteOpenTypes = 74;
constexpr std::uint16_t kSiteEmptyName = 112;
constexpr std::uint16_t kSiteBadName = 115;
constexpr std::uint16_t kSiteReadSteps = 117;
constexpr std::uint16_t kSiteRawModule = 121;
constexpr std::uint16_t kSiteLoadModule = 339;
constexpr std::uint16_t kSiteFind = 343;
constexpr std::uint16_t kSiteLoad = 346;
constexpr std::uint16_t kSiteSize = 349;
constexpr std::uint16_t kSiteLock = 352;
constexpr std::uint16_t kSiteDecipheredModule = 522;
constexpr std::uint16_t kSiteDecipheredRaw = 524;
constexpr std::uint16_t kSiteKeySetUp = 536;
constexpr std::uint16_t kSiteDecipher = 537;
constexpr std::size_t kMaxNameLength = 63;

bool IsNameCharacter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') ||
         c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' ||
         c == L'.' || c == L'#';
}

// A loaded module, freed when the read ends.
class LoadedModule {
 public:
  explicit LoadedModule(const std::wstring& path)
      : answer_(platform::Resources().LoadModule(path)) {}
  ~LoadedModule() {
    if (answer_.handle != platform::kNullHandle) {
      platform::Resources().FreeModule(answer_.handle);
    }
  }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  platform::NativeHandle handle() const { return answer_.handle; }
  std::uint32_t error() const { return answer_.last_error; }

 private:
  platform::HandleAnswer answer_;
};

Result ReadSteps(const std::wstring& module_path, const std::wstring& type,
                 const std::wstring& name, std::uint16_t language,
                 std::vector<std::uint8_t>& bytes) {
  LoadedModule module(module_path);
  if (module.handle() == platform::kNullHandle) {
    return Raise(Location(kSiteLoadModule), tq::HandleNotEnabled);
  }
  platform::ResourcePort& resources = platform::Resources();
  const platform::HandleAnswer found =
      resources.FindResource(module.handle(), type, name, language);
  if (found.handle == platform::kNullHandle) {
    return Raise(Location(kSiteFind), found.last_error);
  }
  const platform::HandleAnswer loaded = resources.LoadResource(module.handle(), found.handle);
  if (loaded.handle == platform::kNullHandle) {
    return Raise(Location(kSiteLoad), loaded.last_error);
  }
  const platform::ValueAnswer size = resources.SizeOfResource(module.handle(), found.handle);
  if (size.value == 0) {
    const Result failed = Raise(Location(kSiteSize), size.error);
    if (!failed.IsSuccess()) {
      return failed;
    }
  }
  const platform::BytesAnswer locked = resources.LockResource(module.handle(), loaded.handle);
  if (locked.bytes.data() == nullptr && size.value != 0) {
    return Raise(Location(kSiteLock),
                 locked.error != 0 ? locked.error : platform::win::kInvalidHandle);
  }
  const std::size_t count = std::min<std::size_t>(size.value, locked.bytes.size());
  bytes.assign(locked.bytes.begin(), locked.bytes.begin() + static_cast<std::ptrdiff_t>(count));
  return Result();
}

}  // namespace

ResourceReader::ResourceReader(std::wstring resource_type,
                               std::span<const std::uint8_t, 16> key_bytes, bool use_key_file)
    : resource_type_(std::move(resource_type)), use_key_file_(use_key_file) {
  std::copy(key_bytes.begin(), key_bytes.end(), key_bytes_.begin());
}

ResourceReader::~ResourceReader() {
  platform::SecureWipeObject(key_bytes_);
}

Result ResourceReader::Open(const std::wstring& module_path) {
  std::wstring path = module_path;
  if (path.empty()) {
    GetModuleFilePath(nullptr, path);
    std::wstring long_path;
    if (GetLongPath(path, long_path).IsSuccess()) {
      path = std::move(long_path);
    }
  }
  const std::wstring full = FilePath(path).FullPath();
  if (full.empty()) {
    return Raise(Location(kSiteOpenLoad), tq::InvalidPath);
  }
  LoadedModule module(full);
  if (module.handle() == platform::kNullHandle) {
    return Raise(Location(kSiteOpenLoad),
                 module.error() != 0 ? module.error() : tq::HandleNotEnabled);
  }
  const std::uint32_t types = platform::Resources().EnumerateTypes(
      module.handle(), [](const std::wstring&) { return true; });
  if (types != 0) {
    return Raise(Location(kSiteOpenTypes), types);
  }
  module_path_ = full;
  return Result();
}

Result ResourceReader::CheckModule() const {
  if (module_path_.empty()) {
    return Result(tq::HandleNotEnabled);
  }
  if (platform::FileAccess().GetAttributes(module_path_).value ==
      platform::kInvalidFileAttributes) {
    return Result(tq::FileNotFound);
  }
  return Result();
}

Result ResourceReader::ReadRaw(int id, std::uint16_t language, std::vector<std::uint8_t>& bytes) {
  return ReadRaw(FormatWide(L"#%d", id), language, bytes);
}

Result ResourceReader::ReadRaw(const std::wstring& name, std::uint16_t language,
                               std::vector<std::uint8_t>& bytes) {
  const Result module = CheckModule();
  if (!module.IsSuccess()) {
    return Chain(module, Location(kSiteRawModule));
  }
  std::wstring upper = name;
  for (wchar_t& c : upper) {
    if (c >= L'a' && c <= L'z') {
      c = static_cast<wchar_t>(c - L'a' + L'A');
    }
  }
  if (upper.empty()) {
    return Raise(Location(kSiteEmptyName), tq::InvalidKey);
  }
  if (upper.size() > kMaxNameLength || !std::all_of(upper.begin(), upper.end(), IsNameCharacter)) {
    return Raise(Location(kSiteBadName), tq::InvalidKey);
  }
  return Chain(ReadSteps(module_path_, resource_type_, upper, language, bytes),
               Location(kSiteReadSteps));
}

Result ResourceReader::ReadDeciphered(int id, std::vector<std::uint8_t>& bytes) {
  const Result module = CheckModule();
  if (!module.IsSuccess()) {
    return Chain(module, Location(kSiteDecipheredModule));
  }
  const Result raw = ReadRaw(id, platform::kLanguageNeutral, bytes);
  if (!raw.IsSuccess()) {
    return Chain(raw, Location(kSiteDecipheredRaw));
  }
  SettingsCipherKey key{};
  const Result key_set_up =
      use_key_file_ ? Result(tq::NotSupported) : SetUpSettingsKey(key_bytes_, key);
  if (!key_set_up.IsSuccess()) {
    platform::SecureWipeObject(key);
    return RaiseWithCause(key_set_up, tq::DecodeError, Location(kSiteKeySetUp));
  }
  const Result deciphered = DecipherSettings(key, bytes);
  platform::SecureWipeObject(key);
  if (!deciphered.IsSuccess()) {
    bytes.clear();
    return RaiseWithCause(deciphered, tq::DecodeError, Location(kSiteDecipher));
  }
  return Result();
}

std::wstring ResourceReader::ReadText(int id) {
  std::vector<std::uint8_t> bytes;
  if (!ReadDeciphered(id, bytes).IsSuccess()) {
    return {};
  }
  std::wstring text;
  DecodeTextBytes(bytes, text);  // the text is taken whatever the outcome
  platform::SecureWipe(bytes.data(), bytes.size());
  return text;
}

}  // namespace kelvane::framework
