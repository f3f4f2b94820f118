#include "core/attraction_terms.h"
#include "framework/runtime.h"
#include "properties/properties.h"

namespace Globals {

namespace {

// The association constant K of H2O with CO2 and dK/dT, as aMixture forms K.
// At and below 100.925 K the exponential would overflow; fixed values stand in.
struct Association {
  double K;
  double dK;
};

Association AssociationOf(double T, double scale, double fallbackK, double fallbackdK) {
  if (T > 100.925) {
    const double K = scale * terms::AssociationExp(T);
    const double dlnK =
        (-5953 / (T * T) + 5492000 / ((T * T) * T)) - 1393800000 / (((T * T) * T) * T);
    return {K, K * dlnK};
  }
  return {fallbackK, fallbackdK};
}

// Slopes of the H2O and CO2 polynomials of the atm-based sets, t in degrees C.
double H2OSlope1977(double t) { return (-193080 + 372.8 * t) - (0.213864 * t) * t; }

double H2OSlope1981(double t) {
  if (t < 600) {
    return ((-31227000 + 174970 * t) - (321.885 * t) * t) + ((0.1944444 * t) * t) * t;
  }
  if (t < 1200) return H2OSlope1977(t);
  return -50000;
}

double CO2Slope(double t) { return -71400 + 43.14 * t; }

double BrennickSlope(const GasArray& x, double T, std::int32_t model) {
  const double t = T - 273.15;
  const double d00 = model == Brennick1977 ? H2OSlope1977(t) : H2OSlope1981(t);
  const double d11 = CO2Slope(t);
  const Association k = AssociationOf(T, 1.0, 1e100, 1e98);
  // 16833.566308446894 = 2.5 * 6733.426523378758: d(T^2.5 K)/dT.
  const double d01 = (((16833.566308446894 * T) * Sqrt(T)) * k.K) / 2 +
                     ((((6733.426523378758 * T) * T) * Sqrt(T)) * k.dK) / 2;
  // Only H2O, CO2 and their pair depend on T in these sets.
  const double s =
      ((x[H2O] * x[H2O]) * d00 + (x[CO2] * x[CO2]) * d11) + ((2 * x[H2O]) * x[CO2]) * d01;
  return (s * 1.01325) / 10;
}

double OstremSlope(const GasArray& x, double T) {
  PairTable d{};
  GasArray a0{}, aT{};
  a0[H2O] = 3546375;
  a0[CO2] = 4660950;
  for (int i = 2; i < kGases; ++i) {
    a0[i] = terms::OstremA0(Tcrit[i], Pcrit[i]);
    aT[i] = a0[i];
    RuntimeBackgroundTask();
  }
  aT[N2] = terms::N2Ostrem(T);
  aT[CH4] = terms::CH4Ostrem(T);

  const double T2 = T * T, T3 = (T * T) * T, T4 = ((T * T) * T) * T;
  d[H2O][H2O] = ((2024.6 / T2 - 2985600 / T3) - 2271000000 / T4) * 1000000;
  d[CO2][CO2] = ((-5936.3 / T2 + 2824800 / T3) - 353010000 / T4) * 1000000;
  d[N2][N2] = (200.59 / T2 - 307720 / T3) * 1000000;
  d[CH4][CH4] = ((-3521.6 / T2 + 2310000 / T3) - 353010000 / T4) * 1000000;

  const Association k =
      AssociationOf(T, 9.869232667160128, 9.869232667160129e100, 9.869232667160128e98);

  auto pair = [&d](int i, int j, double v) {
    d[i][j] = v;
    d[j][i] = v;
  };
  // H2O and CO2 enter their pairs with N2 and CH4 with the fixed a0.
  pair(H2O, CH4, ((0.5 * d[CH4][CH4]) * a0[H2O]) / Sqrt(aT[CH4] * a0[H2O]));
  pair(CO2, CH4, ((0.5 * d[CH4][CH4]) * a0[CO2]) / Sqrt(aT[CH4] * a0[CO2]));
  pair(H2O, N2, ((0.5 * d[N2][N2]) * a0[H2O]) / Sqrt(aT[N2] * a0[H2O]));
  pair(CO2, N2, ((0.5 * d[N2][N2]) * a0[CO2]) / Sqrt(aT[N2] * a0[CO2]));
  pair(CH4, N2, (0.5 * (aT[CH4] * d[N2][N2] + aT[N2] * d[CH4][CH4])) / Sqrt(aT[CH4] * aT[N2]));
  // a_hk = sqrt(aT_h aT_k) of N2 or CH4 with a gas of constant a varies with
  // aT_h as well.
  for (int h : {N2, CH4}) {
    for (int k : {H2S, NH3, H2, O2, CO, Ar, C2H6}) {
      pair(h, k, ((0.5 * d[h][h]) * aT[k]) / Sqrt(aT[h] * aT[k]));
      RuntimeBackgroundTask();
    }
  }
  // 172.82611159696 = 2.5 * 69.130444638784.
  pair(H2O, CO2,
       (((172.82611159696 * T) * Sqrt(T)) * k.K) / 2 +
           ((((69.130444638784 * T) * T) * Sqrt(T)) * k.dK) / 2);

  return terms::PairSum(x, d);
}

}  // namespace

double dadT(const GasArray& x, double T, std::int32_t model) {
  if (model == Brennick1977 || model == Brennick1981) return BrennickSlope(x, T, model);
  if (model == Ostrem1999) return OstremSlope(x, T);
  return 0.0;
}

}  // namespace Globals
