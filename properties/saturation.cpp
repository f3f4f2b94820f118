#include <cmath>

#include "core/globals.h"
#include "framework/runtime.h"
#include "properties/properties.h"

namespace Globals {

namespace {

// Vapour-pressure equations, valid from the triple to the critical point.
// Every power goes through Pow, whole exponents included.

double H2OVapour(double tau, double Tc, double Pc, double T) {
  double S = -7.85951783 * tau;
  S = S + 1.84408259 * Pow(tau, 1.5);
  S = S - 11.7866497 * Pow(tau, 3);
  S = S + 22.6807411 * Pow(tau, 3.5);
  S = S - 15.9618719 * Pow(tau, 4);
  S = S + 1.80122502 * Pow(tau, 7.5);
  return Pc * Exp((S * Tc) / T);
}

double CO2Vapour(double tau, double Tc, double Pc, double T) {
  double S = -7.057346 * tau;
  S = S + 1.932188 * Pow(tau, 1.5);
  S = S - 1.636312 * Pow(tau, 2);
  S = S - 3.31247 * Pow(tau, 4);
  return Pc * Exp((S * Tc) / T);
}

double N2Vapour(double Tc, double Pc, double T) {
  const double y = Tc / T - 1;
  double S = 1;
  S = S - 5.072183802 * y;
  S = S + 13.67990776 * Pow(y, 1.9);
  S = S - 11.94002133 * Pow(y, 2.4);
  S = S + 2.641788411 * Pow(y, 3.5);
  S = S - 0.3781265428 * Pow(y, 5.5);
  S = S + 0.07593697713 * Pow(y, 7);
  return ((S * Pc) * T) / Tc;
}

double H2SVapour(double tau, double Pc) {
  double S = -5.7856 * tau;
  S = S - 9.4242 * Pow(tau, 2);
  S = S + 16.381 * Pow(tau, 3);
  S = S - 48.551 * Pow(tau, 4);
  return Pc * Exp(S);
}

double NH3Vapour(double tau, double Pc) {
  double S = -6.6722 * tau;
  S = S - 9.6203 * Pow(tau, 2);
  S = S + 16.201 * Pow(tau, 3);
  S = S - 55.553 * Pow(tau, 4);
  return Pc * Exp(S);
}

double O2Vapour(double tau, double Tc, double Pc, double T) {
  double S = -6.043938 * tau;
  S = S + 1.175627 * Pow(tau, 1.5);
  S = S - 0.994086 * Pow(tau, 3);
  S = S - 3.456781 * Pow(tau, 7);
  S = S + 3.361499 * Pow(tau, 9);
  return Pc * Exp((S * Tc) / T);
}

double COVapour(double Tc, double T) {
  const double Tr = T / Tc;
  double S = -7.461267899 / Tr;
  S = S + 16.516128685;
  S = S - 12.217914523 * Tr;
  S = S + 9.048182735 * Pow(Tr, 2);
  S = S - 2.331639377 * Pow(Tr, 3);
  S = S + 0.892713142 * Pow(1 - Tr, 1.25);
  return Exp(S) / 10;
}

double CH4Vapour(double tau, double Tc, double Pc, double T) {
  double S = -6.036219 * tau;
  S = S + 1.409353 * Pow(tau, 1.5);
  S = S - 0.4945199 * Pow(tau, 2);
  S = S - 1.443048 * Pow(tau, 4.5);
  return Pc * Exp((S * Tc) / T);
}

double C2H6Vapour(double tau, double Pc) {
  double S = (-7.955315 * tau) / (1 - tau);
  S = S + 1.532027 * tau;
  S = S + 14.78068 * Pow(tau, 1.9);
  S = S - 13.43179 * Pow(tau, 2);
  S = S + 4.704891 * Pow(tau, 3);
  return Pc * Exp(S);
}

}  // namespace

double SaturationPressure(std::int32_t gas, double T) {
  double result = 0.1;  // kept where no rule applies (H2 below its triple point)
  CriticalValues();
  if (gas < 0 || gas >= kGases) return 0.0;

  const double Tt = Ttrip[gas], Tc = Tcrit[gas], Pc = Pcrit[gas];
  const double tau = 1 - T / Tc;
  const bool vapourRange = Tt <= T && T <= Tc;

  switch (gas) {
    case H2O:
      result = vapourRange ? H2OVapour(tau, Tc, Pc, T) : Pow(10, -2125.7 / T + 4.6637);
      break;
    case CO2:
      result = vapourRange ? CO2Vapour(tau, Tc, Pc, T) : Pow(10, -918.2444 / T + 3.8871);
      break;
    case N2:
      result = vapourRange ? N2Vapour(Tc, Pc, T) : Pow(10, -304.98 / T + 2.9428);
      break;
    case H2S:
      result = vapourRange ? H2SVapour(tau, Pc) : Exp((7.4204 - 1806.2 / T) - 55558 / (T * T));
      break;
    case NH3:
      result = vapourRange ? NH3Vapour(tau, Pc) : Exp((8.4513 - 2271.3 / T) - 73160 / (T * T));
      break;
    case H2:
      // No upper bound: the same formula above the critical point.
      if (T >= Tt) result = Exp((4.9017 - 167.65 / T) + 441.17 / (T * T));
      break;
    case O2:
      result = vapourRange ? O2Vapour(tau, Tc, Pc, T) : Exp((6.75 - 773.12 / T) - 3879.5 / (T * T));
      break;
    case CO:
      result = vapourRange ? COVapour(Tc, T) : Exp((6.5881 - 690.21 / T) - 2875.4 / (T * T));
      break;
    case Ar:
      // The straight line through (Ttrip, 0.1 MPa) and (Tcrit, Pcrit) at every
      // T. It crosses zero near 81.89 K and is negative below: callers take
      // Psat <= 0 as "no saturation pressure".
      result = ((0.1 * Tc) - (Pc * Tt)) / (Tc - Tt) + (T * (Pc - 0.1)) / (Tc - Tt);
      break;
    case CH4:
      result = vapourRange ? CH4Vapour(tau, Tc, Pc, T) : Pow(10, -492.3749 / T + 3.2462);
      break;
    case C2H6:
      result = vapourRange ? C2H6Vapour(tau, Pc) : Pow(10, -838.52005 / T + 3.43391);
      break;
    default:
      break;
  }
  // Only a temperature that is not a positive number gets here with an
  // infinity or a NaN (a small negative T in 10^(-c/T)).
  return std::isfinite(result) ? result : 0.0;
}

}  // namespace Globals
