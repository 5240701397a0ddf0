#include "entry_list.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <sstream>
#include <string>

namespace {

struct lookup_case {
  std::int32_t index;
  const char* name;        // expected node's name, or nullptr for none
  const char* diagnostic;  // expected console output
};

TEST(EntryList, LookupsOnAFreshList) {
  std::ostringstream diag;
  entry_list list(diag);
  for (const lookup_case& c : {lookup_case{0, nullptr, "index out of bound\n"},
                               lookup_case{-2, nullptr, ""}, lookup_case{-1, nullptr, ""}}) {
    diag.str("");
    EXPECT_EQ(list.at(c.index), nullptr) << c.index;
    EXPECT_EQ(diag.str(), c.diagnostic) << c.index;
  }
}

TEST(EntryList, LookupsAfterThreeAppends) {
  std::ostringstream diag;
  entry_list list(diag);
  list.append("one", 1, 10);
  list.append("two", 2, 20);
  list.append("three", 3, 30);
  ASSERT_EQ(list.count(), 3);

  // Out of order on purpose: lookups resume from where the last one stopped, and must still
  // find every position from any starting point.
  for (const lookup_case& c :
       {lookup_case{2, "three", ""}, lookup_case{0, "one", ""}, lookup_case{-1, "three", ""},
        lookup_case{1, "two", ""}, lookup_case{1, "two", ""}, lookup_case{0, "one", ""},
        lookup_case{3, nullptr, "index out of bound\n"},
        lookup_case{-5, nullptr, "search failed -5 0\n"}, lookup_case{2, "three", ""}}) {
    diag.str("");
    const entry_node* node = list.at(c.index);
    EXPECT_EQ(diag.str(), c.diagnostic) << c.index;
    if (c.name == nullptr) {
      EXPECT_EQ(node, nullptr) << c.index;
      continue;
    }
    ASSERT_NE(node, nullptr) << c.index;
    EXPECT_EQ(node->name(), c.name);
  }
  EXPECT_EQ(list.at(1)->offset, 2);
  EXPECT_EQ(list.at(1)->size, 20);
}

TEST(EntryList, NamesAreKeptAsBytesUpToTheirTerminator) {
  std::ostringstream diag;
  entry_list list(diag);
  list.append("fifteen_bytes_1", 0, 0);
  list.append(std::string_view("sixteen_bytes_12"), 0, 0);  // no terminator at all
  list.append(std::string_view("ab\0cd", 5), 0, 0);
  list.append("\xff\x81\x40", 0, 0);
  EXPECT_EQ(list.at(0)->name(), "fifteen_bytes_1");
  EXPECT_EQ(list.at(1)->name(), "sixteen_bytes_12");
  EXPECT_EQ(list.at(2)->name(), "ab");
  EXPECT_EQ(list.at(3)->name(), "\xff\x81\x40");
}

TEST(EntryList, ClearEmptiesAndAppendStartsOver) {
  std::ostringstream diag;
  entry_list list(diag);
  for (int i = 0; i < 5; ++i) list.append("n" + std::to_string(i), i, i);
  ASSERT_NE(list.at(3), nullptr);  // leaves the lookup position inside the old nodes
  list.clear();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.at(-1), nullptr);
  list.append("fresh", 7, 8);
  EXPECT_EQ(list.count(), 1);
  ASSERT_NE(list.at(0), nullptr);
  EXPECT_EQ(list.at(0)->name(), "fresh");
  EXPECT_EQ(list.at(-1), list.at(0));
  EXPECT_EQ(diag.str(), "");
}

// Runs `body` on a thread with only `stack_bytes` of stack, so code that recurses once per node
// fails the same way whatever stack limit the test runner was started with.
void run_on_small_stack(std::size_t stack_bytes, const std::function<void()>& body) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, stack_bytes), 0);
  pthread_t thread;
  auto run = [](void* f) -> void* {
    (*static_cast<const std::function<void()>*>(f))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

// A million members: building the list and reading it back in order must be linear (a walk from
// the head per call would not finish within the test's time limit), and tearing it down must not
// recurse once per node (which would overflow the stack).
TEST(EntryList, MillionNodesBuildWalkAndTeardown) {
  constexpr std::int32_t n = 1'000'000;
  std::ostringstream diag;
  run_on_small_stack(std::size_t{1} << 20, [&] {
    entry_list list(diag);
    for (std::int32_t i = 0; i < n; ++i) list.append("m", i, n - i);
    std::int64_t sum = 0;
    for (std::int32_t i = 0; i < n; ++i) sum += list.at(i)->offset;
    EXPECT_EQ(sum, std::int64_t{n} * (n - 1) / 2);
    EXPECT_EQ(list.at(-1)->size, 1);
  });
  EXPECT_EQ(diag.str(), "");
}

}  // namespace
