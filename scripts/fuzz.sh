#!/usr/bin/env bash
# Builds the libFuzzer target (clang, ASan + UBSan), replays the seed corpus and every recorded
# regression input, then fuzzes for the given number of seconds (default 120) from the seeds.
# New interesting inputs go to a scratch corpus, so the checked-in one stays as it is; an input
# that breaks a guarantee is written to build/fuzz/artifacts/.
# Needs: clang libclang-rt-14-dev cmake ninja-build.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-120}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
fuzzer="$PWD/build/fuzz/fuzz_extract"
artifacts="$PWD/build/fuzz/artifacts"
mkdir -p "$artifacts"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# An allocation sized from a header field rather than from the input trips these limits.
limits=(-rss_limit_mb=1024 -malloc_limit_mb=64 -timeout=10)

echo "== replay: seed corpus and regressions"
"$fuzzer" "${limits[@]}" -runs=0 "$PWD/fuzz/corpus" "$PWD/fuzz/regressions"

echo "== fuzz for ${seconds}s"
"$fuzzer" "${limits[@]}" -dict="$PWD/fuzz/archive.dict" -max_len=4096 \
  -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" \
  "$scratch" "$PWD/fuzz/corpus" "$PWD/fuzz/regressions"
