// file_archive on POSIX: open, fstat and pread.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "archive_file.h"

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
