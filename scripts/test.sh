#!/usr/bin/env bash
# Builds and runs every test: the suite with g++ and with clang++ (warnings as errors), the suite
# again under AddressSanitizer, UBSan and LeakSanitizer, the process tests against the Windows
# build under wine, the man page and Debian package checks, the static analysers, and the fuzzer
# (replay of seeds and regressions, then a bounded run; FUZZ_SECONDS, default 120), and a smoke
# run of the benchmark on tiny archives.
# Needs the Debian packages listed in README.md.
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in default clang sanitize; do
  echo "== $preset: build and test"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j "$(nproc)"
done

bash scripts/test_windows.sh
bash scripts/package.sh
bash scripts/analyse.sh
bash scripts/bench_smoke.sh
bash scripts/fuzz.sh "${FUZZ_SECONDS:-120}"
