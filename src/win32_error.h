// The system's text for a Windows error code, for the tool's messages on Windows.
#ifndef VOSTREL_DAT_WIN32_ERROR_H_
#define VOSTREL_DAT_WIN32_ERROR_H_

#include <string>

// The message Windows has for `code` (a GetLastError() value) as one line, without the trailing
// period and line break, so it reads like the POSIX strerror() texts in the tool's messages.
std::string win32_error_text(unsigned long code);

#endif  // VOSTREL_DAT_WIN32_ERROR_H_
