#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace quenderlink {

// A site list file as this program last loaded or wrote it. A save that
// replaces or changes the file compares it with the file on disk first, so
// that what another program wrote meanwhile is never overwritten.
struct SiteFileStamp {
  // False for a file that is missing or could not be read: such a stamp
  // matches no file, so a save against it is refused.
  bool exists = false;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  std::uint64_t contentHash = 0;

  bool operator==(const SiteFileStamp&) const = default;
};

// 64-bit FNV-1a: fast, and plenty to tell two versions of a file of a few MB apart.
inline constexpr std::uint64_t kEmptyContentHash = 14695981039346656037ull;
// The hash continued over more bytes, so a file written piece by piece is hashed as it goes.
[[nodiscard]] std::uint64_t ContinueContentHash(std::uint64_t hash, const void* data, std::size_t size);

// The stamp of an open regular file, read without moving its offset.
[[nodiscard]] SiteFileStamp StampOfOpenFile(int fd);
// The stamp of the file at the path as it is now.
[[nodiscard]] SiteFileStamp StampOfFile(const std::filesystem::path& path);

}  // namespace quenderlink
