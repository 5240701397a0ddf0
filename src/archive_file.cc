// archive_source implementations: an in-memory archive and an archive file read with pread.
// On Windows, file_archive comes from archive_file_win32.cc instead.
#include "archive_file.h"

#include <algorithm>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

std::int64_t memory_archive::read_at(std::int64_t pos, std::span<unsigned char> dst,
                                     std::string* /*error*/) {
  if (pos >= length()) return 0;
  const auto start = static_cast<std::size_t>(pos);
  const std::size_t n = std::min(dst.size(), bytes_.size() - start);
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(start), n, dst.begin());
  return static_cast<std::int64_t>(n);
}

#ifndef _WIN32
std::unique_ptr<file_archive> file_archive::open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  // A directory opens fine for reading on POSIX but holds no archive.
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<file_archive>(fd, static_cast<std::int64_t>(st.st_size));
}

file_archive::~file_archive() { ::close(fd_); }

std::int64_t file_archive::read_at(std::int64_t pos, std::span<unsigned char> dst,
                                   std::string* error) {
  std::size_t done = 0;
  while (done < dst.size()) {
    const ssize_t n = ::pread(fd_, dst.data() + done, dst.size() - done,
                              static_cast<off_t>(pos + static_cast<std::int64_t>(done)));
    if (n == 0) break;  // end of the archive
    if (n < 0) {
      if (errno == EINTR) continue;
      if (error != nullptr) *error = std::strerror(errno);
      return -1;
    }
    done += static_cast<std::size_t>(n);
  }
  return static_cast<std::int64_t>(done);
}
#endif  // !_WIN32
