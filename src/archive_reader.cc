// read_directory: member count and directory records into the entry_list.
#include "archive_reader.h"

#include <algorithm>
#include <array>
#include <vector>

entry_record decode_entry_record(const unsigned char* p) {
  entry_record record;
  record.name = std::string_view(reinterpret_cast<const char*>(p), entry_name_size);
  record.offset = static_cast<std::int32_t>(read_u32le(p + 16));
  record.size = static_cast<std::int32_t>(read_u32le(p + 20));
  return record;
}

directory_info read_directory(archive_source& archive, entry_list& entries, std::ostream& out) {
  directory_info info;
  info.data_start = directory_position;

  std::array<unsigned char, 4> count_field{};
  std::string read_error;
  const std::int64_t got = archive.read_at(count_position, count_field, &read_error);
  if (got != static_cast<std::int64_t>(count_field.size())) {
    info.error = got < 0 ? "can't read the archive: " + read_error
                         : "the archive ends before its member count";
    return info;
  }
  info.count = static_cast<std::int32_t>(read_u32le(count_field.data()));
  out << "number of files: " << info.count << std::endl;
  if (info.count <= 0) return info;

  // The data area begins where the directory the count declares would end, whether or not the
  // archive actually holds that much directory.
  info.data_start = directory_position + entry_record_size * info.count;

  // Read the directory in blocks of records rather than all at once, so a count far larger than
  // the archive costs nothing beyond the records that really exist.
  constexpr std::int64_t records_per_block = 2048;
  std::vector<unsigned char> block;
  std::int64_t records_read = 0;
  while (records_read < info.count) {
    const std::int64_t wanted =
        std::min<std::int64_t>(records_per_block, info.count - records_read);
    block.resize(static_cast<std::size_t>(wanted * entry_record_size));
    const std::int64_t n =
        archive.read_at(directory_position + records_read * entry_record_size, block, &read_error);
    if (n < 0) {
      info.error = "can't read the archive's directory: " + read_error;
      return info;
    }
    const std::int64_t whole = n / entry_record_size;
    for (std::int64_t i = 0; i < whole; ++i) {
      const entry_record record = decode_entry_record(block.data() + i * entry_record_size);
      entries.append(record.name, record.offset, record.size);
    }
    records_read += whole;
    if (whole < wanted) {
      info.error = "the archive ends inside its directory: " + std::to_string(records_read) +
                   " of " + std::to_string(info.count) + " records are whole";
      return info;
    }
  }
  return info;
}
