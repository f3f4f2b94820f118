#include "framework/runtime.h"
#include "properties/presence.h"
#include "properties/properties.h"

namespace Globals {

namespace {

// Cp = sum of c_k T^e_k with e = 0, -1/2, -1, -2, -3, 1/2, 1, 2, 3, 4; S298 and
// H298 (formation scale, 0 for the elements) at the reference temperature.
struct IdealGasData {
  double c[10];
  double S298;
  double H298;
};

// clang-format off
constexpr IdealGasData kData[kGases] = {
    {{7.368, 361.74, 0, -223160, 0, 0, 0.027468, -4.8117e-6, 0, 0}, 188.72, -241814},     // H2O
    {{87.82, -998.86, 0, 706410, 0, 0, -0.0026442, 0, 0, 0}, 213.79, -393510},            // CO2
    {{23.941, 0, 0, 190640, 0, 0, 0.011068, -2.5518e-6, 0, 0}, 191.61, 0},                // N2
    {{26.356, -43.559, 0, 265990, 0, 0, 0.026497, -6.0244e-6, 0, 0}, 205.8, -20627},      // H2S
    {{29.735, -143.78, 0, 292430, 0, 0, 0.039119, -8.2274e-6, 0, 0}, 192.78, -45940},     // NH3
    {{7.4424, 410.17, 0, -510410, 0, 0, 0.011707, -1.3899e-6, 0, 0}, 130.68, 0},          // H2
    {{48.318, -420.66, 0, 499230, 0, 0, -0.00069132, 0, 0, 0}, 205.15, 0},                // O2
    {{45.73, -414.69, 0, 662700, 0, 0, -9.7115e-5, 0, 0, 0}, 197.67, -110530},            // CO
    {{20.79, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 154.84, 0},                                      // Ar
    {{78.976, -1320.2, 0, 1883600, 0, 0, 0.043186, -1.0598e-5, 0, 0}, 186.26, -74810},    // CH4
    {{6.8598, 0, 0, 0, 0, 0, 0.172602, -6.41256e-5, 7.28e-9, 0}, 229.492, -84997},        // C2H6
};
// clang-format on

constexpr double T0 = 298.15;

// The powers of the Cp terms and of the reciprocal integral terms come from
// Pow; the other integer powers are repeated products. Each integral is the T
// half minus the T0 half, unsimplified, so both vanish exactly at T0.

double HeatCapacity(const double* c, double T) {
  double v = c[0];
  v = v + c[1] / Sqrt(T);
  v = v + c[2] / T;
  v = v + c[3] / Pow(T, 2);
  v = v + c[4] / Pow(T, 3);
  v = v + c[5] * Sqrt(T);
  v = v + c[6] * T;
  v = v + c[7] * Pow(T, 2);
  v = v + c[8] * Pow(T, 3);
  v = v + c[9] * Pow(T, 4);
  return v;
}

// Integral of Cp/T from T0 to T.
double EntropyIntegral(const double* c, double T) {
  double s = c[0] * (Log(T) - Log(T0));
  s = s + c[1] * (-2 / Sqrt(T) + 2 / Sqrt(T0));
  s = s + c[2] * (-1 / T + 1 / T0);
  s = s + c[3] * (-1 / (2 * Pow(T, 2)) + 1 / (2 * Pow(T0, 2)));
  s = s + c[4] * (-1 / (3 * Pow(T, 3)) + 1 / (3 * Pow(T0, 3)));
  s = s + c[5] * (2 * Sqrt(T) - 2 * Sqrt(T0));
  s = s + c[6] * (T - T0);
  s = s + c[7] * ((T * T) / 2 - (T0 * T0) / 2);
  s = s + c[8] * (((T * T) * T) / 3 - ((T0 * T0) * T0) / 3);
  s = s + c[9] * ((((T * T) * T) * T) / 4 - (((T0 * T0) * T0) * T0) / 4);
  return s;
}

// Integral of Cp from T0 to T.
double EnthalpyIntegral(const double* c, double T) {
  double h = c[0] * (T - T0);
  h = h + c[1] * (2 * Sqrt(T) - 2 * Sqrt(T0));
  h = h + c[2] * (Log(T) - Log(T0));
  h = h + c[3] * (-1 / T + 1 / T0);
  h = h + c[4] * (-1 / (2 * Pow(T, 2)) + 1 / (2 * Pow(T0, 2)));
  h = h + c[5] * (((T * Sqrt(T)) * 2) / 3 - ((T0 * Sqrt(T0)) * 2) / 3);
  h = h + c[6] * ((T * T) / 2 - (T0 * T0) / 2);
  h = h + c[7] * (((T * T) * T) / 3 - ((T0 * T0) * T0) / 3);
  h = h + c[8] * ((((T * T) * T) * T) / 4 - (((T0 * T0) * T0) * T0) / 4);
  h = h + c[9] * (((((T * T) * T) * T) * T) / 5 - ((((T0 * T0) * T0) * T0) * T0) / 5);
  return h;
}

double PureValue(std::int32_t kind, const IdealGasData& g, double T) {
  if (kind == IdealHeatCapacity) return HeatCapacity(g.c, T);
  if (kind == IdealEntropy) return g.S298 + EntropyIntegral(g.c, T);
  return g.H298 + EnthalpyIntegral(g.c, T);
}

}  // namespace

double IdealGas(std::int32_t kind, const GasArray& x, double T) {
  double result = 0.0;
  if (kind != IdealHeatCapacity && kind != IdealEntropy && kind != IdealEnthalpy) return result;
  for (int i = 0; i < kGases; ++i) {
    if (detail::Present(x[i])) result = result + x[i] * PureValue(kind, kData[i], T);
    RuntimeBackgroundTask();
  }
  return result;
}

}  // namespace Globals
