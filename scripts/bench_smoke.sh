#!/usr/bin/env bash
# Checks that the benchmark still works, on tiny archives (its figures mean nothing at this size):
# builds the bench preset, runs bench/run.py at the tiny size and the list micro-benchmark once.
# Needs: python3 libarchive-tools time libbenchmark-dev cmake ninja-build g++.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset bench >/dev/null
cmake --build --preset bench
python3 bench/run.py --tool build/bench/vostrel_dat --floor build/bench/bench_floor --size tiny
build/bench/directory_bench --benchmark_min_time=0.01
