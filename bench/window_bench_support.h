// What the benchmarks that drive windows share: the application's hook body,
// timed, so that a run can report the share of its time spent processing
// events; and a main that sets the application up as the program does, on
// Qt's offscreen platform unless a display is named.
#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QString>
#include <chrono>
#include <cstdlib>

#include "app/menubar.h"
#include "core/globals.h"
#include "framework/application.h"
#include "framework/window.h"
#include "framework/runtime.h"

namespace bench {

using Clock = std::chrono::steady_clock;

struct HookTiming {
  Clock::duration time{};
  long calls = 0;
};

inline HookTiming& Timing() {
  static HookTiming timing;
  return timing;
}

// The application's hook body, timed.
inline void TimedHook() {
  const auto start = Clock::now();
  framework::Dispatcher::ProcessPendingEvents();
  Timing().time += Clock::now() - start;
  ++Timing().calls;
}

// Runs `body` once per iteration, with the timed hook installed at the
// application's period when `hooked`, and reports the hook's share of the
// time and its calls per run.
template <class Body>
void Hooked(benchmark::State& state, Body body, bool hooked = true) {
  framework::SetBackgroundHook(hooked ? &TimedHook : nullptr);
  Timing() = {};
  Clock::duration total{};
  for (auto _ : state) {
    const auto start = Clock::now();
    body();
    total += Clock::now() - start;
  }
  framework::SetBackgroundHook(nullptr);
  state.counters["hook_share"] =
      total.count() > 0 ? static_cast<double>(Timing().time.count()) / static_cast<double>(total.count()) : 0.0;
  state.counters["hook_calls_per_run"] =
      static_cast<double>(Timing().calls) / static_cast<double>(state.iterations());
}

// The offscreen platform says on every showing that it cannot raise windows.
inline void Quiet(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("does not support")) || message.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
    return;
  }
  qt_message_output(type, context, message);
}

// The whole main of a window benchmark program.
inline int RunWindowBenchmarks(int argc, char** argv) {
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

}  // namespace bench
