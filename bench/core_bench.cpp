// Cost per call of the equation-of-state core, without a background hook and
// with one installed that does nothing (the GUI's hook checks a clock only on
// the calls that reach it).
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include "core/globals.h"
#include "framework/runtime.h"

namespace {

using namespace Globals;

using bench::HookScope;
using bench::Mixture;

void BM_aMixture(benchmark::State& state) {
  HookScope scope(state.range(0) != 0);
  const GasArray x = Mixture();
  double T = 673.15;
  for (auto _ : state) {
    benchmark::DoNotOptimize(aMixture(x, T, Brennick1977));
    benchmark::DoNotOptimize(T);
  }
}

void BM_Pressure(benchmark::State& state) {
  HookScope scope(state.range(0) != 0);
  const GasArray x = Mixture();
  double T = 673.15, V = 100;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Pressure(x, T, V, Brennick1977));
    benchmark::DoNotOptimize(T);
  }
}

void BM_Volume(benchmark::State& state) {
  HookScope scope(state.range(0) != 0);
  const GasArray x = Mixture();
  double T = 673.15, P = 50;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Volume(x, T, P, Brennick1977));
    benchmark::DoNotOptimize(T);
  }
}

void BM_Temperature(benchmark::State& state) {
  HookScope scope(state.range(0) != 0);
  const GasArray x = Mixture();
  double P = 50, V = 100;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Temperature(x, P, V, Brennick1977));
    benchmark::DoNotOptimize(P);
  }
}

BENCHMARK(BM_aMixture)->ArgName("hooked")->Arg(0)->Arg(1);
BENCHMARK(BM_Pressure)->ArgName("hooked")->Arg(0)->Arg(1);
BENCHMARK(BM_Volume)->ArgName("hooked")->Arg(0)->Arg(1);
BENCHMARK(BM_Temperature)->ArgName("hooked")->Arg(0)->Arg(1);

}  // namespace
