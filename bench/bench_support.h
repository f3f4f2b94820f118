// What the benchmarks share: the mixture they compute for, and a background
// hook that does nothing, installed for the "hooked" runs.
#pragma once

#include <benchmark/benchmark.h>

#include "core/globals.h"
#include "framework/runtime.h"

namespace bench {

inline Globals::GasArray Mixture() {
  Globals::GasArray x{};
  x[Globals::H2O] = 0.5;
  x[Globals::CO2] = 0.3;
  x[Globals::N2] = 0.1;
  x[Globals::CH4] = 0.1;
  return x;
}

inline void NoOpHook() { benchmark::ClobberMemory(); }

// Installs the do-nothing hook (with the GUI's period) for one benchmark run.
struct HookScope {
  explicit HookScope(bool hooked) {
    if (hooked) framework::SetBackgroundHook(NoOpHook);
  }
  ~HookScope() { framework::SetBackgroundHook(nullptr); }
  HookScope(const HookScope&) = delete;
  HookScope& operator=(const HookScope&) = delete;
};

}  // namespace bench
