#include "member_name.h"

#include <gtest/gtest.h>

namespace {

// Each name against both rule sets: "" means the name may be created, anything else is a piece
// of the reason it is refused with.
TEST(MemberName, SafeAndUnsafeNames) {
  struct name_case {
    std::string_view name;
    const char* posix;
    const char* windows;
  };
  constexpr const char* ok = "";
  constexpr const char* absolute = "absolute path";
  constexpr const char* parent = "\"..\" component";
  constexpr const char* colon = "':'";
  constexpr const char* device = "device name";
  constexpr const char* trailing = "ending in a dot or space";
  for (const name_case& c : {
           name_case{"se01", ok, ok},
           name_case{"bgm01.ogg", ok, ok},
           name_case{"sub/x", ok, ok},
           name_case{"./x", ok, ok},
           name_case{"..a", ok, ok},
           name_case{"...ogg", ok, ok},
           name_case{"a//b", ok, ok},
           name_case{"/etc/passwd", absolute, absolute},
           name_case{"/", absolute, absolute},
           name_case{"..", parent, parent},
           name_case{"../x", parent, parent},
           name_case{"a/..", parent, parent},
           name_case{"a/../b", parent, parent},
           name_case{"a/../../b", parent, parent},
           // Backslashes, colons, device names and trailing dots are ordinary bytes on POSIX.
           name_case{"\\x", ok, absolute},
           name_case{"..\\x", ok, parent},
           name_case{"a\\..", ok, parent},
           name_case{"sub\\x", ok, ok},
           name_case{"C:x", ok, absolute},
           name_case{"c:\\x", ok, absolute},
           name_case{"1:x", ok, colon},
           name_case{"a:b", ok, absolute},  // drive A
           name_case{"file:stream", ok, colon},
           name_case{"ab::$DATA", ok, colon},
           name_case{"CON", ok, device},
           name_case{"nul", ok, device},
           name_case{"Aux", ok, device},
           name_case{"prn.txt", ok, device},
           name_case{"CON.txt.ogg", ok, device},
           name_case{"nul .ogg", ok, device},
           name_case{"sub/aux.ogg", ok, device},
           name_case{"sub\\Con", ok, device},
           name_case{"con/x", ok, device},
           name_case{"COM1", ok, device},
           name_case{"com9.dat", ok, device},
           name_case{"LPT0", ok, device},
           name_case{"lpt\xb9", ok, device},
           name_case{"CONIN$", ok, device},
           name_case{"conout$.x", ok, device},
           name_case{"CON .", ok, device},
           name_case{"COM10", ok, ok},
           name_case{"LPT", ok, ok},
           name_case{"console", ok, ok},
           name_case{"xnul", ok, ok},
           name_case{"nulx.ogg", ok, ok},
           name_case{"my.con", ok, ok},
           name_case{"...", ok, trailing},
           name_case{"a.", ok, trailing},
           name_case{"a ", ok, trailing},
           name_case{"sub./x", ok, trailing},
           name_case{".. ", ok, trailing},
           name_case{" a", ok, ok},
           name_case{"a b.c", ok, ok},
       }) {
    for (const auto& [rules, expected] :
         {std::pair{name_rules::posix, c.posix}, std::pair{name_rules::windows, c.windows}}) {
      const std::string reason = unsafe_name_reason(c.name, rules);
      const char* label = rules == name_rules::posix ? "posix" : "windows";
      if (*expected == '\0') {
        EXPECT_EQ(reason, "") << label << ": " << c.name;
      } else {
        EXPECT_NE(reason.find(expected), std::string::npos)
            << label << ": " << c.name << " refused with \"" << reason << "\", expected \""
            << expected << "\"";
      }
    }
  }
}

TEST(MemberName, PrintableEscapesControlBytesOnly) {
  EXPECT_EQ(printable_name("plain.ogg"), "plain.ogg");
  EXPECT_EQ(printable_name("a\x1b[2Jb"), "a\\x1b[2Jb");
  EXPECT_EQ(printable_name("tab\there\n"), "tab\\x09here\\x0a");
  EXPECT_EQ(printable_name("back\\slash\x7f"), "back\\x5cslash\\x7f");
  EXPECT_EQ(printable_name("\x82\xa0"), "\x82\xa0");  // bytes of other encodings pass through
}

}  // namespace
