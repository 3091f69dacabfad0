// The entry point of tessaly_bench: every bench/*.cpp adds its benchmarks.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
