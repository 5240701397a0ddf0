#include "archive_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::string le(std::uint32_t v) {
  return {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
          static_cast<char>((v >> 16) & 0xff), static_cast<char>((v >> 24) & 0xff)};
}

std::string record(std::string name, std::int32_t offset, std::int32_t size,
                   const std::string& tail = std::string(8, '\0')) {
  name.resize(16, '\0');
  return name + le(static_cast<std::uint32_t>(offset)) + le(static_cast<std::uint32_t>(size)) +
         tail;
}

struct read_result {
  directory_info info;
  std::string out;
  std::vector<entry_record> entries;  // names point into `names`
  std::vector<std::string> names;
};

read_result read(const std::string& bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  memory_archive archive({p, bytes.size()});
  std::ostringstream out;
  entry_list list(out);
  read_result r;
  r.info = read_directory(archive, list, out);
  r.out = out.str();
  for (std::int32_t i = 0; i < list.count(); ++i) {
    r.names.emplace_back(list.at(i)->name());
    r.entries.push_back({{}, list.at(i)->offset, list.at(i)->size});
  }
  return r;
}

TEST(ReadU32le, LeastSignificantByteFirst) {
  const unsigned char bytes[] = {0x78, 0x56, 0x34, 0x12, 0xff, 0xff,
                                 0xff, 0xff, 0x00, 0x00, 0x00, 0x80};
  EXPECT_EQ(read_u32le(bytes), 0x12345678u);
  EXPECT_EQ(read_u32le(bytes + 4), 0xffffffffu);
  EXPECT_EQ(static_cast<std::int32_t>(read_u32le(bytes + 8)), INT32_MIN);
}

TEST(ReadDirectory, RecordsInOrderWithRawFields) {
  const std::string bytes =
      std::string(12, '\xa5') + le(3) + record("first", 0, 5, std::string(8, '\xee')) +
      record("second", -16, 0x7fffffff) +
      record("sixteen_bytes_12", 1, static_cast<std::int32_t>(0x80000000)) + "data!";
  const read_result r = read(bytes);
  EXPECT_EQ(r.out, "number of files: 3\n");
  EXPECT_EQ(r.info.count, 3);
  EXPECT_EQ(r.info.data_start, 16 + 3 * 32);
  EXPECT_EQ(r.info.error, "");
  ASSERT_EQ(r.names.size(), 3u);
  EXPECT_EQ(r.names[0], "first");
  EXPECT_EQ(r.names[1], "second");
  EXPECT_EQ(r.names[2], "sixteen_bytes_12");
  EXPECT_EQ(r.entries[1].offset, -16);
  EXPECT_EQ(r.entries[1].size, 0x7fffffff);
  EXPECT_EQ(r.entries[2].size, INT32_MIN);
}

TEST(ReadDirectory, CountsAndTruncation) {
  struct dir_case {
    const char* title;
    std::string bytes;
    std::string out;
    std::int32_t count;
    std::size_t records;
    std::int64_t data_start;
    std::string error;
  };
  const std::string header(12, 'h');
  for (const dir_case& c : {
           dir_case{"zero", header + le(0) + "tail", "number of files: 0\n", 0, 0, 16, ""},
           dir_case{"negative", header + le(0xffffffff) + record("x", 0, 0),
                    "number of files: -1\n", -1, 0, 16, ""},
           dir_case{"no count", header + "\x01\x02", "", 0, 0, 16,
                    "the archive ends before its member count"},
           dir_case{"empty", "", "", 0, 0, 16, "the archive ends before its member count"},
           dir_case{"cut inside the second record",
                    header + le(2) + record("a", 0, 0) + std::string("b\0\0", 3),
                    "number of files: 2\n", 2, 1, 80,
                    "the archive ends inside its directory: 1 of 2 records are whole"},
           dir_case{"huge count", header + le(0x7fffffff) + record("a", 0, 0) + record("b", 0, 0),
                    "number of files: 2147483647\n", 0x7fffffff, 2,
                    16 + 32 * std::int64_t{0x7fffffff},
                    "the archive ends inside its directory: 2 of 2147483647 records are whole"},
       }) {
    const read_result r = read(c.bytes);
    EXPECT_EQ(r.out, c.out) << c.title;
    EXPECT_EQ(r.info.count, c.count) << c.title;
    EXPECT_EQ(r.names.size(), c.records) << c.title;
    EXPECT_EQ(r.info.data_start, c.data_start) << c.title;
    EXPECT_EQ(r.info.error, c.error) << c.title;
  }
}

// Enough records to span several of the reader's blocks, the last one partial.
TEST(ReadDirectory, ManyRecordsAcrossBlocks) {
  constexpr std::int32_t n = 5000;
  std::string bytes = std::string(12, '\0') + le(n);
  for (std::int32_t i = 0; i < n; ++i) bytes += record("m" + std::to_string(i), i, 2 * i);
  const read_result r = read(bytes);
  ASSERT_EQ(r.names.size(), static_cast<std::size_t>(n));
  EXPECT_EQ(r.info.error, "");
  for (std::int32_t i : {0, 2047, 2048, 4095, 4096, n - 1}) {
    EXPECT_EQ(r.names[i], "m" + std::to_string(i));
    EXPECT_EQ(r.entries[i].offset, i);
    EXPECT_EQ(r.entries[i].size, 2 * i);
  }
}

}  // namespace
