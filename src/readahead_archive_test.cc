#include "readahead_archive.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts the reads that reach the archive underneath.
class counting_archive final : public archive_source {
 public:
  explicit counting_archive(std::span<const unsigned char> bytes) : inner_(bytes) {}
  std::int64_t length() const override { return inner_.length(); }
  std::int64_t read_at(std::int64_t pos, std::span<unsigned char> dst,
                       std::string* error) override {
    ++reads;
    return inner_.read_at(pos, dst, error);
  }
  int reads = 0;

 private:
  memory_archive inner_;
};

std::vector<unsigned char> pattern(std::size_t n) {
  std::vector<unsigned char> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(i * 31 + i / 251);
  return bytes;
}

TEST(ReadaheadArchive, EveryReadMatchesTheArchive) {
  const std::vector<unsigned char> bytes = pattern(10000);
  memory_archive truth(bytes);
  counting_archive inner(bytes);
  readahead_archive archive(inner, 1024);

  struct read_case {
    std::int64_t pos;
    std::size_t size;
  };
  // In order, backwards, across the window's edge, past the end, and larger than the window.
  for (const read_case& c :
       {read_case{0, 4}, read_case{4, 200}, read_case{900, 200}, read_case{100, 10},
        read_case{9990, 100}, read_case{10000, 4}, read_case{20000, 4}, read_case{5000, 3000},
        read_case{1, 0}, read_case{9000, 256}}) {
    std::vector<unsigned char> got(c.size, 0xee);
    std::vector<unsigned char> want(c.size, 0xee);
    const std::int64_t n = archive.read_at(c.pos, got, nullptr);
    EXPECT_EQ(n, truth.read_at(c.pos, want, nullptr)) << c.pos;
    EXPECT_EQ(got, want) << c.pos;
  }
}

TEST(ReadaheadArchive, SmallReadsInOrderShareOneRead) {
  const std::vector<unsigned char> bytes = pattern(4096);
  counting_archive inner(bytes);
  readahead_archive archive(inner, 4096);
  std::vector<unsigned char> got(100);
  for (std::int64_t pos = 0; pos + 100 <= 4096; pos += 100) {
    ASSERT_EQ(archive.read_at(pos, got, nullptr), 100);
    EXPECT_EQ(got[0], bytes[static_cast<std::size_t>(pos)]);
  }
  EXPECT_EQ(inner.reads, 1);
}

}  // namespace
