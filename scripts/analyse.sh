#!/usr/bin/env bash
# Static analysis: clang-tidy (checks in .clang-tidy, every finding an error) and cppcheck, over
# the tool, its tests and the fuzz target. Configures the clang and fuzz builds for their
# compile_commands.json. Needs: clang clang-tidy cppcheck cmake ninja-build libgtest-dev.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset clang >/dev/null
cmake --preset fuzz >/dev/null

echo "== clang-tidy"
clang-tidy --quiet -p build/clang src/*.cc tests/*.cc
clang-tidy --quiet -p build/fuzz fuzz/*.cc

echo "== cppcheck"
cppcheck --enable=warning,style,performance,portability --std=c++20 --library=googletest \
  --suppress=useStlAlgorithm --inline-suppr --error-exitcode=1 --quiet -I src -I tests \
  src tests fuzz
echo "analysers: no findings"
