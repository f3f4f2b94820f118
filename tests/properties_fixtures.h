// Compositions and a difference quotient shared by the property tests.
#pragma once

#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

#include "mixtures.h"
#include "properties/properties.h"

namespace props_test {

using Globals::GasArray;

using namespace test_mixtures;

// Fluids whose fractions sum to 1, chosen to reach every kind of pair: the
// H2O-CO2 association, the temperature-dependent N2 and CH4 of Ostrem1999
// with each other and with gases of constant a, and gases without any.
inline std::vector<GasArray> Fluids() {
  using namespace Globals;
  return {Pure(CO2),
          Mix({{H2O, 0.5}, {CO2, 0.5}}),
          Mix({{N2, 0.78}, {O2, 0.21}, {Ar, 0.01}}),
          Mix({{N2, 0.5}, {H2S, 0.5}}),
          Mix({{H2O, 0.4}, {CO2, 0.2}, {N2, 0.1}, {CH4, 0.2}, {C2H6, 0.1}}),
          Mix({{CH4, 0.3}, {H2, 0.2}, {NH3, 0.2}, {CO, 0.3}})};
}

inline constexpr std::int32_t kModels[] = {Globals::Brennick1977, Globals::Brennick1981,
                                           Globals::Ostrem1999};

// f'(u) by the fourth-order central difference.
template <class F>
double Derivative(F f, double u, double h) {
  return (8 * (f(u + h) - f(u - h)) - (f(u + 2 * h) - f(u - 2 * h))) / (12 * h);
}

}  // namespace props_test
