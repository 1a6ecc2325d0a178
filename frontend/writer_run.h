// Running the console writer and turning its outcome into a Result.
#pragma once

#include <string>

#include "framework/result.h"

namespace kelvane::frontend {

// The writer's file name in the folder of the running program.
#if defined(_WIN32)
inline constexpr wchar_t kWriterFileName[] = L"tolvak.exe";
#else
inline constexpr wchar_t kWriterFileName[] = L"tolvak";
#endif

// The command line that runs the writer at `writer_path` through the command
// interpreter `interpreter` (the value of COMSPEC): the interpreter, " /c ",
// and the path in quotation marks, so that the path reaches the interpreter
// whole even when it holds blanks or the interpreter's special characters.
// The interpreter strips the outer pair of quotes of what follows /c, hence
// the doubled pair.
std::wstring InterpreterCommandLine(const std::wstring& interpreter,
                                    const std::wstring& writer_path);

// The command line that starts the writer at `writer_path` directly, as the
// process runner's first word: the path in quotation marks.
std::wstring DirectCommandLine(const std::wstring& writer_path);

// The command line of this platform: through COMSPEC on Windows, directly
// elsewhere (there is no command interpreter in the way).
std::wstring WriterCommandLine(const std::wstring& writer_path);

// A writer outcome as a Result: 0 is a success; any other outcome gives
// site 146, then the outcome (0x7FCC0000 plus the outcome when the framework
// bit is clear and it is below 0x10000), with the text "\n" and the table
// entry of the outcome.
framework::Result WriterOutcome(framework::ResultCode outcome);

// Starts the writer from the program's folder, hidden, waits for it without a
// time limit, and classifies its outcome:
// - writer missing: site 132, then 0x7FCC0005 with the text "\n" and table
//   entry 5;
// - no path: outcome InvalidArgument, nothing started;
// - otherwise the outcome is the writer's exit code, or the system error when
//   it cannot be started or its exit code cannot be read (on Linux a writer
//   ended by a signal reports 128 plus the signal number);
// - the outcome then classified by WriterOutcome.
framework::Result RunWriter();

}  // namespace kelvane::frontend
