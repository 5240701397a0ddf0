// POSIX child processes for the tool tests.
#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

temp_dir::temp_dir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vostrel_test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

temp_dir::~temp_dir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

child_result run_child(const std::vector<std::string>& argv, const child_options& options) {
  // Output goes to files rather than pipes, so a chatty child can never block on a full pipe.
  temp_dir capture;
  const auto out_path = capture.path() / "out";
  const auto err_path = capture.path() / "err";

  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
        ::dup2(err, 2) < 0 || ::chdir(options.cwd.c_str()) != 0) {
      ::_exit(126);
    }
    if (options.file_size_limit) {
      if (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR) ::_exit(126);
      const rlimit limit{*options.file_size_limit, *options.file_size_limit};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
    }
    if (options.address_space_limit) {
      const rlimit limit{*options.address_space_limit, *options.address_space_limit};
      if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(126);
    }
    ::execv(args[0], args.data());
    ::_exit(127);
  }

  int wstatus = 0;
  while (::waitpid(pid, &wstatus, 0) < 0) {
  }
  child_result result;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  result.out = read_file(out_path);
  result.err = read_file(err_path);
  return result;
}
