// output_file on Windows: CREATE_NEW for new names, a temporary file and MoveFileExA for others.
//
// The handle is kept as a C runtime descriptor (_open_osfhandle), so the class is the same on
// every platform; closing the descriptor closes the handle. Names go to the narrow (ANSI) calls
// byte for byte.
#include <fcntl.h>
#include <io.h>
#include <process.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "output_file.h"
#include "win32_error.h"

namespace {

HANDLE create_new(const std::string& name) {
  return ::CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool name_taken(DWORD why) { return why == ERROR_FILE_EXISTS || why == ERROR_ALREADY_EXISTS; }

// Temporary names are unique within this process by the counter and across processes by the
// process id; a name that is taken anyway (left by another program) is skipped.
std::string temporary_name(const std::string& dir) {
  static unsigned long counter = 0;
  return dir + ".vostrel_dat-" + std::to_string(::_getpid()) + "-" + std::to_string(counter++);
}

}  // namespace

bool output_file::open(const std::string& name, std::string* error) {
  HANDLE handle = create_new(name);
  std::string temp;
  if (handle == INVALID_HANDLE_VALUE) {
    DWORD why = ::GetLastError();
    // A directory in the way may fail with "access denied" rather than "exists"; either way the
    // name is taken, and the replacing path reports why it can't be replaced.
    if (!name_taken(why) && ::GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) {
      *error = "can't create the file: " + win32_error_text(why);
      return false;
    }
    // The name exists: write beside it and replace it only once the new content is complete.
    const std::size_t slash = name.find_last_of("/\\");
    const std::string dir = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    constexpr int attempts = 100;
    for (int i = 0; i < attempts; ++i) {
      temp = temporary_name(dir);
      handle = create_new(temp);
      if (handle != INVALID_HANDLE_VALUE) break;
      why = ::GetLastError();
      if (!name_taken(why)) break;
    }
    if (handle == INVALID_HANDLE_VALUE) {
      *error = "can't create a temporary file beside it: " + win32_error_text(why);
      return false;
    }
  }

  name_ = name;
  temp_name_ = temp;
  fd_ = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd_ < 0) {
    ::CloseHandle(handle);
    *error =
        (temp.empty() ? "can't create the file: " : "can't create a temporary file beside it: ") +
        std::string(std::strerror(errno));
    discard();
    return false;
  }
  return true;
}

bool output_file::write(std::span<const unsigned char> data, std::string* error) {
  // The C runtime hands the handle back as an integer.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd_));
  constexpr std::size_t max_write = std::size_t{1} << 30;  // fits a DWORD
  const unsigned char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    DWORD wrote = 0;
    if (::WriteFile(handle, p, static_cast<DWORD>(std::min(left, max_write)), &wrote, nullptr) ==
        0) {
      *error = "can't write the file: " + win32_error_text(::GetLastError());
      return false;
    }
    if (wrote == 0) {  // a disk file never does this; never loop on it
      *error = "can't write the file: " + win32_error_text(ERROR_WRITE_FAULT);
      return false;
    }
    p += wrote;
    left -= wrote;
  }
  return true;
}

// Windows has no call that copies a range between two open files in the kernel, so the caller
// copies through memory.
bool output_file::copy_from(int /*in_fd*/, std::int64_t /*pos*/, std::int64_t /*len*/,
                            std::int64_t* copied, bool* unsupported, std::string* /*error*/) {
  *copied = 0;
  *unsupported = true;
  return false;
}

bool output_file::close_descriptor(int fd, std::string* error) {
  if (::_close(fd) == 0) return true;
  *error = win32_error_text(::GetLastError());
  return false;
}

bool output_file::replace_name(const std::string& from, const std::string& to, std::string* error) {
  if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
  *error = win32_error_text(::GetLastError());
  return false;
}

void output_file::remove_name(const std::string& name) { ::DeleteFileA(name.c_str()); }
