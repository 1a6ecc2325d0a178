// A Unix-socket server of line requests: any number of connections, one
// request handled at a time across all of them, responses in request order.
#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace kelvane::platform {

struct LineServerOptions {
  std::string socket_path;
  // Called once the socket accepts connections.
  std::function<void()> on_ready;
  // Maps one request line (without its line feed) to one response line.
  std::function<std::string(const std::string&)> handle;
  // Polled between events; the server returns when it becomes true.
  const std::atomic<bool>* stop = nullptr;
  // Longest request line accepted; a longer one closes that connection.
  std::size_t max_line = 64u << 20;
};

// Runs until *options.stop is set, then closes every connection and removes
// the socket. Returns false when the socket cannot be created (errno set).
bool RunLineServer(const LineServerOptions& options);

// Makes SIGTERM and SIGINT set `stop` instead of ending the process.
void StopOnTerminationSignals(std::atomic<bool>& stop);

}  // namespace kelvane::platform
