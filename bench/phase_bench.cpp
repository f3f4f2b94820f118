// The phase searches, each with and without the GUI's hook (the
// application's hook body at the application's period, timed):
//   Homogenisation  the bubble point of CO2 0.9, CH4 0.1 at 250 K (converges);
//   LiquidVapour    the split of that mixture at 100 cm3/mol and 250 K
//                   (converges);
//   Exhausted       the bubble point of H2O 0.5, H2S 0.5 at 150 K, which runs
//                   out of its 10001 passes;
//   ExhaustedWindow that search as a press of the window's calculate button.
// Counters: the passes, how often a search lets events through (calls of
// RuntimeBackgroundTask), and the share of the time spent in the hook.
#include <benchmark/benchmark.h>

#include "window_bench_support.h"
#include "core/globals.h"
#include "framework/runtime.h"
#include "phase/phase.h"
#include "phase/phase_windows.h"

namespace {

using Globals::GasArray;

long taskCalls = 0;

void CountingHook() { ++taskCalls; }

GasArray Mix(int a, double fa, int b, double fb) {
  GasArray z{};
  z[a] = fa;
  z[b] = fb;
  return z;
}

phase::HomogenisationInput Bubble(const GasArray& z, double T) {
  const phase::HomogenisationStart s = phase::HomogenisationFirstApproach(z, true, T, 0, 0);
  phase::HomogenisationInput in;
  in.z = z, in.x = s.x, in.y = s.y, in.given = T, in.guess = s.guess, in.mode = phase::Mode::Liquid;
  return in;
}

phase::LiquidVapourInput Split(const GasArray& z, double V, double T) {
  const phase::LiquidVapourStart s = phase::LiquidVapourFirstApproach(z, T);
  phase::LiquidVapourInput in;
  in.z = z, in.V = V, in.T = T, in.P0 = s.P, in.fraction0 = s.fraction, in.K = s.K;
  return in;
}

// Runs `search` under the benchmark, hooked when the argument says so, and
// reports its passes and how often it lets events through.
template <class Search>
void Measure(benchmark::State& state, Search search) {
  framework::SetBackgroundHook(&CountingHook, std::chrono::milliseconds(0));
  taskCalls = 0;
  const int passes = search().passes;
  const long calls = taskCalls;
  bench::Hooked(state, [&search] { benchmark::DoNotOptimize(search()); }, state.range(0) != 0);
  state.counters["passes"] = passes + 1;
  state.counters["events_per_pass"] = static_cast<double>(calls) / (passes + 1);
}

void BM_Homogenisation(benchmark::State& state) {
  const phase::HomogenisationInput in = Bubble(Mix(Globals::CO2, 0.9, Globals::CH4, 0.1), 250);
  Measure(state, [&in] { return phase::SolveHomogenisation(in); });
}

void BM_LiquidVapour(benchmark::State& state) {
  const phase::LiquidVapourInput in = Split(Mix(Globals::CO2, 0.9, Globals::CH4, 0.1), 100, 250);
  Measure(state, [&in] { return phase::SolveLiquidVapour(in); });
}

void BM_Exhausted(benchmark::State& state) {
  const phase::HomogenisationInput in = Bubble(Mix(Globals::H2O, 0.5, Globals::H2S, 0.5), 150);
  if (phase::SolveHomogenisation(in).passes != phase::kLastPass) state.SkipWithError("the search ended early");
  Measure(state, [&in] { return phase::SolveHomogenisation(in); });
}

void BM_ExhaustedWindow(benchmark::State& state) {
  Globals::fraction = Mix(Globals::H2O, 0.5, Globals::H2S, 0.5);
  auto& w = framework::shared<phase::BubbleDewPoint>();
  w.Field("dataEntryTh").SetText("150");
  w.Radio("Liquid1").SetValue(true);
  w.Button("FirstApproach").Push();
  QCoreApplication::processEvents();
  bench::Hooked(state, [&w] { w.Button("calculate").Push(); });
  if (w.Label("ResultText").Text() != phase::kNoSolution) state.SkipWithError("not the exhausted search");
}

BENCHMARK(BM_Homogenisation)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiquidVapour)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Exhausted)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExhaustedWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunWindowBenchmarks(argc, argv); }
