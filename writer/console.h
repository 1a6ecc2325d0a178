// The writer's only report: formatted text on standard output, exactly as
// given (no line break is added).
#pragma once

namespace kelvane::writer {

void Print(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kelvane::writer
