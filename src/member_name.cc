// Output-name checks and display escaping for member names.
#include "member_name.h"

#include <algorithm>
#include <array>

namespace {

std::string_view separators(name_rules rules) { return rules == name_rules::windows ? "/\\" : "/"; }

bool is_ascii_letter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

char ascii_upper(char ch) {
  return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

bool equals_ignoring_case(std::string_view a, std::string_view upper) {
  return std::equal(a.begin(), a.end(), upper.begin(), upper.end(),
                    [](char x, char y) { return ascii_upper(x) == y; });
}

bool is_absolute(std::string_view name, name_rules rules) {
  if (name.empty()) return false;
  // "C:x" is relative to drive C's current directory, which is still outside ours.
  if (rules == name_rules::windows && name.size() >= 2 && name[1] == ':' &&
      is_ascii_letter(name[0])) {
    return true;
  }
  return separators(rules).find(name.front()) != std::string_view::npos;
}

// True when `test` holds for any component of `name`, empty ones included.
template <typename Predicate>
bool any_component(std::string_view name, name_rules rules, Predicate test) {
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of(separators(rules), start);
    if (end == std::string_view::npos) end = name.size();
    if (test(name.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

// Windows opens a device for these names whatever the case, the extension, or spaces before the
// extension: "nul", "CON.txt" and "aux .ogg" are all devices.
bool is_device_name(std::string_view component) {
  std::string_view base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  constexpr std::array<std::string_view, 6> devices = {"CON", "PRN",    "AUX",
                                                       "NUL", "CONIN$", "CONOUT$"};
  if (std::any_of(devices.begin(), devices.end(),
                  [base](std::string_view d) { return equals_ignoring_case(base, d); })) {
    return true;
  }
  if (base.size() != 4) return false;
  if (!equals_ignoring_case(base.substr(0, 3), "COM") &&
      !equals_ignoring_case(base.substr(0, 3), "LPT")) {
    return false;
  }
  // Digits, and superscript 1, 2 and 3 as the ANSI code page's single bytes.
  const char n = base[3];
  return (n >= '0' && n <= '9') || n == '\xb9' || n == '\xb2' || n == '\xb3';
}

bool ends_in_dot_or_space(std::string_view component) {
  return component != "." && !component.empty() &&
         (component.back() == '.' || component.back() == ' ');
}

}  // namespace

std::string unsafe_name_reason(std::string_view name, name_rules rules) {
  if (is_absolute(name, rules)) return "the name is an absolute path";
  if (any_component(name, rules, [](std::string_view c) { return c == ".."; })) {
    return "the name has a \"..\" component";
  }
  if (rules == name_rules::posix) return {};

  if (name.find(':') != std::string_view::npos) {
    return "the name has a ':', which would name a data stream of another file";
  }
  if (any_component(name, rules, is_device_name)) {
    return "the name has a component that is a device name";
  }
  if (any_component(name, rules, ends_in_dot_or_space)) {
    return "the name has a component ending in a dot or space, which would be dropped";
  }
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
