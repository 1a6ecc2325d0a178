// Small helpers over Unix domain stream sockets. All return -1 / false on
// failure and leave errno set.
#pragma once

#include <string>
#include <string_view>

namespace kelvane::platform::unix_socket {

int Connect(const std::string& path);
int Listen(const std::string& path);
bool WriteAll(int fd, std::string_view data);
void Close(int fd);

}  // namespace kelvane::platform::unix_socket
