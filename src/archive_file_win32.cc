// file_archive on Windows: CreateFileA and positioned ReadFile calls.
//
// The handle is kept as a C runtime descriptor (_open_osfhandle), so the class is the same on
// every platform; closing the descriptor closes the handle.
#include <fcntl.h>
#include <io.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "archive_file.h"
#include "win32_error.h"

std::unique_ptr<file_archive> file_archive::open(const std::string& path) {
  // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open, so it is refused here.
  const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(handle, &size) == 0) {
    ::CloseHandle(handle);
    return nullptr;
  }
  const int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(handle);
    return nullptr;
  }
  return std::make_unique<file_archive>(fd, static_cast<std::int64_t>(size.QuadPart));
}

file_archive::~file_archive() { ::_close(fd_); }

std::int64_t file_archive::read_at(std::int64_t pos, std::span<unsigned char> dst,
                                   std::string* error) {
  // The C runtime hands the handle back as an integer.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd_));
  constexpr std::size_t max_read = std::size_t{1} << 30;  // fits a DWORD
  std::size_t done = 0;
  while (done < dst.size()) {
    const auto at = static_cast<std::uint64_t>(pos) + done;
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(at & 0xffffffffu);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    const auto want = static_cast<DWORD>(std::min(dst.size() - done, max_read));
    DWORD got = 0;
    if (::ReadFile(handle, dst.data() + done, want, &got, &where) == 0) {
      const DWORD why = ::GetLastError();
      if (why == ERROR_HANDLE_EOF) break;  // reading at or past the end
      if (error != nullptr) *error = win32_error_text(why);
      return -1;
    }
    if (got == 0) break;  // end of the archive
    done += got;
  }
  return static_cast<std::int64_t>(done);
}
