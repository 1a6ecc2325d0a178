// A VdriveChannel over the server's Unix domain socket. One connection is
// kept for the life of the object and reopened after a failure. Calls from
// several threads are serialised.
#pragma once

#include <mutex>
#include <string>

#include "platform/virtual/vdrive_channel.h"

namespace kelvane::platform {

class SocketChannel final : public VdriveChannel {
 public:
  explicit SocketChannel(std::string socket_path);
  ~SocketChannel() override;
  SocketChannel(const SocketChannel&) = delete;
  SocketChannel& operator=(const SocketChannel&) = delete;

  std::optional<std::string> Exchange(const std::string& request) override;

 private:
  bool Connect();
  void Disconnect();
  std::optional<std::string> ExchangeOnce(const std::string& request);

  std::string socket_path_;
  int fd_ = -1;
  std::string pending_;  // bytes read past the last response line
  std::mutex mutex_;
};

}  // namespace kelvane::platform
