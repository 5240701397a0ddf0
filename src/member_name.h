// Member names as output paths: which ones are refused, and how they are shown in messages.
//
// Names come from the archive, so a hostile archive chooses them. A name is created relative to
// the current directory byte for byte; only names that would reach outside it, or that the
// platform would take for something other than a plain file of that name, are refused.
#ifndef VOSTREL_DAT_MEMBER_NAME_H_
#define VOSTREL_DAT_MEMBER_NAME_H_

#include <string>
#include <string_view>

// Which platform's path rules a name is checked against. Both sets are compiled everywhere, so
// each can be tested on any build machine; the tool uses the rules of the platform it runs on.
enum class name_rules { posix, windows };

#ifdef _WIN32
inline constexpr name_rules native_name_rules = name_rules::windows;
#else
inline constexpr name_rules native_name_rules = name_rules::posix;
#endif

// Returns why `name` must not be created as an output file, or an empty string when it may.
// Refused everywhere: absolute paths and names with a ".." component. A name through an existing
// subdirectory ("sub/x") is allowed.
// Refused under the Windows rules as well, where '\' also separates components:
//   - drive prefixes ("C:x"), which are absolute;
//   - any other ':', which names a data stream of another file ("a:b" is stream b of file a);
//   - device names (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9, LPT0-9, and COM/LPT with a
//     superscript 1-3) as any component, in any case, with or without an extension: Windows
//     opens the device instead of a file;
//   - components ending in a dot or a space other than ".": Windows drops those characters, so
//     the file would get another name than the member's ("a." becomes "a").
std::string unsafe_name_reason(std::string_view name, name_rules rules = native_name_rules);

// The name for a console message: control bytes and backslashes appear as \xNN escapes so a name
// cannot rewrite the terminal; all other bytes are shown as stored.
std::string printable_name(std::string_view name);

#endif  // VOSTREL_DAT_MEMBER_NAME_H_
