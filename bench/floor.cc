// The floor for the extraction benchmark: the least any extractor of this format must do, with no
// checks at all. It trusts the archive completely, so run it only on the benchmark's own archives.
//
//   floor write ARCHIVE   maps the whole archive into memory once; per member only creates,
//                         writes and closes its file (members holding an Ogg stream behind the
//                         64-byte prefix go to NAME.ogg without it, as the tool writes them)
//   floor copy ARCHIVE    per member creates its file, has the kernel copy the member into it
//                         with copy_file_range, and closes it (no Ogg rule: for archives of plain
//                         members)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::uint32_t le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

int fail(const char* what) {
  std::perror(what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: floor write|copy ARCHIVE\n", stderr);
    return 2;
  }
  const std::string_view mode = argv[1];
  const int in = ::open(argv[2], O_RDONLY);
  if (in < 0) return fail("open archive");

  // The archive's bytes: mapped whole for "write"; for "copy" only the count and directory are
  // read into memory.
  const unsigned char* bytes = nullptr;
  std::vector<unsigned char> directory;
  if (mode == "write") {
    struct stat st {};
    if (::fstat(in, &st) != 0) return fail("fstat");
    void* map =
        ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, in, 0);
    if (map == MAP_FAILED) return fail("mmap");
    bytes = static_cast<const unsigned char*>(map);
  } else {
    unsigned char count_field[4];
    if (::pread(in, count_field, 4, 12) != 4) return fail("read count");
    directory.resize(16 + 32 * static_cast<std::size_t>(le32(count_field)));
    if (::pread(in, directory.data(), directory.size(), 0) !=
        static_cast<ssize_t>(directory.size())) {
      return fail("read directory");
    }
    bytes = directory.data();
  }

  const std::uint32_t count = le32(bytes + 12);
  const std::int64_t data_start = 16 + 32 * std::int64_t{count};
  for (std::uint32_t i = 0; i < count; ++i) {
    const unsigned char* record = bytes + 16 + 32 * std::size_t{i};
    std::string name(reinterpret_cast<const char*>(record),
                     strnlen(reinterpret_cast<const char*>(record), 16));
    std::int64_t start = data_start + static_cast<std::int32_t>(le32(record + 16));
    std::int64_t size = static_cast<std::int32_t>(le32(record + 20));
    if (mode == "write" && size >= 68 && std::memcmp(bytes + start + 64, "OggS", 4) == 0) {
      name += ".ogg";
      start += 64;
      size -= 64;
    }
    const int out = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (out < 0) return fail("create");
    if (mode == "write") {
      if (::write(out, bytes + start, static_cast<std::size_t>(size)) != size) {
        return fail("write");
      }
    } else {
      loff_t pos = start;
      std::int64_t left = size;
      while (left > 0) {
        const ssize_t n =
            ::copy_file_range(in, &pos, out, nullptr, static_cast<std::size_t>(left), 0);
        if (n <= 0) return fail("copy_file_range");
        left -= n;
      }
    }
    if (::close(out) != 0) return fail("close");
  }
  return 0;
}
