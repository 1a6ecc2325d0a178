#include "writer/console.h"

#include <cstdarg>
#include <cstdio>

namespace kelvane::writer {

void Print(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vprintf(format, arguments);
  va_end(arguments);
}

}  // namespace kelvane::writer
