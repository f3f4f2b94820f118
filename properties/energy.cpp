#include "framework/runtime.h"
#include "properties/presence.h"
#include "properties/properties.h"

namespace Globals {

namespace {

constexpr double R = GasConstant;

// Ideal mixing at the reference pressure 0.1 MPa: ln of 0.1 MPa over the
// partial pressure x_i R T / V.
inline double MixingLog(double xi, double T, double V) { return Log((0.1 * V) / ((xi * R) * T)); }

// The ideal-gas Helmholtz energy, from the ideal enthalpy and entropy.
inline double IdealHelmholtz(const GasArray& x, double T) {
  const double Hig = IdealGas(IdealEnthalpy, x, T);
  const double Sig = IdealGas(IdealEntropy, x, T);
  return (Hig - R * T) - T * Sig;
}

// The first two terms of the residual Helmholtz energy.
inline double ResidualHelmholtz(double am, double bm, double T, double V) {
  const double A = (-R * T) * Log((V - bm) / V);
  return A - (Log((V + bm) / V) * am) / (bm * Sqrt(T));
}

// Takes off the ideal mixing terms of the present components, in index order.
inline double LessMixing(double value, const GasArray& x, double T, double V) {
  for (int i = 0; i < kGases; ++i) {
    if (detail::Present(x[i])) value = value - ((x[i] * R) * T) * MixingLog(x[i], T, V);
    RuntimeBackgroundTask();
  }
  return value;
}

}  // namespace

double Entropy(const GasArray& x, double T, double V, std::int32_t model) {
  const double bm = bMixture(x);
  const double am = aMixture(x, T, model);
  const double dam = dadT(x, T, model);
  if (!StateDefined(V, T, bm)) return 0.0;

  const double Sig = IdealGas(IdealEntropy, x, T);
  double S = R * Log((V - bm) / V);
  S = S + Log((V + bm) / V) * ((-am) / (((2 * bm) * T) * Sqrt(T)) + dam / (bm * Sqrt(T)));
  for (int i = 0; i < kGases; ++i) {
    if (detail::Present(x[i])) S = S + (x[i] * R) * MixingLog(x[i], T, V);
    RuntimeBackgroundTask();
  }
  return Sig + S;
}

double Helmholtz(const GasArray& x, double T, double V, std::int32_t model) {
  const double am = aMixture(x, T, model);
  const double bm = bMixture(x);
  if (!StateDefined(V, T, bm)) return 0.0;

  const double Aig = IdealHelmholtz(x, T);
  return Aig + LessMixing(ResidualHelmholtz(am, bm, T, V), x, T, V);
}

double Enthalpy(const GasArray& x, double T, double V, std::int32_t model) {
  const double am = aMixture(x, T, model);
  const double dam = dadT(x, T, model);
  const double bm = bMixture(x);
  if (!StateDefined(V, T, bm)) return 0.0;

  const double Hig = IdealGas(IdealEnthalpy, x, T);
  const double Lplus = Log((V + bm) / V);
  double D = ((R * T) * V) / (V - bm) - am / ((V + bm) * Sqrt(T));
  D = D - ((Lplus * 3) * am) / ((2 * bm) * Sqrt(T));
  D = D + ((Lplus * dam) * Sqrt(T)) / bm;
  return (Hig - R * T) + D;
}

double Energy(const GasArray& x, double T, double V, std::int32_t model) {
  // U has no ln((V - b)/V) and no 1/(V - b): it is defined for 0 < V <= b.
  if (!(V > 0 && T > 0)) return 0.0;

  const double Hig = IdealGas(IdealEnthalpy, x, T);
  const double bm = bMixture(x);
  const double am = aMixture(x, T, model);
  const double dam = dadT(x, T, model);
  if (!(bm > 0)) return 0.0;

  const double Lplus = Log((V + bm) / V);
  const double D = (((-Lplus) * 3) * am) / ((2 * bm) * Sqrt(T)) + ((Lplus * dam) * Sqrt(T)) / bm;
  return (Hig - R * T) + D;
}

double Gibbs(const GasArray& x, double T, double V, std::int32_t model) {
  const double am = aMixture(x, T, model);
  const double bm = bMixture(x);
  if (!StateDefined(V, T, bm)) return 0.0;

  // (H - RT) - TS as for A; the PV term comes with the residual part.
  const double Gig = IdealHelmholtz(x, T);
  double D = ResidualHelmholtz(am, bm, T, V);
  D = (D + ((R * T) * V) / (V - bm)) - am / ((V + bm) * Sqrt(T));
  return Gig + LessMixing(D, x, T, V);
}

}  // namespace Globals
