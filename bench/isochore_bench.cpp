// The isochore table of 0 to 1000 degrees C in steps of 1 (1001 rows) for a
// three-component mixture:
//   Points    the points and their pressures alone, no window: the computation;
//   Window    a press of the Isochore window's calculate button, rows filled
//             into its list, with the GUI's hook installed as the application
//             installs it (every 15 ms), its body timed to give the share of
//             the table's time spent processing events.
// The window runs on Qt's offscreen platform unless a display is named.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>

#include "app/menubar.h"
#include "core/globals.h"
#include "framework/application.h"
#include "framework/runtime.h"
#include "procedures/pvt/isochore_points.h"
#include "procedures/pvt/pvt_windows.h"

namespace {

using Clock = std::chrono::steady_clock;

void Mixture() {
  Globals::fraction = {};
  Globals::fraction[Globals::H2O] = 0.5;
  Globals::fraction[Globals::CO2] = 0.3;
  Globals::fraction[Globals::CH4] = 0.2;
  Globals::Selection = Globals::Brennick1977;
  Globals::MolarVolumes[0] = 100.0;  // about 35 to 100 MPa over the range
}

Clock::duration hookTime{};
long hookCalls = 0;

// The application's hook body, timed.
void TimedHook() {
  const auto start = Clock::now();
  framework::Dispatcher::ProcessPendingEvents();
  hookTime += Clock::now() - start;
  ++hookCalls;
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
  auto& w = framework::shared<pvt::Isochore>();
  w.Field("minimum").SetText("0");
  w.Field("maximum").SetText("1000");
  w.Field("interval").SetText("1");
  QCoreApplication::processEvents();
  framework::SetBackgroundHook(&TimedHook);  // the application's period
  hookTime = {};
  hookCalls = 0;
  Clock::duration total{};
  for (auto _ : state) {
    const auto start = Clock::now();
    w.Button("calculate").Push();
    total += Clock::now() - start;
  }
  framework::SetBackgroundHook(nullptr);
  if (w.List("ListBox1").ListCount() != 1001) state.SkipWithError("the table is not 1001 rows");
  state.counters["rows"] = w.List("ListBox1").ListCount();
  state.counters["hook_share"] =
      total.count() > 0 ? static_cast<double>(hookTime.count()) / static_cast<double>(total.count()) : 0.0;
  state.counters["hook_calls_per_table"] =
      static_cast<double>(hookCalls) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_IsochorePoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsochoreWindow)->Unit(benchmark::kMillisecond);

// The offscreen platform says on every showing that it cannot raise windows.
void Quiet(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("does not support")) || message.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
    return;
  }
  qt_message_output(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(Quiet);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  framework::Application application(argc, argv);
  framework::SetBackgroundHook(nullptr);  // each benchmark installs its own
  Globals::InitProperties();
  application.SetMenuBar(app::MenuBar1());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  framework::ReleaseWindows();
  application.ReleaseMenuBar();
  app::ReleaseMenuBar1();
  return 0;
}
