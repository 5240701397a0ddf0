// The tool as a process: each case runs it over a composed archive in a fresh directory and
// checks the console, the exit status and every file the directory holds afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "child_process.h"
#include "tool_command.h"

namespace fs = std::filesystem;

namespace {

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// Everything under `dir`: files map to their bytes, directories to "<dir>", symlinks to
// "-> target", so a stray temporary file or a replaced link shows up in a comparison.
std::map<std::string, std::string> tree(const fs::path& dir) {
  std::map<std::string, std::string> found;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    const std::string rel = fs::relative(e.path(), dir).string();
    if (e.is_symlink()) {
      found[rel] = "-> " + fs::read_symlink(e.path()).string();
    } else if (e.is_directory()) {
      found[rel] = "<dir>";
    } else {
      found[rel] = read_file(e.path());
    }
  }
  return found;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

std::string progress(int count) {
  return "number of files: " + std::to_string(count) + "\nfinished\n";
}

struct tool_case {
  std::string title;
  std::string archive;
  // Made in the working directory before the run: "<dir>" makes a directory, "-> x" a symlink.
  std::map<std::string, std::string> before{};
  int status = 0;
  std::string out{};
  std::vector<std::string> errors{};           // each standard error line must contain its entry
  std::map<std::string, std::string> after{};  // the working directory's whole content afterwards
  std::optional<unsigned long> file_size_limit = std::nullopt;
  // RLIMIT_AS for the run: proves memory follows the copy buffer, not the sizes members claim.
  // Not applied against a Windows build: wine itself cannot start in a small address space.
  std::optional<unsigned long> address_space_limit = std::nullopt;
  // A path outside the working directory that a refused name points at; it must not appear.
  std::string must_not_appear{};
  // Why the case holds only for a POSIX build, or only for a Windows one; it is skipped, with
  // this reason, against the other.
  const char* posix_only = nullptr;
  const char* windows_only = nullptr;
  // Replaces `errors` against a Windows build where the system's own error text differs.
  std::vector<std::string> windows_errors{};
};

// A small address space, except under sanitizers, which reserve far more than this up front.
#if !defined(__SANITIZE_ADDRESS__) && !defined(VOSTREL_SANITIZED)
constexpr std::optional<unsigned long> small_address_space = 64ul << 20;
#else
constexpr std::optional<unsigned long> small_address_space = std::nullopt;
#endif

void PrintTo(const tool_case& c, std::ostream* os) { *os << c.title; }

std::vector<tool_case> tool_cases() {
  const std::string se01 = filler(500);
  const std::string bgm01 = filler(64, 'b') + "OggS" + filler(896, 'o');  // 964 bytes
  const std::string tiny = "ten bytes!";
  const std::string ogg_stream = "OggS" + filler(96, 's');
  const std::string ogg_body = with_stream_prefix(ogg_stream);  // 164 bytes
  // Members larger than the copy buffer go through a second copying path.
  const std::string big = filler((3 << 20) + 5, 'B');
  const std::string big_ogg = with_stream_prefix("OggS" + big);

  std::vector<tool_case> cases = {
      {.title = "count_zero", .archive = make_archive({}), .out = progress(0)},
      {.title = "negative_count_reads_no_record",
       .archive = make_archive({{"a", "x"}}, {.count = -1}),
       .out = progress(-1)},
      {.title = "plain_member_written_as_stored",
       .archive = make_archive({{"se01", se01}}),
       .out = progress(1),
       .after = {{"se01", se01}}},
      {.title = "ogg_member_loses_its_prefix",
       .archive = make_archive({{"bgm01", bgm01}}),
       .out = progress(1),
       .after = {{"bgm01.ogg", bgm01.substr(64)}}},
      {.title = "signature_is_case_sensitive",
       .archive = make_archive({{"lower", filler(64) + "oggs" + filler(10)},
                                {"upper", filler(64) + "OGGS" + filler(10)}}),
       .out = progress(2),
       .after = {{"lower", filler(64) + "oggs" + filler(10)},
                 {"upper", filler(64) + "OGGS" + filler(10)}}},
      {.title = "signature_at_byte_zero_only_is_plain",
       .archive = make_archive({{"raw", ogg_stream}}),
       .out = progress(1),
       .after = {{"raw", ogg_stream}}},
      {.title = "signature_at_zero_and_sixty_four",
       .archive = make_archive({{"both", "OggS" + filler(60) + "OggS" + filler(8)}}),
       .out = progress(1),
       .after = {{"both.ogg", "OggS" + filler(8)}}},
      {.title = "size_68_holds_the_signature",
       .archive = make_archive({{"s68", filler(64) + "OggS"}}),
       .out = progress(1),
       .after = {{"s68.ogg", "OggS"}}},
      // A signature that only completes in the next member's bytes does not belong to this one.
      {.title = "size_67_is_never_probed",
       .archive = make_archive({{"s67", filler(64) + "Ogg"}, {"next", "S" + filler(20)}}),
       .out = progress(2),
       .after = {{"s67", filler(64) + "Ogg"}, {"next", "S" + filler(20)}}},
      {.title = "size_64_followed_by_signature_stays_whole",
       .archive = make_archive({{"s64", filler(64)}, {"next", ogg_stream}}),
       .out = progress(2),
       .after = {{"s64", filler(64)}, {"next", ogg_stream}}},
      {.title = "bytes_after_the_prefix_are_kept_exactly",
       .archive = make_archive({{"a", ogg_body}, {"b", se01}}),
       .out = progress(2),
       .after = {{"a.ogg", ogg_stream}, {"b", se01}}},
      {.title = "size_zero_gives_an_empty_file",
       .archive = make_archive({{"empty", ""}}),
       .out = progress(1),
       .after = {{"empty", ""}}},
      {.title = "short_member_ending_the_archive",
       .archive = make_archive({{"first", se01}, {"tiny", tiny, 500}, {"third", "", 0, 500}}),
       .out = progress(3),
       .after = {{"first", se01}, {"tiny", tiny}, {"third", se01}}},
      {.title = "empty_name_plain_member_is_skipped",
       .archive = make_archive({{"", se01}, {"kept", tiny}}),
       .out = progress(2),
       .after = {{"kept", tiny}}},
      {.title = "empty_name_ogg_member_becomes_dot_ogg",
       .archive = make_archive({{"", ogg_body}}),
       .out = progress(1),
       .after = {{".ogg", ogg_stream}}},
      {.title = "duplicate_names_later_member_wins",
       .archive = make_archive({{"dup", se01}, {"dup", tiny}}),
       .out = progress(2),
       .after = {{"dup", tiny}}},
      {.title = "existing_file_is_replaced",
       .archive = make_archive({{"se01", se01}}),
       .before = {{"se01", "old content, longer than ten bytes"}},
       .out = progress(1),
       .after = {{"se01", se01}}},
      {.title = "name_bytes_behind_the_terminator_are_dropped",
       .archive = make_archive({{std::string("abc\0xyz", 7), tiny}}),
       .out = progress(1),
       .after = {{"abc", tiny}}},
      {.title = "fifteen_byte_name",
       .archive = make_archive({{"fifteen_bytes_1", tiny}}),
       .out = progress(1),
       .after = {{"fifteen_bytes_1", tiny}}},
      // A name that fills its whole field is the 16 bytes, never more.
      // The second member's offset field starts with a non-zero byte, so reading past the name
      // field would show.
      {.title = "sixteen_byte_name_without_terminator",
       .archive = make_archive({{"first", tiny}, {"sixteen_bytes_12", tiny}}),
       .out = progress(2),
       .after = {{"first", tiny}, {"sixteen_bytes_12", tiny}}},
      {.title = "header_and_record_tails_are_not_read",
       .archive = make_archive({{"a", tiny}}, {.header = std::string(12, '\xff'),
                                               .record_tail = std::string(8, '\xee')}),
       .out = progress(1),
       .after = {{"a", tiny}}},
      {.title = "name_through_an_existing_subdirectory",
       .archive = make_archive({{"sub/x", tiny}}),
       .before = {{"sub", "<dir>"}},
       .out = progress(1),
       .after = {{"sub", "<dir>"}, {"sub/x", tiny}}},
      // A link in the way is replaced by the member, never written through.
      {.title = "symlink_at_the_name_is_replaced_not_followed",
       .archive = make_archive({{"link", tiny}}),
       .before = {{"target", "untouched"}, {"link", "-> target"}},
       .out = progress(1),
       .after = {{"target", "untouched"}, {"link", tiny}}},
      {.title = "negative_offset_may_read_the_directory",
       .archive = make_archive({{"dir", "", -32, 32}}),
       .out = progress(1),
       .after = {{"dir", std::string("dir") + std::string(13, '\0') +
                             u32le(static_cast<std::uint32_t>(-32)) + u32le(32) +
                             std::string(8, '\0')}}},

      // Unsafe names: refused with an error line, and the rest of the archive goes on.
      {.title = "absolute_name_is_refused",
       .archive = make_archive({{"/tmp/vd_abs_test", tiny}, {"ok", tiny}}),
       .status = 2,
       .out = progress(2),
       .errors = {"error: member 0 \"/tmp/vd_abs_test\": the name is an absolute path"},
       .after = {{"ok", tiny}},
       .must_not_appear = "/tmp/vd_abs_test"},
      {.title = "parent_components_are_refused",
       .archive = make_archive({{"../up", tiny}, {"a/../b", tiny}, {"..", tiny}, {"ok", tiny}}),
       .before = {{"a", "<dir>"}},
       .status = 2,
       .out = progress(4),
       .errors = {"member 0 \"../up\": the name has a \"..\" component",
                  "member 1 \"a/../b\": the name has a \"..\" component",
                  "member 2 \"..\": the name has a \"..\" component"},
       .after = {{"a", "<dir>"}, {"ok", tiny}}},
      {.title = "dots_that_are_not_a_parent_component_are_fine",
       .archive = make_archive({{"..a", tiny}, {"..", ogg_body}}),
       .out = progress(2),
       .after = {{"..a", tiny}, {"...ogg", ogg_stream}}},

      // Bytes that Windows reads as path syntax or devices are plain name bytes on POSIX.
      {.title = "windows_path_syntax_is_plain_bytes",
       .archive = make_archive({{"...", tiny},
                                {"a.", tiny},
                                {"b ", tiny},
                                {"sub\\x", tiny},
                                {"C:x", tiny},
                                {"file:stream", tiny},
                                {"CON", tiny},
                                {"nul.txt", tiny}}),
       .before = {{"sub", "<dir>"}},
       .out = progress(8),
       .after = {{"...", tiny},
                 {"a.", tiny},
                 {"b ", tiny},
                 {"sub", "<dir>"},
                 {"sub\\x", tiny},
                 {"C:x", tiny},
                 {"file:stream", tiny},
                 {"CON", tiny},
                 {"nul.txt", tiny}},
       .posix_only = "on Windows these names are path syntax or devices; the windows_ cases check "
                     "that they are refused there"},
      {.title = "windows_backslashes_drives_and_streams",
       .archive = make_archive({{"\\abs", tiny},
                                {"..\\up", tiny},
                                {"C:x", tiny},
                                {"d:\\x", tiny},
                                {"kept:stream", tiny},
                                {"sub\\in", tiny},
                                {"kept", tiny}}),
       .before = {{"sub", "<dir>"}},
       .status = 2,
       .out = progress(7),
       .errors = {"member 0 \"\\x5cabs\": the name is an absolute path",
                  "member 1 \"..\\x5cup\": the name has a \"..\" component",
                  "member 2 \"C:x\": the name is an absolute path",
                  "member 3 \"d:\\x5cx\": the name is an absolute path",
                  "member 4 \"kept:stream\": the name has a ':'"},
       .after = {{"sub", "<dir>"}, {"sub/in", tiny}, {"kept", tiny}},
       .windows_only = "'\\' separates components, \"C:\" names a drive and ':' a data stream "
                       "only on Windows"},
      // Writing to a device name would send the member to a device, or to nowhere, not a file.
      {.title = "windows_device_names_are_refused",
       .archive = make_archive({{"CON", tiny},
                                {"nul", tiny},
                                {"Aux.txt", tiny},
                                {"sub/com1", tiny},
                                {"LPT9.dat", tiny},
                                {"prn", ogg_body},
                                {"console", tiny},
                                {"COM10", tiny}}),
       .before = {{"sub", "<dir>"}},
       .status = 2,
       .out = progress(8),
       .errors = {"member 0 \"CON\": the name has a component that is a device name",
                  "member 1 \"nul\": the name has a component that is a device name",
                  "member 2 \"Aux.txt\": the name has a component that is a device name",
                  "member 3 \"sub/com1\": the name has a component that is a device name",
                  "member 4 \"LPT9.dat\": the name has a component that is a device name",
                  "member 5 \"prn.ogg\": the name has a component that is a device name"},
       .after = {{"sub", "<dir>"}, {"console", tiny}, {"COM10", tiny}},
       .windows_only = "device names are special only on Windows"},
      // Windows drops trailing dots and spaces, so "a." would be written as "a".
      {.title = "windows_trailing_dots_and_spaces_are_refused",
       .archive = make_archive({{"...", tiny}, {"a.", tiny}, {"b ", tiny}, {"a", tiny}}),
       .status = 2,
       .out = progress(4),
       .errors = {"member 0 \"...\": the name has a component ending in a dot or space",
                  "member 1 \"a.\": the name has a component ending in a dot or space",
                  "member 2 \"b \": the name has a component ending in a dot or space"},
       .after = {{"a", tiny}},
       .windows_only = "only Windows drops trailing dots and spaces from names"},
      {.title = "control_bytes_in_names_are_escaped_in_messages",
       .archive = make_archive({{"../\x1b[2J", tiny}}),
       .status = 2,
       .out = progress(1),
       .errors = {"member 0 \"../\\x1b[2J\": the name has a \"..\" component"}},

      // Member ranges against the archive's length.
      {.title = "member_running_past_the_end_keeps_what_exists",
       .archive = make_archive({{"cut", se01, std::nullopt, 800}}),
       .status = 2,
       .out = progress(1),
       .errors = {"member 0 \"cut\": the archive ends inside the member: wrote 500 of 800 bytes"},
       .after = {{"cut", se01}}},
      {.title = "ogg_member_running_past_the_end",
       .archive = make_archive({{"song", ogg_body, std::nullopt, 1000}}),
       .status = 2,
       .out = progress(1),
       .errors = {"member 0 \"song.ogg\": the archive ends inside the member: wrote 100 of 936"},
       .after = {{"song.ogg", ogg_stream}}},
      {.title = "member_starting_before_the_archive",
       .archive = make_archive({{"before", "", -100, 10}, {"ok", tiny}}),
       .status = 2,
       .out = progress(2),
       .errors = {"member 0 \"before\": its data would start before the archive (offset -100)"},
       .after = {{"ok", tiny}}},
      {.title = "member_starting_at_the_end",
       .archive = make_archive({{"ok", tiny}, {"atend", "", 10, 5}}),
       .status = 2,
       .out = progress(2),
       .errors = {"member 1 \"atend\": its data starts past the end of the archive"},
       .after = {{"ok", tiny}}},
      {.title = "empty_member_past_the_end_is_just_empty",
       .archive = make_archive({{"far", "", 5000, 0}}),
       .out = progress(1),
       .after = {{"far", ""}}},
      {.title = "negative_size_is_refused",
       .archive = make_archive({{"neg", tiny, std::nullopt, -1}, {"huge", tiny, 0, INT32_MIN}}),
       .status = 2,
       .out = progress(2),
       .errors = {"member 0 \"neg\": negative size -1",
                  "member 1 \"huge\": negative size -2147483648"}},
      {.title = "size_claiming_two_gibibytes_writes_what_exists",
       .archive = make_archive({{"big", tiny, std::nullopt, INT32_MAX}}),
       .status = 2,
       .out = progress(1),
       .errors = {"member 0 \"big\": the archive ends inside the member: wrote 10 of 2147483647"},
       .after = {{"big", tiny}},
       .address_space_limit = small_address_space},
      // data_start + offset + 64 overflows 32 bits; in 64 bits it lies past the end.
      {.title = "positions_do_not_wrap_around",
       .archive = make_archive({{"wrap", tiny, INT32_MAX - 10, 100}}),
       .status = 2,
       .out = progress(1),
       .errors = {"member 0 \"wrap\": its data starts past the end of the archive"}},

      // A directory cut off by the end of the archive: whole records still count.
      {.title = "directory_cut_inside_a_record",
       .archive = make_archive({{"head", "", -112, 12}, {"none", "", 0, 0}, {"lost", tiny}},
                               {.truncate_to = 16 + 32 * 2 + 10}),
       .status = 2,
       .out = progress(3),
       .errors = {"the archive ends inside its directory: 2 of 3 records are whole"},
       .after = {{"head", "vostrel test"}, {"none", ""}}},
      {.title = "count_cut_off",
       .archive = std::string("vostrel test\x02", 13),
       .status = 2,
       .out = "finished\n",
       .errors = {"error: the archive ends before its member count"}},
      {.title = "empty_file",
       .archive = "",
       .status = 2,
       .out = "finished\n",
       .errors = {"error: the archive ends before its member count"}},

      // Members larger than the copy buffer.
      {.title = "large_members_copied_whole",
       .archive = make_archive({{"big", big}, {"song", big_ogg}, {"after", tiny}}),
       .out = progress(3),
       .after = {{"big", big}, {"song.ogg", "OggS" + big}, {"after", tiny}}},
      {.title = "large_member_running_past_the_end",
       .archive = make_archive({{"big", big, std::nullopt, 5 << 20}}),
       .status = 2,
       .out = progress(1),
       .errors = {"member 0 \"big\": the archive ends inside the member: wrote 3145733 of 5242880"},
       .after = {{"big", big}}},
      {.title = "large_write_failure_keeps_the_old_file",
       .archive = make_archive({{"old", big}, {"new", big}, {"small", tiny}}),
       .before = {{"old", "old content"}},
       .status = 2,
       .out = progress(3),
       .errors = {"member 0 \"old\": can't write the file: File too large",
                  "member 1 \"new\": can't write the file: File too large"},
       .after = {{"old", "old content"}, {"small", tiny}},
       .file_size_limit = 2 << 20,
       .windows_errors = {"member 0 \"old\": can't write the file: ",
                          "member 1 \"new\": can't write the file: "}},

      // Output files that cannot be created or written.
      {.title = "missing_directory_in_the_name",
       .archive = make_archive({{"nodir/x", tiny}, {"ok", tiny}}),
       .status = 2,
       .out = progress(2),
       .errors = {"member 0 \"nodir/x\": can't create the file: No such file or directory"},
       .after = {{"ok", tiny}},
       .windows_errors = {"member 0 \"nodir/x\": can't create the file: "}},
      {.title = "name_of_an_existing_directory",
       .archive = make_archive({{"sub", tiny}}),
       .before = {{"sub", "<dir>"}},
       .status = 2,
       .out = progress(1),
       .errors = {"member 0 \"sub\": can't replace the existing file: Is a directory"},
       .after = {{"sub", "<dir>"}},
       .windows_errors = {"member 0 \"sub\": can't replace the existing file: "}},
      {.title = "failed_write_keeps_the_old_file_and_leaves_no_trace",
       .archive = make_archive({{"old", filler(5000)}, {"new", filler(5000)}, {"small", tiny}}),
       .before = {{"old", "old content"}},
       .status = 2,
       .out = progress(3),
       .errors = {"member 0 \"old\": can't write the file: File too large",
                  "member 1 \"new\": can't write the file: File too large"},
       .after = {{"old", "old content"}, {"small", tiny}},
       .file_size_limit = 4096,
       // wine passes the file size limit on to the Windows build as a failing WriteFile.
       .windows_errors = {"member 0 \"old\": can't write the file: ",
                          "member 1 \"new\": can't write the file: "}},
  };
  return cases;
}

class ToolCase : public testing::TestWithParam<tool_case> {};

TEST_P(ToolCase, ConsoleStatusAndFiles) {
  const tool_case& c = GetParam();
  const bool windows = testing_windows_build();
  if (windows && c.posix_only != nullptr) GTEST_SKIP() << "POSIX only: " << c.posix_only;
  if (!windows && c.windows_only != nullptr) GTEST_SKIP() << "Windows only: " << c.windows_only;
  const std::vector<std::string>& errors =
      windows && !c.windows_errors.empty() ? c.windows_errors : c.errors;
  temp_dir root;
  const fs::path work = root.path() / "work";
  fs::create_directory(work);
  const fs::path archive = root.path() / "in.dat";
  write_file(archive, c.archive);
  for (const auto& [name, content] : c.before) {
    if (content == "<dir>") {
      fs::create_directory(work / name);
    } else if (content.starts_with("-> ")) {
      fs::create_symlink(content.substr(3), work / name);
    } else {
      write_file(work / name, content);
    }
  }

  if (!c.must_not_appear.empty()) fs::remove(c.must_not_appear);

  const child_result r =
      run_child(tool_command({archive.string()}),
                {.cwd = work,
                 .file_size_limit = c.file_size_limit,
                 .address_space_limit = windows ? std::nullopt : c.address_space_limit});

  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.out, c.out);
  const std::vector<std::string> err_lines = lines(r.err);
  ASSERT_EQ(err_lines.size(), errors.size()) << r.err;
  for (std::size_t i = 0; i < err_lines.size(); ++i) {
    EXPECT_NE(err_lines[i].find(errors[i]), std::string::npos)
        << "line " << i << ": " << err_lines[i] << "\nexpected to contain: " << errors[i];
    EXPECT_TRUE(err_lines[i].starts_with("error: ")) << err_lines[i];
  }
  EXPECT_EQ(tree(work), c.after);
  // Nothing may appear beside the working directory either.
  EXPECT_EQ(tree(root.path()).size(), 2 + tree(work).size());
  if (!c.must_not_appear.empty()) {
    EXPECT_FALSE(fs::exists(c.must_not_appear));
    fs::remove(c.must_not_appear);
  }
}

