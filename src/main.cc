// tool_main and extract_entry: from the command line to one output file per member.
#include "main.h"

#include <algorithm>
#include <array>
#include <new>
#include <string>
#include <string_view>

#include "archive_reader.h"
#include "member_name.h"
#include "output_file.h"

namespace {

constexpr std::string_view ogg_capture_pattern = "OggS";

// Members are copied through a buffer of at most this size, so memory does not grow with them.
constexpr std::int64_t copy_chunk_size = std::int64_t{1} << 20;

bool report(extraction& run, std::int32_t index, const std::string& name, const std::string& what) {
  run.err << "error: member " << index << " \"" << printable_name(name) << "\": " << what
          << std::endl;
  return false;
}

// True when the four bytes at `pos` are the Ogg capture pattern.
bool has_ogg_signature(archive_source& archive, std::int64_t pos) {
  std::array<unsigned char, 4> probe{};
  if (archive.read_at(pos, probe, nullptr) != static_cast<std::int64_t>(probe.size())) {
    return false;
  }
  return std::equal(probe.begin(), probe.end(), ogg_capture_pattern.begin(),
                    [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); });
}

}  // namespace

bool extract_entry(extraction& run, std::int32_t index) {
  const entry_node* node = run.entries.at(index);
  if (node == nullptr) return true;  // at() has said why

  std::string name = node->name;
  std::int64_t start = run.data_start + node->offset;
  std::int64_t size = node->size;
  if (size < 0) return report(run, index, name, "negative size " + std::to_string(size));
  if (start < 0) {
    return report(
        run, index, name,
        "its data would start before the archive (offset " + std::to_string(node->offset) + ")");
  }

  // The signature is looked for only where the member itself holds it.
  const std::int64_t archive_length = run.archive.length();
  constexpr std::int64_t probe_end = stream_prefix_size + 4;
  if (size >= probe_end && start + probe_end <= archive_length &&
      has_ogg_signature(run.archive, start + stream_prefix_size)) {
    name += ".ogg";
    start += stream_prefix_size;
    size -= stream_prefix_size;
  }

  if (name.empty()) return true;  // no file can bear an empty name
  if (const std::string reason = unsafe_name_reason(name); !reason.empty()) {
    return report(run, index, name, reason + "; not extracted");
  }
  if (size > 0 && start >= archive_length) {
    return report(run, index, name, "its data starts past the end of the archive");
  }

  std::string error;
  output_file out;
  if (!out.open(name, &error)) return report(run, index, name, error);

  std::int64_t copied = 0;
  while (copied < size) {
    const std::int64_t chunk = std::min(size - copied, copy_chunk_size);
    if (run.buffer.size() < static_cast<std::size_t>(chunk)) {
      run.buffer.resize(static_cast<std::size_t>(chunk));
    }
    const std::span<unsigned char> dst(run.buffer.data(), static_cast<std::size_t>(chunk));
    const std::int64_t n = run.archive.read_at(start + copied, dst, &error);
    if (n < 0) return report(run, index, name, "can't read the archive: " + error);
    if (!out.write(dst.first(static_cast<std::size_t>(n)), &error)) {
      return report(run, index, name, error);
    }
    copied += n;
    if (n < chunk) break;  // the archive ends inside this member
  }
  if (!out.commit(&error)) return report(run, index, name, error);

  if (copied < size) {
    return report(run, index, name,
                  "the archive ends inside the member: wrote " + std::to_string(copied) + " of " +
                      std::to_string(size) + " bytes");
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
    entry_list entries(out);
    const directory_info directory = read_directory(*archive, entries, out);
    if (!directory.error.empty()) {
      err << "error: " << directory.error << std::endl;
      clean = false;
    }
    extraction run{*archive, entries, directory.data_start, err, {}};
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
