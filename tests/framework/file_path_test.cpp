#include "framework/file_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>

#include "platform/file_access.h"
#include "platform/module_file.h"
#include "tests/framework/fake_kernel.h"
#include "tests/framework/test_files.h"
#include "tests/support/fake_runtime.h"

namespace kelvane::framework {
namespace {

class FakeModuleFiles final : public platform::ModuleFilePort {
 public:
  platform::PathAnswer module{L"C:\\Tools\\varnel.exe", 0};
  platform::PathAnswer long_path{L"", 0};  // empty path: echo the input
  platform::PathAnswer ModuleFileName(platform::ModuleHandle) override { return module; }
  platform::PathAnswer LongPathName(const std::wstring& path) override {
    if (long_path.error != 0) return {{}, long_path.error};
    return {long_path.path.empty() ? path : long_path.path, 0};
  }
};

class FilePathParseTest : public ::testing::Test {
 protected:
  FakeModuleFiles modules_;
  platform::ScopedPortOverride<platform::ModuleFilePort> override_{platform::ModuleFileSlot(),
                                                                   modules_};
};

struct ParseCase {
  const char* what;
  std::wstring text;
  std::wstring folder, name, extension;
};

class FilePathCaseTest : public FilePathParseTest,
                         public ::testing::WithParamInterface<ParseCase> {};

TEST_P(FilePathCaseTest, SplitsIntoParts) {
  FilePath path;
  EXPECT_TRUE(path.Assign(GetParam().text).IsSuccess());
  EXPECT_EQ(path.Folder(), GetParam().folder);
  EXPECT_EQ(path.Name(), GetParam().name);
  EXPECT_EQ(path.Extension(), GetParam().extension);
  EXPECT_EQ(path.FullPath(), GetParam().folder + GetParam().name + GetParam().extension);
  EXPECT_EQ(FilePath(GetParam().text).FullPath(), path.FullPath());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FilePathCaseTest,
    ::testing::Values(
        ParseCase{"BareName", L"tolvak.exe", L"C:\\Tools\\", L"tolvak", L".exe"},
        ParseCase{"Relative", L"sub\\x.dat", L"C:\\Tools\\sub\\", L"x", L".dat"},
        ParseCase{"RootedWithoutDrive", L"\\sub\\x.dat", L"C:\\Tools\\sub\\", L"x", L".dat"},
        ParseCase{"ForwardSlashes", L"sub/deeper/x.dat", L"C:\\Tools\\sub/deeper/", L"x", L".dat"},
        ParseCase{"FolderOnly", L"sub\\", L"C:\\Tools\\sub\\", L"", L""},
        ParseCase{"OnlyAnExtension", L".log", L"C:\\Tools\\", L"varnel", L".log"},
        ParseCase{"NoExtension", L"tolvak", L"C:\\Tools\\", L"tolvak", L""},
        ParseCase{"Default", L"default", L"C:\\Tools\\", L"varnel", L".exe"},
        ParseCase{"DriveMakesFullPath", L"C:\\a\\b", L"C:\\a\\", L"b", L""},
        ParseCase{"DriveRelative", L"D:x.txt", L"D:", L"x", L".txt"},
        ParseCase{"NtPrefix", L"\\??\\C:\\a\\b.txt", L"C:\\a\\", L"b", L".txt"},
        ParseCase{"Unc", L"\\\\server\\share\\f.txt", L"\\\\server\\share\\", L"f", L".txt"},
        ParseCase{"LinuxFullPath", L"/opt/kelvane/tolvak.exe", L"/opt/kelvane/", L"tolvak",
                  L".exe"},
        ParseCase{"DotInFolderOnly", L"a.b\\c", L"C:\\Tools\\a.b\\", L"c", L""},
        ParseCase{"Address", L"http://server/dir/file.txt", L"http://server/dir/", L"file",
                  L".txt"},
        ParseCase{"SecureAddress", L"https://server/a/b/c.tar.gz", L"https://server/a/b/", L"c.tar",
                  L".gz"},
        ParseCase{"AddressQueryIsWholeName", L"http://server/dir/page?x=1.5", L"http://server/dir/",
                  L"page?x=1.5", L""},
        ParseCase{"AddressWithoutDot", L"http://server/dir/page", L"http://server/dir/", L"page",
                  L""},
        ParseCase{"BareServer", L"http://server", L"http://server/", L"", L""},
        ParseCase{"AddressEndingWithSlash", L"https://server/dir/", L"https://server/dir/", L"",
                  L""},
        ParseCase{"SchemeAloneIsAPath", L"http://", L"C:\\Tools\\http://", L"", L""},
        ParseCase{"UpperCaseSchemeIsAPath", L"HTTP://server/a.txt", L"C:\\Tools\\HTTP://server/",
                  L"a", L".txt"}),
    [](const ::testing::TestParamInfo<ParseCase>& case_info) {
      return std::string(case_info.param.what);
    });

TEST_F(FilePathParseTest, EmptyTextFailsWithEmptyParts) {
  FilePath path(L"C:\\old.txt");
  EXPECT_EQ(path.Assign(L"").Codes(), std::vector<ResultCode>{tq::InvalidPath});
  EXPECT_EQ(path.FullPath(), L"");
  EXPECT_FALSE(path.Exists());
  EXPECT_EQ(path.SetFromFullPath(L"").Codes(), std::vector<ResultCode>{tq::InvalidPath});
}

TEST_F(FilePathParseTest, ComponentsAreCutTo255Characters) {
  const std::wstring long_name(300, L'n');
  const std::wstring long_folder(300, L'd');
  const FilePath path(L"C:\\" + long_folder + L"\\" + long_name + L"." + std::wstring(300, L'e'));
  EXPECT_EQ(path.Folder().size(), 2u + 255u);
  EXPECT_EQ(path.Name().size(), 255u);
  EXPECT_EQ(path.Extension().size(), 255u);
}

TEST_F(FilePathParseTest, ModuleFailureLeavesProgramPartsEmpty) {
  modules_.module = {{}, 5};
  FilePath path;
  EXPECT_EQ(path.SetToModuleFile().Codes(), std::vector<ResultCode>{tq::InvalidPath});
  EXPECT_EQ(path.Assign(L"tolvak.exe").Codes(), std::vector<ResultCode>{});
  EXPECT_EQ(path.FullPath(), L"tolvak.exe");
}

TEST_F(FilePathParseTest, LongPathIsUsedWhenItCanBeHad) {
  modules_.module = {L"C:\\PROGRA~1\\VARNEL~1.EXE", 0};
  modules_.long_path = {L"C:\\Program Files\\varnel.exe", 0};
  EXPECT_EQ(FilePath(L"default").FullPath(), L"C:\\Program Files\\varnel.exe");
  modules_.long_path = {{}, 2};
  EXPECT_EQ(FilePath(L"default").FullPath(), L"C:\\PROGRA~1\\VARNEL~1.EXE");
}

struct ModulePathCase {
  std::wstring reported;
  std::wstring normalised;
};

class ModulePathTest : public FilePathParseTest,
                       public ::testing::WithParamInterface<ModulePathCase> {};

TEST_P(ModulePathTest, Normalises) {
  ::setenv("systemroot", "C:\\Windows", 1);
  modules_.module = {GetParam().reported, 0};
  std::wstring path = L"unchanged";
  ASSERT_TRUE(GetModuleFilePath(nullptr, path).IsSuccess());
  EXPECT_EQ(path, GetParam().normalised);
}

INSTANTIATE_TEST_SUITE_P(
    Reported, ModulePathTest,
    ::testing::Values(ModulePathCase{L"\\SystemRoot\\System32\\x.dll",
                                     L"C:\\Windows\\System32\\x.dll"},
                      ModulePathCase{L"\\SYSTEMROOT\\x.dll", L"C:\\Windows\\x.dll"},
                      ModulePathCase{L"\\??\\C:\\Tools\\varnel.exe", L"C:\\Tools\\varnel.exe"},
                      ModulePathCase{L"\\??\\\\SystemRoot\\a", L"C:\\Windows\\a"},
                      ModulePathCase{L"\\SystemRootX\\a", L"C:\\WindowsX\\a"},
                      ModulePathCase{L"\\Systemroo", L"\\Systemroo"},
                      ModulePathCase{L"\\??\\", L"\\??\\"},
                      ModulePathCase{L"/usr/bin/varnel", L"/usr/bin/varnel"}));

TEST_F(FilePathParseTest, ModuleAndLongPathFailuresAreRawCodes) {
  modules_.module = {{}, 126};
  std::wstring path = L"kept";
  EXPECT_EQ(GetModuleFilePath(nullptr, path).Codes(), std::vector<ResultCode>{126});
  EXPECT_EQ(path, L"kept");
  modules_.long_path = {{}, 3};
  EXPECT_EQ(GetLongPath(L"C:\\x", path).Codes(), std::vector<ResultCode>{3});
  EXPECT_EQ(path, L"kept");
}

// ---- The real system ----

TEST(FilePathSystemTest, BareNameIsBesideTheRunningProgram) {
  const FilePath program(L"default");
  ASSERT_FALSE(program.Folder().empty());
  const FilePath helper(L"framework_test_helper");
  EXPECT_EQ(helper.Folder(), program.Folder());
  EXPECT_TRUE(helper.Exists());
  EXPECT_FALSE(FilePath(L"kelvane-no-such-file.exe").Exists());
  EXPECT_TRUE(FilePath(program.Folder()).Exists()) << "folders exist too";
  EXPECT_TRUE(
      std::filesystem::equivalent(std::filesystem::path(program.FullPath()), "/proc/self/exe"));
}

TEST(FilePathSystemTest, BackslashesNameTheSameFilesOnLinux) {
  testing::ScratchFolder scratch;
  std::filesystem::create_directories(scratch / "sub");
  testing::WriteBytes(scratch / "sub" / "x.dat", {1, 2, 3});
  const std::wstring windows_style = scratch.path().wstring() + L"\\sub\\x.dat";
  EXPECT_TRUE(FilePath(windows_style).Exists());
  std::uint64_t size = 0;
  EXPECT_TRUE(QueryFileSize(windows_style, size).IsSuccess());
  EXPECT_EQ(size, 3u);
}

TEST(FileOpenSystemTest, SizeOfAFileAndMissingFiles) {
  testing::ScratchFolder scratch;
  testing::WriteBytes(scratch / "data.bin", std::vector<std::uint8_t>(1234, 7));
  std::uint64_t size = 0;
  EXPECT_TRUE(QueryFileSize((scratch / "data.bin").wstring(), size).IsSuccess());
  EXPECT_EQ(size, 1234u);
  EXPECT_EQ(QueryFileSize((scratch / "none.bin").wstring(), size).Codes(),
            std::vector<ResultCode>{tq::InvalidPath});
}

// ---- Opening for reading over a scripted file system ----

class FakeFileAccess final : public platform::FileAccessPort {
 public:
  std::uint32_t attributes = platform::kFileAttributeNormal;
  std::deque<platform::HandleAnswer> opens;
  int open_calls = 0;
  platform::ValueAnswer GetAttributes(const std::wstring&) override {
    return {attributes, attributes == platform::kInvalidFileAttributes ? 2u : 0u};
  }
  platform::HandleAnswer OpenForReading(const std::wstring&) override {
    ++open_calls;
    if (opens.empty()) return {200, 0};
    const platform::HandleAnswer answer = opens.front();
    opens.pop_front();
    return answer;
  }
  platform::SizeAnswer GetSize(platform::NativeHandle) override { return {0x100000002ULL, 0}; }
};

class FileOpenRuleTest : public ::testing::Test {
 protected:
  FakeFileAccess files_;
  platform::ScopedPortOverride<platform::FileAccessPort> files_override_{platform::FileAccessSlot(),
                                                                         files_};
  testing::FakeKernel kernel_;
  platform::ScopedPortOverride<platform::HandlePort> handles_{platform::HandleSlot(), kernel_};
  kelvane::testing::FakeRuntime runtime_;
};

TEST_F(FileOpenRuleTest, UnreachablePathIsInvalidPath) {
  files_.attributes = platform::kInvalidFileAttributes;
  std::uint64_t size = 0;
  EXPECT_EQ(QueryFileSize(L"C:\\x", size).Codes(), std::vector<ResultCode>{tq::InvalidPath});
  EXPECT_EQ(files_.open_calls, 0);
}

TEST_F(FileOpenRuleTest, SharingViolationsAreRetriedSixAttemptsInAll) {
  for (int i = 0; i < 10; ++i) files_.opens.push_back({platform::kInvalidHandleValue, 32});
  std::uint64_t size = 0;
  EXPECT_EQ(QueryFileSize(L"C:\\x", size).Codes(), (std::vector<ResultCode>{LineCode(2546), 32}));
  EXPECT_EQ(files_.open_calls, 6);
  EXPECT_EQ(runtime_.pauses, (std::vector<std::uint32_t>(5, 250)));
}

TEST_F(FileOpenRuleTest, RetriesEndWhenTheFileIsReleasedOrTheErrorChanges) {
  files_.opens = {
      {platform::kInvalidHandleValue, 32}, {platform::kInvalidHandleValue, 32}, {300, 0}};
  std::uint64_t size = 0;
  EXPECT_TRUE(QueryFileSize(L"C:\\x", size).IsSuccess());
  EXPECT_EQ(size, 0x100000002ULL);
  EXPECT_EQ(runtime_.pauses.size(), 2u);
  EXPECT_EQ(kernel_.calls, std::vector<std::string>{"close 300"});

  runtime_.pauses.clear();
  files_.opens = {{platform::kInvalidHandleValue, 32}, {platform::kInvalidHandleValue, 5}};
  EXPECT_EQ(QueryFileSize(L"C:\\x", size).Codes(), (std::vector<ResultCode>{LineCode(2546), 5}));
  EXPECT_EQ(runtime_.pauses.size(), 1u);

  files_.opens = {{platform::kInvalidHandleValue, 0}};
  EXPECT_EQ(QueryFileSize(L"C:\\x", size).Codes(), (std::vector<ResultCode>{LineCode(2546), 6}));
}

}  // namespace
}  // namespace kelvane::framework
