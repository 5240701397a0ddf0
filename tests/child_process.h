// Runs a program as a child process in a chosen directory and captures what it prints; plus a
// self-removing temporary directory for such runs.
#ifndef VOSTREL_DAT_TESTS_CHILD_PROCESS_H_
#define VOSTREL_DAT_TESTS_CHILD_PROCESS_H_

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct child_options {
  std::filesystem::path cwd;
  // RLIMIT_FSIZE for the child, with SIGXFSZ ignored so an oversized write fails with EFBIG.
  std::optional<unsigned long> file_size_limit = std::nullopt;
  // RLIMIT_AS for the child, to prove its memory stays bounded.
  std::optional<unsigned long> address_space_limit = std::nullopt;
};

struct child_result {
  int status = -1;  // exit status, or 128 + signal number when killed by a signal
  std::string out;  // standard output
  std::string err;  // standard error
};

// The whole content of a file, or "" when it can't be read.
std::string read_file(const std::filesystem::path& path);

// Runs argv[0] (a path) with argv; standard input is empty.
child_result run_child(const std::vector<std::string>& argv, const child_options& options);

// A fresh directory under the system's temporary directory, removed with its contents.
class temp_dir {
 public:
  temp_dir();
  ~temp_dir();
  temp_dir(const temp_dir&) = delete;
  temp_dir& operator=(const temp_dir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

#endif  // VOSTREL_DAT_TESTS_CHILD_PROCESS_H_
