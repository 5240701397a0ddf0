// The command that runs the tool under test, so the same process tests run against any build of
// it: the binary this build made, another one, or a Windows build through a runner such as wine.
#ifndef VOSTREL_DAT_TESTS_TOOL_COMMAND_H_
#define VOSTREL_DAT_TESTS_TOOL_COMMAND_H_

#include <string>
#include <vector>

// The tool's argv followed by `args`. The tool is $VOSTREL_DAT if set, split at spaces so it may
// start with a runner ("/usr/lib/wine/wine64 /path/vostrel_dat.exe"); otherwise the binary this
// build made.
std::vector<std::string> tool_command(const std::vector<std::string>& args);

// True when $VOSTREL_DAT_TARGET is "windows": the tool under test is a Windows build, so cases
// that only hold on POSIX are skipped and those that only hold on Windows are run.
bool testing_windows_build();

#endif  // VOSTREL_DAT_TESTS_TOOL_COMMAND_H_
