// output_file's file calls on POSIX: exclusive create for new names, a temporary file and rename
// for others.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "output_file.h"

namespace {

// Permissions for a file created through mkstemp, which uses 0600: the same a plain create would
// give (0666 less the umask). umask can only be read by setting it, so it is read once.
mode_t created_file_mode() {
  static const mode_t mode = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

std::string errno_text() { return std::strerror(errno); }

}  // namespace

bool output_file::open(const std::string& name, std::string* error) {
  fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ >= 0) {
    name_ = name;
    return true;
  }
  if (errno != EEXIST) {
    *error = "can't create the file: " + errno_text();
    return false;
  }

  // The name exists: write beside it and replace it only once the new content is complete.
  const std::size_t slash = name.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
  std::string pattern = dir + ".vostrel_dat-XXXXXX";
  fd_ = ::mkstemp(pattern.data());
  if (fd_ < 0) {
    *error = "can't create a temporary file beside it: " + errno_text();
    return false;
  }
  name_ = name;
  temp_name_ = pattern;
  if (::fchmod(fd_, created_file_mode()) != 0) {
    *error = "can't create a temporary file beside it: " + errno_text();
    discard();
    return false;
  }
  return true;
}

bool output_file::write(std::span<const unsigned char> data, std::string* error) {
  const unsigned char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      *error = "can't write the file: " + errno_text();
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool output_file::copy_from(int in_fd, std::int64_t pos, std::int64_t len, std::int64_t* copied,
                            bool* unsupported, std::string* error) {
  *copied = 0;
#ifdef __linux__
  *unsupported = false;
  while (*copied < len) {
    loff_t in_pos = pos + *copied;
    const ssize_t n =
        ::copy_file_range(in_fd, &in_pos, fd_, nullptr, static_cast<std::size_t>(len - *copied), 0);
    if (n == 0) return true;  // end of the input
    if (n < 0) {
      if (errno == EINTR) continue;
      *unsupported = errno == ENOSYS || errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP;
      if (!*unsupported) *error = "can't write the file: " + errno_text();
      return false;
    }
    *copied += n;
  }
  return true;
#else
  (void)in_fd;
  (void)pos;
  (void)len;
  (void)error;
  *unsupported = true;
  return false;
#endif
}

bool output_file::close_descriptor(int fd, std::string* error) {
  if (::close(fd) == 0) return true;
  *error = errno_text();
  return false;
}

bool output_file::replace_name(const std::string& from, const std::string& to, std::string* error) {
  if (::rename(from.c_str(), to.c_str()) == 0) return true;
  *error = errno_text();
  return false;
}

void output_file::remove_name(const std::string& name) { ::unlink(name.c_str()); }
