// Test archive composition.
#include "archive_writer.h"

std::string u32le(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int k = 0; k < 4; ++k) bytes[k] = static_cast<char>((value >> (8 * k)) & 0xff);
  return bytes;
}

std::string with_stream_prefix(std::string_view stream) {
  std::string body = filler(64, 'p');
  body += stream;
  return body;
}

std::string filler(std::size_t size, char seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>(seed + static_cast<char>(i % 23));
  return bytes;
}

std::string make_archive(const std::vector<test_member>& members, const archive_options& options) {
  std::string header = options.header;
  header.resize(12, '\0');
  const auto count = options.count.value_or(static_cast<std::int32_t>(members.size()));

  std::string directory;
  std::string data;
  for (const test_member& m : members) {
    std::string name = m.name;
    name.resize(16, '\0');
    directory += name;
    directory += u32le(
        static_cast<std::uint32_t>(m.offset.value_or(static_cast<std::int32_t>(data.size()))));
    directory += u32le(
        static_cast<std::uint32_t>(m.size.value_or(static_cast<std::int32_t>(m.data.size()))));
    std::string tail = options.record_tail;
    tail.resize(8, '\0');
    directory += tail;
    data += m.data;
  }

  std::string archive = header + u32le(static_cast<std::uint32_t>(count)) + directory + data;
  if (options.truncate_to && *options.truncate_to < archive.size()) {
    archive.resize(*options.truncate_to);
  }
  return archive;
}
