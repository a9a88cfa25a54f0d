#pragma once

#include <cstddef>

namespace quenderlink {

// Reads until the buffer is full or the file ends, retrying interrupted and
// short reads; the number of bytes that came.
[[nodiscard]] std::size_t ReadUpTo(int fd, void* data, std::size_t size);

// Writes every byte, retrying interrupted and short writes; false on any failure.
[[nodiscard]] bool WriteAll(int fd, const void* data, std::size_t size);

}  // namespace quenderlink
