// FilePath: a path held as folder, name and extension, whose plain
// concatenation is the full path. Built from a bare file name, a relative or
// full path, a UNC path, an NT-prefixed path ("\??\"), an http or https
// address, or "default" (the running program's own file). Bare and relative
// names are taken relative to the running program's folder.
#pragma once

#include <cstdint>
#include <string>

#include "framework/kernel_handle.h"
#include "framework/result.h"
#include "platform/module_file.h"

namespace kelvane::framework {

class FilePath {
 public:
  FilePath() = default;
  // Parses `text` (see Assign); a text that cannot be parsed leaves the
  // parts empty or as far as they got.
  explicit FilePath(const std::wstring& text) { Assign(text); }

  // Clears the parts and parses `text`, in this order (exact, case-sensitive
  // tests):
  // - empty: InvalidPath;
  // - longer than 7 and starting "http://", or longer than 8 and starting
  //   "https://": an address (the parts then describe the address);
  // - longer than 2 and starting with two backslashes: a full (UNC) path;
  // - longer than 4 and starting "\??\": the full path after the prefix;
  // - otherwise the parts start as the program's own file; "default" keeps
  //   them; a text with a drive, or starting with '/' (a full path on a
  //   system without drives), is a full path; any other directory part is
  //   taken below the program's folder (leading separators dropped), and
  //   the text's name (when given) and extension replace the program's.
  Result Assign(const std::wstring& text);

  std::wstring FullPath() const { return folder_ + name_ + extension_; }
  const std::wstring& Folder() const { return folder_; }
  const std::wstring& Name() const { return name_; }
  const std::wstring& Extension() const { return extension_; }

  // Whether a file or folder of the full path exists; false for an empty
  // path and for any failure.
  bool Exists() const;

  // Splits a full path into the three parts; "default" is the program's own
  // file. Empty text: InvalidPath.
  Result SetFromFullPath(const std::wstring& text);

  // The running program's own file (long form when it can be had).
  Result SetToModuleFile();

 private:
  Result SplitAddress(const std::wstring& text);
  void ClearParts();

  std::wstring folder_;
  std::wstring name_;
  std::wstring extension_;
};

// The file name of `module` (null: the running program), with a leading
// "\??\" removed and a leading "\SystemRoot" (any case) replaced by the
// value of the environment variable "systemroot". Failure: the raw system
// error.
Result GetModuleFilePath(platform::ModuleHandle module, std::wstring& path);

// The long form of an existing path. Failure: the raw system error, and
// `long_path` is left as it was.
Result GetLongPath(const std::wstring& path, std::wstring& long_path);

// Opens an existing file or folder for reading, sharing it with others.
// While another process holds it exclusively the open is retried after 250
// ms pauses, six attempts in all. Errors: InvalidPath when the path cannot
// be reached; site 2546 then the system error when it cannot be opened;
// FileNotFound when no handle resulted.
Result OpenFileForReading(const std::wstring& path, KernelHandle& file);

// The size of an existing file, read through OpenFileForReading.
Result QueryFileSize(const std::wstring& path, std::uint64_t& size);

}  // namespace kelvane::framework