INSTANTIATE_TEST_SUITE_P(Archives, ToolCase, testing::ValuesIn(tool_cases()),
                         [](const auto& info) { return info.param.title; });

// Command lines that never reach an archive.
struct command_case {
  std::string title;
  std::vector<std::string> args;
  int status;
  std::string out;
  std::string err;
};

void PrintTo(const command_case& c, std::ostream* os) { *os << c.title; }

class CommandLine : public testing::TestWithParam<command_case> {};

TEST_P(CommandLine, PrintsAndFails) {
  const command_case& c = GetParam();
  temp_dir work;
  fs::create_directory(work.path() / "a_directory");
  write_file(work.path() / "in.dat", make_archive({{"x", "data"}}));
  const child_result r = run_child(tool_command(c.args), {.cwd = work.path()});

  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.out, c.out);
  EXPECT_EQ(r.err, c.err);
  EXPECT_FALSE(fs::exists(work.path() / "x")) << "the archive must not be opened";
}

constexpr const char* usage = "usage: ./vostrel_dat [infile]\n";
constexpr const char* cant_open = "error: can't open file\n";

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLine,
    testing::Values(command_case{"no_argument", {}, 1, usage, ""},
                    command_case{"two_arguments", {"in.dat", "in.dat"}, 1, usage, ""},
                    command_case{"missing_archive", {"missing.dat"}, 1, "", cant_open},
                    command_case{"directory_as_archive", {"a_directory"}, 1, "", cant_open}),
    [](const auto& info) { return info.param.title; });

