#include "member_name.h"

#include <gtest/gtest.h>

namespace {

TEST(MemberName, SafeAndUnsafeNames) {
  struct name_case {
    const char* name;
    bool safe;
  };
  for (const name_case& c : {
           name_case{"se01", true},   name_case{"bgm01.ogg", true}, name_case{"sub/x", true},
           name_case{"...", true},    name_case{"..a", true},       name_case{"a..", true},
           name_case{"...ogg", true}, name_case{"a//b", true},      name_case{"/etc/passwd", false},
           name_case{"/", false},     name_case{"..", false},       name_case{"../x", false},
           name_case{"a/..", false},  name_case{"a/../b", false},   name_case{"a/../../b", false},
#ifdef _WIN32
           name_case{"\\x", false},   name_case{"..\\x", false},    name_case{"C:x", false},
           name_case{"c:\\x", false},
#else
           // Backslashes and colons are ordinary name bytes here.
           name_case{"..\\x", true},
           name_case{"C:x", true},
#endif
       }) {
    EXPECT_EQ(unsafe_name_reason(c.name).empty(), c.safe) << c.name;
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
