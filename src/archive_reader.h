// The archive layout and read_directory, which loads the member count and directory.
//
// Layout (integers are 32-bit little-endian):
//   0   12        header bytes, not read
//   12  4         member count, signed
//   16  32*count  directory: one entry_record per member
//   ... to end    data area; member offsets count from its first byte, data_start
#ifndef VOSTREL_DAT_ARCHIVE_READER_H_
#define VOSTREL_DAT_ARCHIVE_READER_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "archive_file.h"
#include "entry_list.h"

inline constexpr std::int64_t count_position = 12;
inline constexpr std::int64_t directory_position = 16;
inline constexpr std::int64_t entry_record_size = 32;

// Decodes a 32-bit little-endian field: byte k supplies bits 8k to 8k+7.
// REQUIRES: p points to at least 4 readable bytes.
inline std::uint32_t read_u32le(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One 32-byte directory record: name[16], offset, size, then 8 bytes nothing interprets.
struct entry_record {
  std::string_view name;  // all 16 name bytes; the name ends at the first zero byte, if any
  std::int32_t offset;
  std::int32_t size;
};

// REQUIRES: p points to at least entry_record_size readable bytes, which outlive the result.
entry_record decode_entry_record(const unsigned char* p);

struct directory_info {
  std::int32_t count = 0;       // as stored; zero or less means no records
  std::int64_t data_start = 0;  // absolute position of the data area
  std::string error;            // set when the count or the directory could not be read whole
};

// Reads the member count, prints "number of files: N" on `out`, and appends one node per
// directory record that the archive holds whole. Work and memory are bounded by the archive's
// length, whatever the count claims.
// REQUIRES: `entries` is empty.
directory_info read_directory(archive_source& archive, entry_list& entries, std::ostream& out);

#endif  // VOSTREL_DAT_ARCHIVE_READER_H_
