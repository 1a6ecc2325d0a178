// A temporary folder that stands for the folder of the running program: the
// program's own file is reported as "<folder>/varnel" while the object
// lives, so that the writer is looked for in this folder. Stand-in writers
// are shell scripts placed there as "tolvak".
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/module_file.h"

namespace kelvane::testing {

class ProgramFolder final : public platform::ModuleFilePort {
 public:
  // `name_part` becomes part of the folder's name (it may hold blanks).
  explicit ProgramFolder(const std::string& name_part = "program");
  ~ProgramFolder() override;
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::filesystem::path& path() const { return folder_; }
  std::filesystem::path WriterPath() const;
  // A file in the folder where a stand-in writer leaves a line per run.
  std::filesystem::path RunLog() const { return folder_ / "writer-runs.log"; }

  // A stand-in writer that records its run, then runs `body` (shell), e.g.
  // "exit 3" or "kill -SEGV $$".
  void PlaceWriter(const std::string& body, bool executable = true);
  // A folder of the writer's name instead of a program.
  void PlaceWriterFolder();
  void RemoveWriter();
  // How many times a stand-in writer ran.
  int WriterRuns() const;

  platform::PathAnswer ModuleFileName(platform::ModuleHandle module) override;
  platform::PathAnswer LongPathName(const std::wstring& path) override;

 private:
  std::filesystem::path folder_;
  std::unique_ptr<platform::ScopedPortOverride<platform::ModuleFilePort>> override_;
};

}  // namespace kelvane::testing
