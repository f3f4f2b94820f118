// The internal energy, enthalpy, entropy, Helmholtz and Gibbs energy windows
// driven as a user drives them: type, press, choose a root, read.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/globals.h"
#include "framework/runtime.h"
#include "gui/gui_support.h"
#include "procedures/pvt/pvt_windows.h"
#include "procedures/thermo/thermo_windows.h"
#include "properties/properties.h"

namespace {

using namespace framework;
using namespace testing_support;

// What a chosen root shows: molar volume, total, ideal and excess part.
struct Shown {
  std::string V, total, ideal, excess;
};
struct Values {
  double V, total, ideal, excess;
};

struct Member {
  const char* name;
  std::function<Window&()> open;
};

// In the order of the procedure list: U, H, S, A, G.
const std::vector<Member>& Members() {
  static const std::vector<Member> members = {
      {"EnergyWindow", []() -> Window& { return shared<thermo::EnergyWindow>(); }},
      {"EnthalpyWindow", []() -> Window& { return shared<thermo::EnthalpyWindow>(); }},
      {"EntropyWindow", []() -> Window& { return shared<thermo::EntropyWindow>(); }},
      {"HelmholtzWindow", []() -> Window& { return shared<thermo::HelmholtzWindow>(); }},
      {"GibbsWindow", []() -> Window& { return shared<thermo::GibbsWindow>(); }},
  };
  return members;
}

class ThermoWindows : public WindowTest {
 protected:
  // Calculates at P (MPa) and T in the unit given.
  static Window& CalculateIn(Window& w, const std::string& P, const std::string& T, bool celsius = false) {
    ClickThroughWindow(w.Radio(celsius ? "Celsius" : "Kelvin"));
    return Calculate(w, P, T);
  }
  static Shown Choose(Window& w, int k) {
    ClickThroughWindow(w.Radio("Choice" + std::to_string(k)));
    EXPECT_TRUE(w.Radio("Choice" + std::to_string(k)).Value());
    return {Text(w, "Result"), Text(w, "Result1"), Text(w, "Result2"), Text(w, "Result3")};
  }
  static Values Numbers(const Shown& s) { return {Val(s.V), Val(s.total), Val(s.ideal), Val(s.excess)}; }
  static void ExpectAll(const Shown& s, const std::string& text) {
    EXPECT_EQ(s.total, text);
    EXPECT_EQ(s.ideal, text);
    EXPECT_EQ(s.excess, text);
  }
};

// Each window against the formulas worked out on their own (a separate
// double-precision evaluation of a, b, da/dT, the ideal-gas integrals, the
// departure and mixing terms, the pure components' roots and saturation
// pressures): the right function, kind, model, temperature, pressure and root.
TEST_F(ThermoWindows, EachWindowShowsItsFunctionAndPartsAtTheChosenRoot) {
  struct Case {
    const char* name;
    std::int32_t model;
    std::vector<std::pair<int, double>> mixture;
    const char *P, *T;
    bool celsius;
    int root;
    const char* V;
    double expected[5][3];  // U, H, S, A, G: total, ideal, excess
  };
  const Case cases[] = {
      {"Brennick1981, one real root", Globals::Brennick1981, {{Globals::H2O, 0.7}, {Globals::CO2, 0.3}},
       "30", "700", false, 0, "154.968984682767",
       {{-281125.524107071, -282336.050219842, 1210.52611277105},
        {-276476.454566588, -277803.649479586, 1327.19491299817},
        {181.328137560161, 179.373521385638, 1.95461617452288},
        {-408055.220399184, -407897.515189789, -157.705209395103},
        {-403406.150858701, -403365.114449533, -41.0364091680503}}},
      // Liquid water among the pure components; 76.85 degrees Celsius.
      {"Ostrem1999, six gases", Globals::Ostrem1999,
       {{Globals::H2O, 0.25}, {Globals::CO2, 0.25}, {Globals::H2S, 0.1}, {Globals::H2, 0.1},
        {Globals::O2, 0.1}, {Globals::C2H6, 0.2}},
       "2", "76.85", true, 0, "1353.15981114389",
       {{-179413.721549481, -253663.839511136, 74250.1179616553},
        {-176707.401927193, -251608.206252648, 74900.8043254547},
        {194.386920388132, 25.1073628740041, 169.279557514128},
        {-247449.143685327, -262451.416517037, 15002.2728317104},
        {-244742.824063039, -260395.783258549, 15652.9591955099}}},
      {"Brennick1977, the vapour-like of three roots", Globals::Brennick1977,
       {{Globals::H2O, 0.5}, {Globals::CO2, 0.3}, {Globals::CH4, 0.2}}, "0.1", "300", false, 2,
       "24757.1662175262",
       {{-256418.263476433, -295244.10618753, 38825.842711097},
        {-253942.54685468, -294001.165633834, 40058.6187791545},
        {204.304085916167, 104.250018378469, 100.054067537698},
        {-317709.489251283, -326519.11170107, 8809.62244978761},
        {-315233.77262953, -325276.171147375, 10042.3985178451}}},
  };
  for (const Case& c : cases) {
    Globals::Selection = c.model;
    Globals::fraction = {};
    for (auto [gas, x] : c.mixture) Globals::fraction[gas] = x;
    for (std::size_t i = 0; i < Members().size(); ++i) {
      SCOPED_TRACE(std::string(c.name) + ", " + Members()[i].name);
      Window& w = CalculateIn(Members()[i].open(), c.P, c.T, c.celsius);
      const Values v = Numbers(Choose(w, c.root));
      if (c.root == 2) Screenshot(w, std::string(Members()[i].name) + "-result");
      const double* e = c.expected[i];
      const double tolerance = 1e-12 * std::max(std::fabs(e[0]), std::fabs(e[1]));
      EXPECT_NEAR(v.V, Val(c.V), 1e-12 * v.V);
      EXPECT_NEAR(v.total, e[0], tolerance);
      EXPECT_NEAR(v.ideal, e[1], tolerance);
      EXPECT_NEAR(v.excess, e[2], tolerance);
    }
  }
}

// A pure gas has no excess; a complex root shows 0 four times; a new
// calculation (Return in a field) turns the root off and empties the results.
TEST_F(ThermoWindows, PureNitrogenHasNoExcessAndItsComplexRootsShowZero) {
  SetMixture({{Globals::N2, 1.0}});
  for (const Member& m : Members()) {
    SCOPED_TRACE(m.name);
    Window& w = Calculate(m.open(), "10", "300");  // one real root
    const Shown real = Choose(w, 0);
    EXPECT_NE(real.total, "0");
    EXPECT_EQ(real.ideal, real.total);
    EXPECT_EQ(real.excess, "0");
    for (int k : {1, 2}) {
      const Shown s = Choose(w, k);
      EXPECT_EQ(s.V, "0");
      ExpectAll(s, "0");
    }
    QTest::keyClick(&w.Field("dataEntry"), Qt::Key_Return);
    EXPECT_FALSE(w.Radio("Choice2").Value());
    for (const char* r : {"Result", "Result1", "Result2", "Result3"}) EXPECT_EQ(Text(w, r), "") << r;
  }
}

// A stored root at or below the co-volume b (as the pressure window stores
// a typed volume) is outside the domain of S, A, H and G: their functions give 0, a
// failure value, which must not be split into an "ideal" and an "excess"
// part. The internal energy needs only V > 0. None of the five has a value at
// or below 0 K: a calculation at -10 K leaves TempKelvin there, and a volume
// well above b is stored.
TEST_F(ThermoWindows, ARootBelowTheCovolumeOrAtNoKelvinIsNotSplitIntoParts) {
  SetMixture({{Globals::N2, 0.5}, {Globals::Ar, 0.5}});  // b = 24.47 cm3/mol
  for (auto [T, V] : {std::pair{"300", "20"}, std::pair{"-10", "100"}}) {
    for (const Member& m : Members()) Calculate(m.open(), "5", T);
    Globals::MolarVolumes[0] = Val(V);
    ASSERT_EQ(Globals::TempKelvin, Val(T));
    for (const Member& m : Members()) {
      SCOPED_TRACE(std::string(m.name) + " at " + T + " K");
      const Shown s = Choose(m.open(), 0);
      EXPECT_EQ(s.V, V);
      if (std::string(m.name) == "EnergyWindow" && Val(T) > 0) {
        const Values v = Numbers(s);
        EXPECT_LT(v.total, 0.0);
        EXPECT_NEAR(v.ideal + v.excess, v.total, 1e-14 * (std::fabs(v.ideal) + std::fabs(v.excess)));
      } else {
        ExpectAll(s, "0");  // the entropy window showed an ideal part of 145.705
      }
    }
  }
  for (int f = 0; f < 5; ++f) {
    for (double T : {0.0, -10.0}) {
      const auto parts = thermo::PartsAtRoot(thermo::ThermoFunction(f), Globals::fraction, T, 5.0, 100.0, 0);
      EXPECT_EQ(parts.outcome, thermo::Outcome::NotComputed) << f << " at " << T;
    }
  }
}

// Ostrem (1999) gives a mixture with N2 no attraction constant between about
// 1197 and 2136 K: at a stored volume the functions are no numbers. At a
// pressure of 0 (an empty field) the pure components have no volume either,
// and the excess of such a value came out as a plain 0.
TEST_F(ThermoWindows, NoAttractionConstantShowsNoSolution) {
  Globals::Selection = Globals::Ostrem1999;
  SetMixture({{Globals::N2, 0.5}, {Globals::CO2, 0.5}});
  for (const Member& m : Members()) {
    for (const char* P : {"10", ""}) {
      SCOPED_TRACE(std::string(m.name) + " at P = \"" + P + "\"");
      Window& w = Calculate(m.open(), P, "1500");
      Globals::MolarVolumes[0] = 100.0;
      const Shown s = Choose(w, 0);
      EXPECT_EQ(s.V, "100");
      ExpectAll(s, "no solution");
    }
    // Below that range the same mixture has values (at the vapour-like root).
    const Values v = Numbers(Choose(Calculate(m.open(), "10", "1000"), 2));
    EXPECT_TRUE(std::isfinite(v.total) && v.total != 0.0);
    EXPECT_NE(v.excess, 0.0);
  }
}

// A pressure of 0 (an empty field) leaves the pure components no volume, and
// the root stored by the pressure window (V = 1000) is then a state without
// an excess: not computed, where 0 was shown. A cleared composition has no
// state at all.
TEST_F(ThermoWindows, AnExcessThatCannotBeComputedShowsNoSolution) {
  SetMixture({{Globals::N2, 0.5}, {Globals::Ar, 0.5}});
  for (const Member& m : Members()) {
    SCOPED_TRACE(m.name);
    Calculate(m.open(), "", "300");
    Calculate(shared<pvt::PressureWindow>(), "1000", "300");
    const Shown s = Choose(m.open(), 0);
    EXPECT_EQ(s.V, "1000");
    EXPECT_TRUE(std::isfinite(Val(s.total)) && Val(s.total) != 0.0) << s.total;
    EXPECT_EQ(s.ideal, "no solution");
    EXPECT_EQ(s.excess, "no solution");
    // The ideal mixture of N2 and Ar at (T, V), from S(298.15 K) and Cp of the
    // two gases and R ln 2 of mixing, has 152.40 J/(mol K); the departure at
    // 2.5 MPa takes a few tenths.
    if (std::string(m.name) == "EntropyWindow") {
      EXPECT_NEAR(Val(s.total), 152.1, 0.3);
    }
  }
  auto& v = shared<pvt::VolumeWindow>();
  Activate(v);
  ClickThroughWindow(v.Radio("Choice0"));
  EXPECT_EQ(Text(v, "ExcessVol"), "no solution");
  EXPECT_NEAR(Val(Text(v, "DensityResult")), (0.5 * 28.01348 + 0.5 * 39.9484) / 1000, 1e-15);

  SetMixture({});
  for (const Member& m : Members()) {
    Window& w = Calculate(m.open(), "10", "300");
    for (int k = 0; k < 3; ++k) ExpectAll(Choose(w, k), "no solution");
  }
}

}  // namespace
