#include "procedures/thermo/thermo_values.h"

#include <cmath>

#include "properties/properties.h"

namespace thermo {

double FunctionValue(ThermoFunction f, const Globals::GasArray& x, double T, double V,
                     std::int32_t model) {
  switch (f) {
    case ThermoFunction::Energy: return Globals::Energy(x, T, V, model);
    case ThermoFunction::Enthalpy: return Globals::Enthalpy(x, T, V, model);
    case ThermoFunction::Entropy: return Globals::Entropy(x, T, V, model);
    case ThermoFunction::Helmholtz: return Globals::Helmholtz(x, T, V, model);
    case ThermoFunction::Gibbs: return Globals::Gibbs(x, T, V, model);
  }
  return 0.0;
}

std::int32_t ExcessKindOf(ThermoFunction f) {
  switch (f) {
    case ThermoFunction::Energy: return Globals::ExcessEnergy;
    case ThermoFunction::Enthalpy: return Globals::ExcessEnthalpy;
    case ThermoFunction::Entropy: return Globals::ExcessEntropy;
    case ThermoFunction::Helmholtz: return Globals::ExcessHelmholtz;
    case ThermoFunction::Gibbs: return Globals::ExcessGibbs;
  }
  return Globals::ExcessVolume;
}

bool InDomain(ThermoFunction f, const Globals::GasArray& x, double T, double V) {
  return Globals::StateDefined(V, T, Globals::bMixture(x), f == ThermoFunction::Energy);
}

FunctionParts PartsAtRoot(ThermoFunction f, const Globals::GasArray& x, double T, double P,
                          double V, std::int32_t model) {
  FunctionParts parts;
  if (Globals::NoGas(x)) {
    parts.outcome = Outcome::NoSolution;
    return parts;
  }
  if (!InDomain(f, x, T, V)) return parts;
  const double X = FunctionValue(f, x, T, V, model);
  // Ostrem (1999) has no attraction constant for N2 between about 1197 and
  // 2136 K, nor for CH4 above about 2700 K.
  if (!std::isfinite(X)) {
    parts.outcome = Outcome::NoSolution;
    return parts;
  }
  parts.total = X;
  const std::optional<double> Xex = Globals::Excess(ExcessKindOf(f), x, T, P, X, model);
  if (!Xex) {
    parts.outcome = Outcome::NoExcess;
    return parts;
  }
  parts.outcome = Outcome::Computed;
  parts.ideal = X - *Xex;
  parts.excess = *Xex;
  return parts;
}

}  // namespace thermo
