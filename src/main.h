// tool_main: the command-line driver. It opens the archive, reads its directory, extracts every
// member with extract_entry and reports on the console.
//
// Data flow: argv[1] -> file_archive (archive_file.h) -> read_directory (archive_reader.h) fills
// the entry_list (entry_list.h) -> extract_entry per member -> output_file (output_file.h) on disk.
#ifndef VOSTREL_DAT_MAIN_H_
#define VOSTREL_DAT_MAIN_H_

#include <cstdint>
#include <ostream>
#include <vector>

#include "archive_file.h"
#include "entry_list.h"

// A member whose bytes 64..67 are "OggS" carries an Ogg stream behind a prefix of this size.
inline constexpr std::int64_t stream_prefix_size = 64;

// Exit statuses.
inline constexpr int exit_ok = 0;             // every member extracted, nothing reported
inline constexpr int exit_usage_or_open = 1;  // wrong arguments, or the archive can't be opened
inline constexpr int exit_member_errors = 2;  // the run went on but reported at least one error

// What extract_entry needs from the run.
struct extraction {
  archive_source& archive;
  entry_list& entries;
  std::int64_t data_start;
  std::ostream& err;
  std::vector<unsigned char> buffer;  // copy buffer, reused across members
};

// Copies member `index` to a file of its name in the current directory, or, for a member that
// carries an Ogg stream behind its prefix, the stream alone to NAME.ogg. Returns false when it
// reported an error on run.err.
bool extract_entry(extraction& run, std::int32_t index);

// Runs the tool over argv; returns the process exit status.
int tool_main(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

#endif  // VOSTREL_DAT_MAIN_H_
