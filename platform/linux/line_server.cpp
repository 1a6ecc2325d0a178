#include "platform/linux/line_server.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/linux/unix_socket.h"

namespace kelvane::platform {

namespace {

std::atomic<bool>* g_stop_flag = nullptr;

void OnTerminationSignal(int) {
  if (g_stop_flag != nullptr) g_stop_flag->store(true);
}

struct Client {
  int fd;
  std::string pending;
};

// Handles every complete line of the client; false when it must be closed.
bool ServeLines(Client& client, const LineServerOptions& options) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = client.pending.find('\n', start);
    if (end == std::string::npos) break;
    std::string response = options.handle(client.pending.substr(start, end - start));
    response.push_back('\n');
    if (!unix_socket::WriteAll(client.fd, response)) return false;
    start = end + 1;
  }
  client.pending.erase(0, start);
  return client.pending.size() <= options.max_line;
}

}  // namespace

void StopOnTerminationSignals(std::atomic<bool>& stop) {
  g_stop_flag = &stop;
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

bool RunLineServer(const LineServerOptions& options) {
  const int listener = unix_socket::Listen(options.socket_path);
  if (listener < 0) return false;
  if (options.on_ready) options.on_ready();

  std::vector<Client> clients;
  std::vector<pollfd> polled;
  char chunk[65536];
  while (options.stop == nullptr || !options.stop->load()) {
    polled.clear();
    polled.push_back({listener, POLLIN, 0});
    for (const Client& client : clients) polled.push_back({client.fd, POLLIN, 0});
    const int ready = ::poll(polled.data(), polled.size(), 100);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;

    // Clients first, in connection order; new connections after.
    std::vector<Client> kept;
    for (std::size_t i = 0; i < clients.size(); ++i) {
      Client& client = clients[i];
      bool keep = true;
      if ((polled[i + 1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        const ssize_t got = ::recv(client.fd, chunk, sizeof(chunk), 0);
        if (got > 0) {
          client.pending.append(chunk, static_cast<std::size_t>(got));
          keep = ServeLines(client, options);
        } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
          keep = false;
        }
      }
      if (keep) {
        kept.push_back(std::move(client));
      } else {
        unix_socket::Close(client.fd);
      }
    }
    clients = std::move(kept);
    if ((polled[0].revents & POLLIN) != 0) {
      const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) clients.push_back({fd, {}});
    }
  }
  for (const Client& client : clients) unix_socket::Close(client.fd);
  unix_socket::Close(listener);
  ::unlink(options.socket_path.c_str());
  return true;
}

}  // namespace kelvane::platform
