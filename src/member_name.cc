// Output-name checks and display escaping for member names.
#include "member_name.h"

namespace {

#ifdef _WIN32
constexpr std::string_view separators = "/\\";
#else
constexpr std::string_view separators = "/";
#endif

bool is_absolute(std::string_view name) {
  if (name.empty()) return false;
#ifdef _WIN32
  // "C:x" is relative to drive C's current directory, which is still outside ours.
  const auto c = static_cast<unsigned char>(name.front());
  if (name.size() >= 2 && name[1] == ':' && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) {
    return true;
  }
#endif
  return separators.find(name.front()) != std::string_view::npos;
}

bool has_parent_component(std::string_view name) {
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of(separators, start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) == "..") return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::string unsafe_name_reason(std::string_view name) {
  if (is_absolute(name)) return "the name is an absolute path";
  if (has_parent_component(name)) return "the name has a \"..\" component";
  return {};
}

std::string printable_name(std::string_view name) {
  std::string shown;
  shown.reserve(name.size());
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7f || c == '\\') {
      constexpr std::string_view hex = "0123456789abcdef";
      shown += "\\x";
      shown += hex[c >> 4];
      shown += hex[c & 0xf];
    } else {
      shown += ch;
    }
  }
  return shown;
}
