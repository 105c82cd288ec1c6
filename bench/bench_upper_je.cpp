// Conversions per second of f_svc_upper_je over amounts of every size.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "functions/f_svc_upper_je.h"

namespace {

std::vector<kq::Decimal> amounts() {
  std::mt19937_64 rng(7);
  std::vector<kq::Decimal> out;
  for (int i = 0; i < 4096; ++i) {
    long long cents = static_cast<long long>(rng() % 100000000000000LL) >> (rng() % 40);
    out.push_back(kq::Decimal::from_raw(static_cast<kq::Decimal::Raw>(cents) * (kq::Decimal::kOne / 100)));
  }
  return out;
}

void BM_UpperJe(benchmark::State& state) {
  const auto input = amounts();
  size_t i = 0;
  for (auto _ : state) {
    auto r = kq::f_svc_upper_je(input[i++ & 4095]);
    benchmark::DoNotOptimize(r);
  }
  state.counters["conversions/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_UpperJe);

}  // namespace

BENCHMARK_MAIN();
