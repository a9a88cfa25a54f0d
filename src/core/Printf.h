#pragma once

#include <string>

namespace quenderlink {

// printf-style formatting into a string: many of the system's texts are printf formats.
std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace quenderlink
