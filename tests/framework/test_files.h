// Files for the framework tests: the helper programs beside the test
// program, and a scratch folder per test that is removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "framework/file_path.h"

namespace kelvane::framework::testing {

// A program built beside the running test program.
inline std::filesystem::path HelperProgram(const std::wstring& name) {
  return std::filesystem::path(FilePath(name).FullPath());
}

inline std::string UniqueSuffix() {
  std::random_device random;
  return std::to_string(random()) +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() / ("kelvane-framework-" + UniqueSuffix())) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                   std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadText(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// Waits up to 20 s for a file to appear.
inline bool WaitForFile(const std::filesystem::path& path) {
  for (int i = 0; i < 2000; ++i) {
    if (std::filesystem::exists(path)) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// A command line quoting each word.
inline std::wstring CommandLine(const std::vector<std::wstring>& words) {
  std::wstring line;
  for (const std::wstring& word : words) {
    if (!line.empty()) line += L' ';
    line += L'"' + word + L'"';
  }
  return line;
}

}  // namespace kelvane::framework::testing
