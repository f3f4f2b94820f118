// Cost per call of the property functions the windows call most, without a
// background hook and with one installed that does nothing.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include "core/globals.h"
#include "framework/runtime.h"
#include "properties/properties.h"

namespace {

using namespace Globals;

using bench::HookScope;
using bench::Mixture;

void BM_Fugacities(benchmark::State& state) {
  HookScope scope(state.range(0) != 0);
  const GasArray x = Mixture();
  double T = 673.15, P = 50, V = 100;
  for (auto _ : state) {
    Fugacities(x, T, P, V, Brennick1977);
    benchmark::DoNotOptimize(Coefficient);
    benchmark::DoNotOptimize(T);
  }
}

void BM_Entropy(benchmark::State& state) {
  HookScope scope(state.range(0) != 0);
  const GasArray x = Mixture();
  double T = 673.15, V = 100;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Entropy(x, T, V, Brennick1977));
    benchmark::DoNotOptimize(T);
  }
}

// Three components: three cubic solutions, saturation pressures and pure
// entropies per call.
void BM_ExcessEntropy(benchmark::State& state) {
  HookScope scope(state.range(0) != 0);
  GasArray x{};
  x[H2O] = 0.5;
  x[CO2] = 0.3;
  x[CH4] = 0.2;
  double T = 673.15, P = 50, Smix = 180;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Excess(ExcessEntropy, x, T, P, Smix, Brennick1977));
    benchmark::DoNotOptimize(T);
  }
}

BENCHMARK(BM_Fugacities)->ArgName("hooked")->Arg(0)->Arg(1);
BENCHMARK(BM_Entropy)->ArgName("hooked")->Arg(0)->Arg(1);
BENCHMARK(BM_ExcessEntropy)->ArgName("hooked")->Arg(0)->Arg(1);

}  // namespace
