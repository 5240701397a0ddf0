// Member names as output paths: which ones are refused, and how they are shown in messages.
//
// Names come from the archive, so a hostile archive chooses them. A name is created relative to
// the current directory byte for byte; only names that would reach outside it are refused.
#ifndef VOSTREL_DAT_MEMBER_NAME_H_
#define VOSTREL_DAT_MEMBER_NAME_H_

#include <string>
#include <string_view>

// Returns why `name` must not be created as an output file, or an empty string when it may.
// Refused: absolute paths and names with a ".." component (on Windows also '\'-separated ones
// and drive prefixes such as "C:"). A name through an existing subdirectory ("sub/x") is allowed.
std::string unsafe_name_reason(std::string_view name);

// The name for a console message: control bytes and backslashes appear as \xNN escapes so a name
// cannot rewrite the terminal; all other bytes are shown as stored.
std::string printable_name(std::string_view name);

#endif  // VOSTREL_DAT_MEMBER_NAME_H_
