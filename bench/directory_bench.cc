// Micro-benchmark of the per-member bookkeeping: reading N directory records from memory into the
// entry list and fetching every node back by index, as extraction does. The time per member
// should stay flat as N grows.
#include <benchmark/benchmark.h>

#include <charconv>
#include <sstream>
#include <vector>

#include "archive_reader.h"
#include "entry_list.h"

namespace {

std::vector<unsigned char> archive_of(std::int64_t n) {
  std::vector<unsigned char> bytes(16 + 32 * static_cast<std::size_t>(n), 0);
  auto put32 = [&](std::size_t pos, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes[pos + k] = static_cast<unsigned char>(v >> (8 * k));
  };
  put32(12, static_cast<std::uint32_t>(n));
  for (std::int64_t i = 0; i < n; ++i) {
    const std::size_t rec = 16 + 32 * static_cast<std::size_t>(i);
    // Name "m<i>": at most 8 bytes for the counts used here.
    bytes[rec] = 'm';
    std::to_chars(reinterpret_cast<char*>(bytes.data() + rec + 1),
                  reinterpret_cast<char*>(bytes.data() + rec + entry_name_size), i);
    put32(rec + 16, static_cast<std::uint32_t>(i));
    put32(rec + 20, 64);
  }
  return bytes;
}

void BM_DirectoryAndListPass(benchmark::State& state) {
  const std::vector<unsigned char> bytes = archive_of(state.range(0));
  memory_archive archive(bytes);
  std::ostringstream out;
  for (auto _ : state) {
    entry_list entries(out);
    const directory_info info = read_directory(archive, entries, out);
    std::int64_t sum = 0;
    for (std::int32_t i = 0; i < info.count; ++i) sum += entries.at(i)->size;
    benchmark::DoNotOptimize(sum);
    out.str("");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["ns_per_member"] =
      benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_DirectoryAndListPass)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
