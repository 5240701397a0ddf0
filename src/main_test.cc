// extract_entry over an archive that has no file descriptor, so members larger than the copy
// buffer go through the buffered copy rather than the kernel's (as on platforms without one).
#include "main.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "archive_reader.h"

namespace fs = std::filesystem;

namespace {

std::string le(std::uint32_t v) {
  return {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
          static_cast<char>((v >> 16) & 0xff), static_cast<char>((v >> 24) & 0xff)};
}

// Runs the extraction of every member of `archive` in a fresh directory.
struct extracted {
  std::string err;
  bool clean = true;
  std::string file(const std::string& name) const {
    std::ifstream in(dir / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path dir;
};

extracted extract_all(const std::string& archive_bytes) {
  extracted result;
  std::string pattern = (fs::temp_directory_path() / "vostrel_main_test-XXXXXX").string();
  EXPECT_NE(::mkdtemp(pattern.data()), nullptr);
  result.dir = pattern;
  const fs::path home = fs::current_path();
  fs::current_path(result.dir);

  const auto* p = reinterpret_cast<const unsigned char*>(archive_bytes.data());
  memory_archive archive({p, archive_bytes.size()});
  std::ostringstream out;
  std::ostringstream err;
  entry_list entries(out);
  const directory_info info = read_directory(archive, entries, out);
  extraction run{archive, entries, info.data_start, err, {}};
  for (std::int32_t i = 0; i < entries.count(); ++i) result.clean &= extract_entry(run, i);
  result.err = err.str();
  fs::current_path(home);
  return result;
}

std::string archive_of(const std::string& name, const std::string& data, std::uint32_t size) {
  std::string record = name;
  record.resize(16, '\0');
  record += le(0) + le(size) + std::string(8, '\0');
  return std::string(12, 'h') + le(1) + record + data;
}

TEST(ExtractEntry, LargeMembersThroughTheBuffer) {
  std::string big((5 << 20) + 3, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4096);
  std::string ogg = big;
  ogg.replace(64, 4, "OggS");

  const extracted whole =
      extract_all(archive_of("big", big, static_cast<std::uint32_t>(big.size())));
  EXPECT_TRUE(whole.clean) << whole.err;
  EXPECT_EQ(whole.file("big"), big);

  const extracted stream =
      extract_all(archive_of("s", ogg, static_cast<std::uint32_t>(ogg.size())));
  EXPECT_TRUE(stream.clean) << stream.err;
  EXPECT_EQ(stream.file("s.ogg"), ogg.substr(64));

  const extracted cut = extract_all(archive_of("cut", big, 7 << 20));
  EXPECT_FALSE(cut.clean);
  EXPECT_EQ(cut.file("cut"), big);
  EXPECT_NE(cut.err.find("wrote 5242883 of 7340032 bytes"), std::string::npos) << cut.err;

  for (const auto* r : {&whole, &stream, &cut}) fs::remove_all(r->dir);
}

}  // namespace
