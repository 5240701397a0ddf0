#!/usr/bin/env bash
# Builds the tool and its tests with g++ and with clang++ (warnings as errors) and runs every test.
# Needs: g++ clang cmake ninja-build libgtest-dev (see README.md).
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in default clang; do
  echo "== $preset: build and test"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j "$(nproc)"
done
