// tool_command and testing_windows_build from the environment.
#include "tool_command.h"

#include <cstdlib>
#include <sstream>
#include <string_view>

std::vector<std::string> tool_command(const std::vector<std::string>& args) {
  std::vector<std::string> argv;
  const char* env = std::getenv("VOSTREL_DAT");
  if (env != nullptr && *env != '\0') {
    std::istringstream words(env);
    for (std::string word; words >> word;) argv.push_back(word);
  } else {
    argv.emplace_back(VOSTREL_DAT_PATH);
  }
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

bool testing_windows_build() {
  const char* env = std::getenv("VOSTREL_DAT_TARGET");
  return env != nullptr && std::string_view(env) == "windows";
}
