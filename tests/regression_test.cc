// Replays every input in fuzz/regressions through the tool as a process and compares the outcome
// with the .expected file beside it: exit status, console output and the files created with
// their sizes. Inputs the fuzzer once found stay fixed this way without the fuzzer.
//
// To write the .expected file for a new input, run with VOSTREL_RECORD=1 and review the result.
// Against a Windows build (VOSTREL_DAT_TARGET=windows, run under wine by scripts/test_windows.sh)
// NAME.windows.expected is used instead where it exists: the outcome differs where the system's
// error text does. Recording there writes it only for inputs whose outcome differs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "tool_command.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> regression_inputs() {
  std::vector<fs::path> inputs;
  for (const auto& e : fs::directory_iterator(VOSTREL_REGRESSIONS_DIR)) {
    if (e.path().extension() == ".dat") inputs.push_back(e.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

// The outcome of one run, written the way .expected files hold it.
std::string outcome(const fs::path& input) {
  temp_dir work;
  const child_result r = run_child(tool_command({input.string()}), {.cwd = work.path()});
  std::ostringstream text;
  text << "status " << r.status << "\n[stdout]\n" << r.out << "[stderr]\n" << r.err << "[files]\n";
  std::vector<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(work.path())) {
    files.push_back(fs::relative(e.path(), work.path()).string() + " " +
                    (e.is_regular_file() ? std::to_string(e.file_size()) : "(not a file)"));
  }
  std::sort(files.begin(), files.end());
  for (const std::string& f : files) text << f << "\n";
  return text.str();
}

class Regression : public testing::TestWithParam<fs::path> {};

TEST_P(Regression, OutcomeIsAsRecorded) {
  const fs::path input = GetParam();
  fs::path expected_path = input;
  expected_path.replace_extension(".expected");
  fs::path windows_path = input;
  windows_path.replace_extension(".windows.expected");
  const bool windows = testing_windows_build();
  if (windows && fs::exists(windows_path)) expected_path = windows_path;
  const std::string actual = outcome(input);
  const char* record = std::getenv("VOSTREL_RECORD");
  if (record != nullptr && std::string(record) == "1") {
    // A Windows build's run is recorded apart only where it differs from the POSIX outcome.
    if (windows && actual != read_file(expected_path)) expected_path = windows_path;
    std::ofstream(expected_path, std::ios::binary) << actual;
  }
  ASSERT_TRUE(fs::exists(expected_path)) << "no " << expected_path;
  EXPECT_EQ(actual, read_file(expected_path));
}

INSTANTIATE_TEST_SUITE_P(
    Fuzz, Regression, testing::ValuesIn(regression_inputs()), [](const auto& info) {
      std::string name = info.param.stem().string();
      std::replace_if(
          name.begin(), name.end(),
          [](char c) { return std::isalnum(static_cast<unsigned char>(c)) == 0; }, '_');
      return name;
    });

}  // namespace
