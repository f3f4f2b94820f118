// Thermodynamic consistency of the property functions: each identity ties
// functions that are computed separately, so a wrong sign, term or order in
// one of them shows up as a mismatch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "properties_fixtures.h"

namespace {

using namespace Globals;
using namespace props_test;

constexpr double R = 8.314472;

struct State {
  double T, V;
};

// Vapour- and liquid-like roots of the fluid, and a dense state near b.
std::vector<State> States(const GasArray& x, std::int32_t model) {
  std::vector<State> states;
  for (auto [T, P] : {std::pair{300.0, 10.0}, std::pair{650.0, 60.0}}) {
    for (std::int32_t mode : {LargestRoot, SmallestRoot}) {
      CubicRoots r = Volume(x, T, P, model);
      const double V = VolumeChoice(r, mode);
      if (V > bMixture(x)) states.push_back({T, V});
    }
  }
  states.push_back({450.0, 1.25 * bMixture(x)});
  return states;
}

std::string Where(const GasArray& x, std::int32_t model, State s) {
  std::ostringstream w;
  w << "model " << model << " T " << s.T << " V " << s.V << " x";
  for (double f : x) w << ' ' << f;
  return w.str();
}

TEST(Identities, HelmholtzDerivativesAndTransforms) {
  // S = -dA/dT checks dadT against aMixture for every pair the fluids hold,
  // the Ostrem1999 pairs of N2 and CH4 with gases of constant a included.
  for (const GasArray& x : Fluids()) {
    for (std::int32_t model : kModels) {
      for (State s : States(x, model)) {
        const double A = Helmholtz(x, s.T, s.V, model), S = Entropy(x, s.T, s.V, model);
        const double U = Energy(x, s.T, s.V, model), H = Enthalpy(x, s.T, s.V, model);
        const double G = Gibbs(x, s.T, s.V, model), P = Pressure(x, s.T, s.V, model);
        const double dAdV = Derivative([&](double V) { return Helmholtz(x, s.T, V, model); }, s.V,
                                       1e-3 * (s.V - bMixture(x)));
        const double dAdT =
            Derivative([&](double T) { return Helmholtz(x, T, s.V, model); }, s.T, 0.01);
        const double scale = std::max({std::fabs(A), std::fabs(U), std::fabs(s.T * S), 1.0});
        EXPECT_NEAR(-dAdV, P, 1e-8 * (std::fabs(P) + 1)) << Where(x, model, s);
        EXPECT_NEAR(-dAdT, S, 1e-7) << Where(x, model, s);
        EXPECT_NEAR(U, A + s.T * S, 1e-13 * scale) << Where(x, model, s);
        EXPECT_NEAR(H - U, P * s.V, 1e-13 * scale) << Where(x, model, s);
        EXPECT_NEAR(G - A, P * s.V, 1e-13 * scale) << Where(x, model, s);
      }
    }
  }
}

TEST(Identities, ChemicalPotentialsAndFugacityCoefficients) {
  for (const GasArray& x : Fluids()) {
    for (std::int32_t model : kModels) {
      for (State s : States(x, model)) {
        const double P = Pressure(x, s.T, s.V, model);
        if (!(P > 0)) continue;  // a stretched liquid: no fugacity
        // ln phi = (1/RT) int_V^inf (P - RT/V') dV' + Z - 1 - ln Z.
        const double am = aMixture(x, s.T, model), bm = bMixture(x), Z = P * s.V / (R * s.T);
        const double lnPhiMix = std::log(s.V / (s.V - bm)) -
                                am / (bm * R * std::pow(s.T, 1.5)) * std::log((s.V + bm) / s.V) +
                                Z - 1 - std::log(Z);
        Fugacities(x, s.T, P, s.V, model);
        const GasArray phi = Coefficient;
        const double G = Gibbs(x, s.T, s.V, model);
        double sumMu = 0.0, sumLnPhi = 0.0;
        for (int i = 0; i < kGases; ++i) {
          if (x[i] == 0) continue;
          const double mu = ChemicalPotential(i, x, s.T, s.V, model);
          sumMu += x[i] * mu;
          sumLnPhi += x[i] * std::log(phi[i]);
          // mu_i = mu0_i + RT ln(x_i phi_i P / 0.1 MPa), mu0_i the ideal-gas
          // Gibbs energy of pure i at T and 0.1 MPa.
          const GasArray p = Pure(i);
          const double mu0 = IdealGas(IdealEnthalpy, p, s.T) - s.T * IdealGas(IdealEntropy, p, s.T);
          const double expected = mu0 + R * s.T * std::log(x[i] * phi[i] * P / 0.1);
          EXPECT_NEAR(mu, expected, 1e-13 * std::max(std::fabs(mu0), 1.0))
              << i << " " << Where(x, model, s);
        }
        EXPECT_NEAR(sumMu, G, 1e-13 * std::max(std::fabs(G), 1.0)) << Where(x, model, s);
        EXPECT_NEAR(sumLnPhi, lnPhiMix, 1e-13 * std::max(std::fabs(lnPhiMix), 1.0))
            << Where(x, model, s);
      }
    }
  }
  // Far out the fluid is an ideal gas: every coefficient tends to 1.
  for (const GasArray& x : Fluids()) {
    for (std::int32_t model : kModels) {
      const double T = 500, V = 1e10;
      Fugacities(x, T, Pressure(x, T, V, model), V, model);
      for (int i = 0; i < kGases; ++i) EXPECT_NEAR(Coefficient[i], 1.0, 1e-7) << i;
    }
  }
}

TEST(Identities, IdealGasEnthalpyAndEntropyIntegrateTheHeatCapacity) {
  for (int gas = 0; gas < kGases; ++gas) {
    const GasArray x = Pure(gas);
    for (double T : {150.0, 298.15, 700.0, 2000.0}) {
      const double Cp = IdealGas(IdealHeatCapacity, x, T);
      const double dH =
          Derivative([&](double t) { return IdealGas(IdealEnthalpy, x, t); }, T, 0.01);
      const double dS = Derivative([&](double t) { return IdealGas(IdealEntropy, x, t); }, T, 0.01);
      EXPECT_NEAR(dH, Cp, 1e-8 * Cp) << gas << " " << T;
      EXPECT_NEAR(T * dS, Cp, 1e-8 * Cp) << gas << " " << T;
    }
  }
  // A mixture is the mole-fraction average of its components.
  const GasArray x = Mix({{H2O, 0.25}, {CH4, 0.75}});
  EXPECT_NEAR(
      IdealGas(IdealEntropy, x, 600),
      0.25 * IdealGas(IdealEntropy, Pure(H2O), 600) + 0.75 * IdealGas(IdealEntropy, Pure(CH4), 600),
      1e-12);
}

TEST(Identities, ExcessPartsKeepTheTransforms) {
  // U = A + TS and H - U = G - A = PV hold for each pure component at T and P
  // as for the mixture, so the excess parts keep them with P times the excess
  // volume.
  for (const GasArray& x : Fluids()) {
    for (std::int32_t model : kModels) {
      for (auto [T, P] : {std::pair{650.0, 60.0}, std::pair{300.0, 0.1}}) {
        CubicRoots r = Volume(x, T, P, model);
        const double V = VolumeChoice(r, LargestRoot);
        auto ex = [&](std::int32_t kind, double total) { return Excess(kind, x, T, P, total, model).value(); };
        const double U = ex(ExcessEnergy, Energy(x, T, V, model)), H = ex(ExcessEnthalpy, Enthalpy(x, T, V, model));
        const double S = ex(ExcessEntropy, Entropy(x, T, V, model)), A = ex(ExcessHelmholtz, Helmholtz(x, T, V, model));
        const double G = ex(ExcessGibbs, Gibbs(x, T, V, model)), PVex = P * ex(ExcessVolume, V);
        const double scale = 1e-9 * (std::fabs(U) + std::fabs(T * S) + std::fabs(H) + 1);
        EXPECT_NEAR(U, A + T * S, scale) << Where(x, model, {T, V});
        EXPECT_NEAR(H - U, PVex, scale) << Where(x, model, {T, V});
        EXPECT_NEAR(G - A, PVex, scale) << Where(x, model, {T, V});
      }
    }
  }
}

TEST(Identities, ExcessVanishesAtLowPressureAndForAPureFluid) {
  // With the pure components as ideal gases at the mixture's T and P, the
  // mixing terms are the ideal ones and cancel against the corrections of
  // Excess; only the departures, of the order of P, remain.
  const double T = 600;
  for (const GasArray& x : Fluids()) {
    for (std::int32_t model : kModels) {
      for (double P : {1e-4, 1e-6}) {
        CubicRoots r = Volume(x, T, P, model);
        const double V = VolumeChoice(r, LargestRoot);
        // The excess volume tends to a second-virial difference, not to 0:
        // against V itself it vanishes. The others fall in proportion to P.
        EXPECT_LT(std::fabs(Excess(ExcessVolume, x, T, P, V, model).value()) / V, 0.01 * P);
        EXPECT_LT(std::fabs(Excess(ExcessEnergy, x, T, P, Energy(x, T, V, model), model).value()), 1e3 * P);
        EXPECT_LT(std::fabs(Excess(ExcessEnthalpy, x, T, P, Enthalpy(x, T, V, model), model).value()),
                  1e3 * P);
        EXPECT_LT(std::fabs(Excess(ExcessEntropy, x, T, P, Entropy(x, T, V, model), model).value()), P);
        EXPECT_LT(std::fabs(Excess(ExcessHelmholtz, x, T, P, Helmholtz(x, T, V, model), model).value()), P);
        EXPECT_LT(std::fabs(Excess(ExcessGibbs, x, T, P, Gibbs(x, T, V, model), model).value()), 1e2 * P);
      }
    }
  }
  for (int gas : {H2O, CO2, H2, C2H6}) {
    // A trace below the fixed-point resolution leaves the fluid pure.
    GasArray x = Pure(gas);
    x[Ar] = 4e-13;
    for (double P : {0.1, 30.0}) {
      for (std::int32_t kind = ExcessVolume; kind <= ExcessGibbs; ++kind) {
        EXPECT_EQ(Excess(kind, x, 400, P, 12345.0, Ostrem1999), 0.0) << gas << " " << kind;
      }
    }
  }
}

}  // namespace
