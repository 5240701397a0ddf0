// memory_archive. file_archive's file calls are in archive_file_posix.cc and, on Windows,
// archive_file_win32.cc.
#include "archive_file.h"

#include <algorithm>

std::int64_t memory_archive::read_at(std::int64_t pos, std::span<unsigned char> dst,
                                     std::string* /*error*/) {
  if (pos >= length()) return 0;
  const auto start = static_cast<std::size_t>(pos);
  const std::size_t n = std::min(dst.size(), bytes_.size() - start);
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(start), n, dst.begin());
  return static_cast<std::int64_t>(n);
}
