#!/usr/bin/env bash
# Static analysis: clang-tidy (checks in .clang-tidy, every finding an error) and cppcheck, over
# the tool, its tests and the fuzz target, and clang-tidy over the Windows-only sources for a
# Windows target. Configures the clang, fuzz and windows builds for their compile_commands.json.
# Needs: clang clang-tidy cppcheck cmake ninja-build libgtest-dev g++-mingw-w64-x86-64-posix.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset clang >/dev/null
cmake --preset fuzz >/dev/null
cmake --preset windows >/dev/null

windows_sources=(src/*win32*.cc src/vostrel_dat.cc)
posix_sources=()
for f in src/*.cc; do
  [[ "$f" == *win32* ]] || posix_sources+=("$f")
done

echo "== clang-tidy"
clang-tidy --quiet -p build/clang "${posix_sources[@]}" tests/*.cc
clang-tidy --quiet -p build/fuzz fuzz/*.cc

# clang parses the Windows sources with MinGW's C++ library and Windows headers; the compiler's
# own headers stay clang's.
mingw_args=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++)
while read -r dir; do
  mingw_args+=("--extra-arg=-isystem$(realpath "$dir")")
done < <(x86_64-w64-mingw32-g++-posix -xc++ -E -v /dev/null 2>&1 >/dev/null |
  sed -n '/^#include <...> search starts here:/,/^End of search list/p' |
  grep -E '/c\+\+|mingw32/include$')
clang-tidy --quiet -p build/windows "${mingw_args[@]}" "${windows_sources[@]}"

echo "== cppcheck"
cppcheck --enable=warning,style,performance,portability --std=c++20 --library=googletest \
  --suppress=useStlAlgorithm --inline-suppr --error-exitcode=1 --quiet -I src -I tests \
  src tests fuzz
echo "analysers: no findings"
