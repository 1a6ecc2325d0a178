#include "tests/frontend/program_folder.h"

#include <fstream>
#include <random>

namespace kelvane::testing {

namespace fs = std::filesystem;

ProgramFolder::ProgramFolder(const std::string& name_part) {
  std::random_device random;
  folder_ = fs::temp_directory_path() / ("kelvane-" + name_part + "-" + std::to_string(random()));
  fs::create_directories(folder_);
  override_ = std::make_unique<platform::ScopedPortOverride<platform::ModuleFilePort>>(
      platform::ModuleFileSlot(), *this);
}

ProgramFolder::~ProgramFolder() {
  override_.reset();
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

fs::path ProgramFolder::WriterPath() const {
  return folder_ / "tolvak";
}

void ProgramFolder::PlaceWriter(const std::string& body, bool executable) {
  RemoveWriter();
  {
    std::ofstream script(WriterPath());
    script << "#!/bin/sh\necho run >> '" << RunLog().string() << "'\n" << body << "\n";
  }
  fs::permissions(WriterPath(), executable ? fs::perms(0755) : fs::perms(0644));
}

void ProgramFolder::PlaceWriterFolder() {
  RemoveWriter();
  fs::create_directory(WriterPath());
}

void ProgramFolder::RemoveWriter() {
  std::error_code ignored;
  fs::remove_all(WriterPath(), ignored);
}

int ProgramFolder::WriterRuns() const {
  std::ifstream log(RunLog());
  int runs = 0;
  for (std::string line; std::getline(log, line);) {
    ++runs;
  }
  return runs;
}

platform::PathAnswer ProgramFolder::ModuleFileName(platform::ModuleHandle /*module*/) {
  return {(folder_ / "varnel").wstring(), 0};
}

platform::PathAnswer ProgramFolder::LongPathName(const std::wstring& path) {
  return {path, 0};
}

}  // namespace kelvane::testing
