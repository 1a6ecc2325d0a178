// tolvak: updates the firmware of the one supported security drive attached.
// Takes no arguments; see writer_entry.h for the exit codes.
#include <cstdio>

#include "writer/writer_entry.h"

int main() {
  const int exit_code = kelvane::writer::RunWriter();
  std::fflush(stdout);
  return exit_code;
}
