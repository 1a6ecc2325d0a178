#include "frontend/writer_run.h"

#include <cstdint>

#include "framework/environment_text.h"
#include "framework/file_path.h"
#include "framework/process_runner.h"
#include "framework/text_format.h"
#include "frontend/writer_messages.h"
#include "platform/process.h"

namespace kelvane::frontend {

namespace {

using framework::Chain;
using framework::Location;
using framework::Result;
using framework::ResultCode;

constexpr std::uint16_t kSiteWriterMissing = 132;
constexpr std::uint16_t kSiteWriterFailed = 146;

Result WriterMessage(ResultCode code, std::size_t index) {
  Result message(code);
  message.AddText(framework::FormatWide(L"\n%ls", std::wstring(kWriterMessages[index]).c_str()));
  return message;
}

platform::StartupInfo HiddenStartup() {
  platform::StartupInfo startup;
  startup.size = platform::kStartupInfoSize;
  startup.flags = platform::kStartfUseShowWindow | platform::kStartfUseCountChars |
                  platform::kStartfUseFillAttribute;
  startup.show_window = platform::kShowHide;
  return startup;
}

}  // namespace

std::wstring InterpreterCommandLine(const std::wstring& interpreter,
                                    const std::wstring& writer_path) {
  return interpreter + L" /c \"\"" + writer_path + L"\"\"";
}

std::wstring DirectCommandLine(const std::wstring& writer_path) {
  return L"\"" + writer_path + L"\"";
}

std::wstring WriterCommandLine(const std::wstring& writer_path) {
#if defined(_WIN32)
  return InterpreterCommandLine(framework::GetEnvironmentText(L"COMSPEC"), writer_path);
#else
  return DirectCommandLine(writer_path);
#endif
}

Result RunWriter() {
  const framework::FilePath writer(kWriterFileName);
  if (!writer.Exists()) {
    const ResultCode missing = framework::TolvakBase + kWriterMissingMessage;
    return Chain(WriterMessage(missing, kWriterMissingMessage), Location(kSiteWriterMissing));
  }
  const std::wstring path = framework::FormatWide(L"%ls", writer.FullPath().c_str());
  ResultCode outcome = framework::tq::InvalidArgument;
  if (!path.empty()) {
    outcome = framework::RunProcessAndWait(HiddenStartup(), WriterCommandLine(path)).LastCode();
  }
  return WriterOutcome(outcome);
}

Result WriterOutcome(ResultCode outcome) {
  if (outcome == framework::Success) {
    return Result();
  }
  ResultCode code = outcome;
  if ((outcome & framework::FrameworkCodeBit) == 0 && outcome < 0x10000u) {
    code = framework::TolvakBase + outcome;
  }
  return Chain(WriterMessage(code, WriterMessageIndex(outcome)), Location(kSiteWriterFailed));
}

}  // namespace kelvane::frontend
