// win32_error_text through FormatMessageA.
#include "win32_error.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <array>

std::string win32_error_text(unsigned long code) {
  std::array<char, 512> text{};
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
      nullptr, code, 0, text.data(), static_cast<DWORD>(text.size()), nullptr);
  std::string message(text.data(), length);
  while (!message.empty() && (message.back() == '.' || message.back() == ' ' ||
                              message.back() == '\r' || message.back() == '\n')) {
    message.pop_back();
  }
  if (message.empty()) return "Windows error " + std::to_string(code);
  return message;
}
