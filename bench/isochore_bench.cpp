// The isochore table of 0 to 1000 degrees C in steps of 1 (1001 rows) for a
// three-component mixture:
//   Points    the points and their pressures alone, no window: the computation;
//   Window    a press of the Isochore window's calculate button, rows filled
//             into its list, with the GUI's hook installed as the application
//             installs it (every 15 ms), its body timed to give the share of
//             the table's time spent processing events; also for 10 000 and
//             100 000 rows (0 to 9999 or 99999 degrees C), whose times should
//             stand in the ratio of their rows, 10, as filling a list takes
//             time in proportion to its rows.
// The window runs on Qt's offscreen platform unless a display is named.
#include <benchmark/benchmark.h>

#include <string>

#include "window_bench_support.h"
#include "core/globals.h"
#include "framework/runtime.h"
#include "procedures/pvt/isochore_points.h"
#include "procedures/pvt/pvt_windows.h"

namespace {

void Mixture() {
  Globals::fraction = {};
  Globals::fraction[Globals::H2O] = 0.5;
  Globals::fraction[Globals::CO2] = 0.3;
  Globals::fraction[Globals::CH4] = 0.2;
  Globals::Selection = Globals::Brennick1977;
  Globals::MolarVolumes[0] = 100.0;  // about 35 to 100 MPa over the range
}

void BM_IsochorePoints(benchmark::State& state) {
  Mixture();
  const Globals::GasArray x = Globals::fraction;
  for (auto _ : state) {
    const auto range = pvt::IsochoreTemperatures("0", "1000", "1");
    double sum = 0;
    for (double T : range.kelvins) {
      sum += Globals::Pressure(x, T, 100.0, Globals::Selection);
      RuntimeBackgroundTask();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["rows"] = 1001;
}

void BM_IsochoreWindow(benchmark::State& state) {
  Mixture();
  const auto rows = state.range(0);
  auto& w = framework::shared<pvt::Isochore>();
  w.Field("minimum").SetText("0");
  w.Field("maximum").SetText(std::to_string(rows - 1));
  w.Field("interval").SetText("1");
  QCoreApplication::processEvents();
  bench::Hooked(state, [&w] { w.Button("calculate").Push(); });
  if (w.List("ListBox1").ListCount() != rows) state.SkipWithError("the table does not have its rows");
  state.counters["rows"] = w.List("ListBox1").ListCount();
  w.List("ListBox1").DeleteAllRows();  // the next case starts from an empty list
}

BENCHMARK(BM_IsochorePoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsochoreWindow)->ArgName("rows")->Arg(1001)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunWindowBenchmarks(argc, argv); }
