// Compositions for tests: a pure gas, and a mixture from (gas, fraction) pairs.
#pragma once

#include <initializer_list>
#include <utility>

#include "core/globals.h"

namespace test_mixtures {

inline Globals::GasArray Pure(int gas) {
  Globals::GasArray x{};
  x[gas] = 1.0;
  return x;
}

inline Globals::GasArray Mix(std::initializer_list<std::pair<int, double>> parts) {
  Globals::GasArray x{};
  for (auto [gas, f] : parts) x[gas] = f;
  return x;
}

// Water and carbon dioxide 1:1, the pair with the association term.
inline const Globals::GasArray kWaterCO2 = Mix({{Globals::H2O, 0.5}, {Globals::CO2, 0.5}});

}  // namespace test_mixtures
