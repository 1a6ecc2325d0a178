// Splitting a Windows command line into the program and its arguments.
#pragma once

#include <string>
#include <vector>

namespace kelvane::platform::linux_backend {

// The first word is the program: up to the next quote when it starts with
// one, otherwise up to white space. The arguments follow the C runtime's
// rules: white space separates outside quotes, 2n backslashes before a quote
// give n backslashes and the quote opens or closes quoting, 2n+1 give n
// backslashes and a literal quote, other backslashes are literal, and two
// quotes inside quoting give one literal quote.
std::vector<std::wstring> SplitCommandLine(const std::wstring& command_line);

}  // namespace kelvane::platform::linux_backend
