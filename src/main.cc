// tool_main and extract_entry: from the command line to one output file per member.
#include "main.h"

#include <algorithm>
#include <new>
#include <string>
#include <string_view>

#include "archive_reader.h"
#include "member_name.h"
#include "output_file.h"
#include "readahead_archive.h"

namespace {

constexpr std::string_view ogg_capture_pattern = "OggS";
constexpr std::int64_t probe_end = stream_prefix_size + 4;

// Members are read through a buffer of at most this size, so memory does not grow with them.
constexpr std::int64_t copy_chunk_size = std::int64_t{1} << 20;

bool report(extraction& run, std::int32_t index, const std::string& name, const std::string& what) {
  run.err << "error: member " << index << " \"" << printable_name(name) << "\": " << what
          << std::endl;
  return false;
}

// True when `member` (the start of a member's bytes) holds the Ogg signature behind its prefix.
bool has_ogg_signature(std::span<const unsigned char> member) {
  if (member.size() < static_cast<std::size_t>(probe_end)) return false;
  return std::equal(ogg_capture_pattern.begin(), ogg_capture_pattern.end(),
                    member.begin() + stream_prefix_size,
                    [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });
}

// Copies archive bytes [pos, pos + len) to `out`, by the kernel where it can and through the
// buffer otherwise. Returns the count copied, short only where the archive ends, or -1 with
// *error set.
std::int64_t copy_range(extraction& run, output_file& out, std::int64_t pos, std::int64_t len,
                        std::string* error) {
  std::int64_t done = 0;
  if (const int fd = run.archive.native_handle(); fd >= 0) {
    bool unsupported = false;
    if (out.copy_from(fd, pos, len, &done, &unsupported, error)) return done;
    if (!unsupported) return -1;
  }
  while (done < len) {
    const std::int64_t chunk = std::min(len - done, copy_chunk_size);
    if (run.buffer.size() < static_cast<std::size_t>(chunk)) {
      run.buffer.resize(static_cast<std::size_t>(chunk));
    }
    const std::span<unsigned char> dst(run.buffer.data(), static_cast<std::size_t>(chunk));
    const std::int64_t n = run.archive.read_at(pos + done, dst, error);
    if (n < 0) {
      *error = "can't read the archive: " + *error;
      return -1;
    }
    if (!out.write(dst.first(static_cast<std::size_t>(n)), error)) return -1;
    done += n;
    if (n < chunk) break;  // the archive ends here
  }
  return done;
}

}  // namespace

bool extract_entry(extraction& run, std::int32_t index) {
  const entry_node* node = run.entries.at(index);
  if (node == nullptr) return true;  // at() has said why

  std::string name(node->name());
  const std::int64_t start = run.data_start + node->offset;
  const std::int64_t size = node->size;
  if (size < 0) return report(run, index, name, "negative size " + std::to_string(size));
  if (start < 0) {
    return report(
        run, index, name,
        "its data would start before the archive (offset " + std::to_string(node->offset) + ")");
  }

  // The first piece of the member holds the Ogg signature, if there is one, and for most members
  // the whole member, so a member usually costs one read. The signature counts only where the
  // member itself holds it.
  const std::int64_t first_size = std::min(size, copy_chunk_size);
  if (run.buffer.size() < static_cast<std::size_t>(first_size)) {
    // Grow by doubling up to the chunk size: small archives never pay for a large buffer.
    run.buffer.resize(static_cast<std::size_t>(std::min(
        copy_chunk_size, std::max(first_size, 2 * static_cast<std::int64_t>(run.buffer.size())))));
  }
  std::string error;
  const std::span<unsigned char> first(run.buffer.data(), static_cast<std::size_t>(first_size));
  const std::int64_t got = run.archive.read_at(start, first, &error);
  if (got < 0) return report(run, index, name, "can't read the archive: " + error);
  const auto held = first.first(static_cast<std::size_t>(got));
  const std::int64_t skip = has_ogg_signature(held) ? stream_prefix_size : 0;
  if (skip > 0) name += ".ogg";

  if (name.empty()) return true;  // no file can bear an empty name
  if (const std::string reason = unsafe_name_reason(name); !reason.empty()) {
    return report(run, index, name, reason + "; not extracted");
  }
  if (size > 0 && start >= run.archive.length()) {
    return report(run, index, name, "its data starts past the end of the archive");
  }

  output_file out;
  if (!out.open(name, &error)) return report(run, index, name, error);
  if (!out.write(held.subspan(static_cast<std::size_t>(skip)), &error)) {
    return report(run, index, name, error);
  }
  std::int64_t copied = got;
  if (got == first_size && copied < size) {
    const std::int64_t rest = copy_range(run, out, start + copied, size - copied, &error);
    if (rest < 0) return report(run, index, name, error);
    copied += rest;
  }
  if (!out.commit(&error)) return report(run, index, name, error);

  if (copied < size) {
    return report(run, index, name,
                  "the archive ends inside the member: wrote " + std::to_string(copied - skip) +
                      " of " + std::to_string(size - skip) + " bytes");
  }
  return true;
}

int tool_main(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  if (argc != 2) {
    out << "usage: ./vostrel_dat [infile]" << std::endl;
    return exit_usage_or_open;
  }
  std::unique_ptr<file_archive> archive = file_archive::open(argv[1]);
  if (archive == nullptr) {
    err << "error: can't open file" << std::endl;
    return exit_usage_or_open;
  }

  bool clean = true;
  try {
    readahead_archive reader(*archive);
    entry_list entries(out);
    const directory_info directory = read_directory(reader, entries, out);
    if (!directory.error.empty()) {
      err << "error: " << directory.error << std::endl;
      clean = false;
    }
    extraction run{reader, entries, directory.data_start, err, {}};
    for (std::int32_t index = 0; index < entries.count(); ++index) {
      if (!extract_entry(run, index)) clean = false;
    }
  } catch (const std::bad_alloc&) {
    // Every allocation is bounded by the archive's length; should one still fail, say so plainly
    // rather than end abnormally.
    err << "error: out of memory" << std::endl;
    clean = false;
  }
  archive.reset();
  out << "finished" << std::endl;
  return clean ? exit_ok : exit_member_errors;
}
