#include "platform/virtual/socket_channel.h"

#include <sys/socket.h>

#include <cerrno>

#include "platform/linux/unix_socket.h"

namespace kelvane::platform {

SocketChannel::SocketChannel(std::string socket_path) : socket_path_(std::move(socket_path)) {}

SocketChannel::~SocketChannel() { Disconnect(); }

bool SocketChannel::Connect() {
  if (fd_ >= 0) return true;
  fd_ = unix_socket::Connect(socket_path_);
  pending_.clear();
  return fd_ >= 0;
}

void SocketChannel::Disconnect() {
  unix_socket::Close(fd_);
  fd_ = -1;
  pending_.clear();
}

std::optional<std::string> SocketChannel::ExchangeOnce(const std::string& request) {
  if (!Connect()) return std::nullopt;
  std::string line = request;
  line.push_back('\n');
  if (!unix_socket::WriteAll(fd_, line)) {
    Disconnect();
    return std::nullopt;
  }
  char chunk[65536];
  for (;;) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string response = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return response;
    }
    const ssize_t got = ::recv(fd_, chunk, sizeof(chunk), 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      Disconnect();
      return std::nullopt;
    }
    pending_.append(chunk, static_cast<std::size_t>(got));
  }
}

std::optional<std::string> SocketChannel::Exchange(const std::string& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  // A kept connection may have been closed by a server restart: one retry on
  // a fresh connection.
  const bool had_connection = fd_ >= 0;
  auto response = ExchangeOnce(request);
  if (!response && had_connection) response = ExchangeOnce(request);
  return response;
}

}  // namespace kelvane::platform