// The shipped sample: its Ogg member comes out byte for byte as the stream that was embedded.
TEST(SampleArchive, ExtractsTheEmbeddedStream) {
  const fs::path examples = VOSTREL_EXAMPLES_DIR;
  temp_dir work;
  const child_result r =
      run_child(tool_command({(examples / "sample.dat").string()}), {.cwd = work.path()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, progress(3));
  EXPECT_EQ(r.err, "");
  const auto files = tree(work.path());
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files.at("bgm01.ogg"), read_file(examples / "tone.ogg"));
  EXPECT_TRUE(files.at("readme.txt").starts_with("This is"));
  EXPECT_EQ(files.at("se01").size(), 200u);
}

// A small file that claims 2^31-1 members finishes at once and within a small address space:
// work and memory follow the archive's length, not the count.
TEST(HostileCounts, HugeCountInATinyArchive) {
  temp_dir root;
  std::vector<test_member> members(31, test_member{"m", "", 0, 0});
  write_file(root.path() / "in.dat", make_archive(members, {.count = INT32_MAX}));
  child_options options{.cwd = root.path()};
#if !defined(__SANITIZE_ADDRESS__) && !defined(VOSTREL_SANITIZED)
  // wine itself cannot start in so small an address space, so against a Windows build only the
  // time bound is checked.
  if (!testing_windows_build()) options.address_space_limit = 64ul << 20;
#endif
  const child_result r = run_child(tool_command({"in.dat"}), options);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, progress(INT32_MAX));
  EXPECT_NE(r.err.find("31 of 2147483647 records are whole"), std::string::npos) << r.err;
}

}  // namespace
