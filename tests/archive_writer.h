// Composes archives for tests from (name, bytes) lists, with every raw field open to override so
// damaged and hostile archives are as easy to write as good ones.
#ifndef VOSTREL_DAT_TESTS_ARCHIVE_WRITER_H_
#define VOSTREL_DAT_TESTS_ARCHIVE_WRITER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct test_member {
  std::string name;  // stored name bytes; 16 bytes leave the field without a terminator
  std::string data;  // placed in the data area right after the previous member's data
  std::optional<std::int32_t> offset = std::nullopt;  // stored instead of the real offset
  std::optional<std::int32_t> size = std::nullopt;    // stored instead of data.size()
};

struct archive_options {
  std::optional<std::int32_t> count = std::nullopt;       // stored instead of the number of members
  std::optional<std::size_t> truncate_to = std::nullopt;  // cut the finished archive here
  std::string header = "vostrel test";                    // the 12 unread header bytes
  std::string record_tail = std::string(8, '\0');         // each record's 8 unread bytes
};

// The archive bytes for `members` in directory order.
std::string make_archive(const std::vector<test_member>& members,
                         const archive_options& options = {});

// The 32-bit little-endian encoding of `value`.
std::string u32le(std::uint32_t value);

// A member body that carries `stream` behind a 64-byte prefix.
std::string with_stream_prefix(std::string_view stream);

// `size` bytes of a repeating pattern that holds no "OggS" anywhere.
std::string filler(std::size_t size, char seed = 'a');

#endif  // VOSTREL_DAT_TESTS_ARCHIVE_WRITER_H_
