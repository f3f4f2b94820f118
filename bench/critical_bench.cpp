// The critical point search and the analysis table, with the GUI's hook
// installed as the application installs it (every 15 ms), its body timed to
// give the share of the time spent processing events:
//   CriticalBinary    N2/CH4 50/50 from the window's proposals (finds the
//                     point at 97.0957 cm3/mol);
//   CriticalElevenGas all eleven gases in equal parts (runs about 120
//                     passes out to 1e9 cm3/mol and finds no point);
//   AnalysisWindow    a press of the analysis window's calculate for N2/CH4:
//                     250 rows into its list.
// The window runs on Qt's offscreen platform unless a display is named.
#include <benchmark/benchmark.h>

#include "window_bench_support.h"
#include "core/globals.h"
#include "critical/critical.h"
#include "critical/critical_windows.h"
#include "framework/runtime.h"

namespace {

Globals::GasArray Binary() {
  Globals::GasArray x{};
  x[Globals::N2] = 0.5;
  x[Globals::CH4] = 0.5;
  return x;
}

Globals::GasArray ElevenGases() {
  Globals::GasArray x;
  for (double& v : x) v = 1.0 / 11;
  return x;
}

void Search(benchmark::State& state, const Globals::GasArray& x, bool expectFound) {
  const Globals::PseudoCritical pc = Globals::PseudoCriticalConditions(x, Globals::Brennick1977);
  // The proposals as the window shows them.
  const double Vpc = Val(Str(pc.Vpc)), V1 = Val(Str(pc.V1)), V2 = Val(Str(pc.V2));
  bool found = false;
  bench::Hooked(state, [&] {
    const auto r = Globals::CriticalPointSearch(x, Globals::Brennick1977, Vpc, V1, V2);
    found = r.found;
    benchmark::DoNotOptimize(r);
  });
  if (found != expectFound) state.SkipWithError("unexpected outcome of the search");
}

void BM_CriticalBinary(benchmark::State& state) { Search(state, Binary(), true); }
void BM_CriticalElevenGas(benchmark::State& state) { Search(state, ElevenGases(), false); }

void BM_AnalysisWindow(benchmark::State& state) {
  Globals::fraction = Binary();
  Globals::Selection = Globals::Brennick1977;
  auto& w = framework::shared<critical::MathAnal>();
  QCoreApplication::processEvents();
  bench::Hooked(state, [&] {
    state.PauseTiming();
    w.Event_Activate();  // an empty list for every table
    state.ResumeTiming();
    w.Button("calculate").Push();
  });
  if (w.List("ListBox1").ListCount() != 250) state.SkipWithError("the table is not 250 rows");
  state.counters["rows"] = w.List("ListBox1").ListCount();
}

BENCHMARK(BM_CriticalBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CriticalElevenGas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalysisWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunWindowBenchmarks(argc, argv); }
