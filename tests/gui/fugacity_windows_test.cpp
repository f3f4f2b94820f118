// The fugacity, activity and chemical-potential windows driven as a user
// drives them: type P and T, calculate, pick a root (and a standard state),
// read the list.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/globals.h"
#include "framework/runtime.h"
#include "gui/gui_support.h"
#include "procedures/fugacity/fugacity_windows.h"
#include "procedures/pvt/texts.h"
#include "procedures/thermo/chem_pot_window.h"
#include "properties/properties.h"

namespace {

using namespace framework;
using namespace testing_support;
using fugacity::ActivityWindow;
using fugacity::FugacityWindow;
using thermo::ChemPotWindow;
using Rows = std::vector<std::vector<std::string>>;

const std::initializer_list<std::pair<int, double>> kMixture = {
    {Globals::H2O, 0.5}, {Globals::CO2, 0.3}, {Globals::CH4, 0.2}};

// A background hook that counts the passes of the numeric loops and, at one
// chosen pass, runs an action: what another window's handler would do there.
struct PassHook {
  static inline int passes = 0, at = -1;
  static inline std::function<void()> action;
  BackgroundHook saved = CurrentBackgroundHook();
  PassHook(int runAt, std::function<void()> act) {
    passes = 0, at = runAt, action = std::move(act);
    SetBackgroundHook([] { if (++passes == at && action) action(); }, std::chrono::milliseconds(0));
  }
  ~PassHook() {
    SetBackgroundHook(saved);
    action = nullptr;
  }
};

// Everything that a handler in another window could change between two
// passes of a loop.
void ScribbleOverTheSharedState() {
  Globals::TempKelvin = 1.0;
  Globals::PresMPa = 1.0;
  Globals::MolarVolumes.fill(1.0);
  SetMixture({{Globals::N2, 1.0}});
  Globals::Selection = Globals::Brennick1981;
  Globals::Fugacity.fill(-1.0);
  Globals::Coefficient.fill(-1.0);
  Globals::Activity.fill(-1.0);
}

class FugacityWindows : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    SetMixture(kMixture);
  }

  template <class W>
  static W& Calculate(const std::string& P, const std::string& T) {
    return static_cast<W&>(testing_support::Calculate(shared<W>(), P, T));
  }
  static void Choose(Window& w, int k) { ClickThroughWindow(w.Radio("Choice" + std::to_string(k))); }
  // Chooses a standard state, types the reference pressure, presses continue.
  static void Continue(ActivityWindow& w, int state, const std::string& Pref = "") {
    ClickThroughWindow(w.Radio("StandardChoice" + std::to_string(state)));
    if (!Pref.empty()) Type(w.Field("dataEntry2"), Pref);
    ClickThroughWindow(w.Button("PushButton1"));
  }
  static Rows List(Window& w) {
    Rows rows;
    auto& list = w.List("ListBox1");
    for (int r = 0; r < list.ListCount(); ++r) {
      rows.emplace_back();
      for (int c = 0; c < list.columnCount(); ++c) rows.back().push_back(list.Cell(r, c));
    }
    return rows;
  }
  static double X(const std::string& gas) {
    for (int i = 0; i < Globals::kGases; ++i) {
      if (pvt::kGasNames[i] == gas) return Globals::fraction[i];
    }
    return 0.0;
  }
};

// ---- Fugacities ----

TEST_F(FugacityWindows, FugacitiesAreCoefficientsTimesPartialPressures) {
  auto& w = Calculate<FugacityWindow>("20", "500");
  Choose(w, 0);  // the one real root
  const Rows rows = List(w);
  ASSERT_EQ(rows.size(), 3u);  // only the present gases, in gas order
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(rows[k][0], (std::vector<std::string>{"H2O", "CO2", "CH4"})[k]);
    const double f = Val(rows[k][1]), phi = Val(rows[k][2]);
    EXPECT_GT(phi, 0.0) << rows[k][0];
    EXPECT_NEAR(f / (X(rows[k][0]) * 20), phi, 1e-14 * phi) << rows[k][0];
  }
  Screenshot(w, "FugacityWindow-mixture");

  // The complex pair is stored as 0 and computes nothing: no fugacity and no
  // coefficient (not the fallback 0 and 1).
  Choose(w, 2);
  EXPECT_EQ(Text(w, "Result"), "0");
  for (const auto& row : List(w)) EXPECT_EQ(row, (std::vector<std::string>{row[0], "no solution", "no solution"}));

  // Clear empties the results but keeps the roots and state to compute from.
  ClickThroughWindow(w.Button("Clear"));
  for (const char* t : {"TextChoice0", "TextChoice1", "TextChoice2", "Result"}) EXPECT_EQ(Text(w, t), "") << t;
  EXPECT_TRUE(List(w).empty());
  Choose(w, 0);
  EXPECT_EQ(List(w), rows);
}

// ---- Activities ----

// The activity window reads the root back from its text: with fewer than
// its 15 digits the activities would miss the coefficients.
TEST_F(FugacityWindows, ActivitiesAgreeWithTheFugacityCoefficients) {
  auto& f = Calculate<FugacityWindow>("20", "500");
  Choose(f, 0);
  const Rows fugacities = List(f);
  ASSERT_EQ(fugacities.size(), 3u);

  auto& w = Calculate<ActivityWindow>("20", "500");
  Choose(w, 0);
  // Against ideal gases at Pref = P each activity is the fugacity
  // coefficient, and the activity coefficient that over x.
  Continue(w, 2, "20");
  const Rows ideal = List(w);
  ASSERT_EQ(ideal.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(ideal[k][0], fugacities[k][0]);
    const double phi = Val(fugacities[k][2]), x = X(ideal[k][0]);
    EXPECT_NEAR(Val(ideal[k][1]), phi, 1e-12 * phi) << ideal[k][0];
    EXPECT_NEAR(Val(ideal[k][2]), phi / x, 1e-12 * phi / x) << ideal[k][0];
  }
  // Pure real gases at Pref = P is state 0.
  Continue(w, 0);
  const Rows atP = List(w);
  Continue(w, 1, "20");
  EXPECT_EQ(List(w), atP);
  Screenshot(w, "ActivityWindow-top");
  // Pressing again lists the same, not twice as much.
  ClickThroughWindow(w.Button("PushButton1"));
  EXPECT_EQ(List(w), atP);
}

TEST_F(FugacityWindows, StandardStatesWipeTheReferencePressureAndCalculateResetsThem) {
  auto& w = Calculate<ActivityWindow>("20", "500");
  // A reference pressure is typed for the state it belongs to.
  Type(w.Field("dataEntry2"), "5");
  ClickThroughWindow(w.Radio("StandardChoice1"));
  EXPECT_EQ(w.Field("dataEntry2").Text(), "");
  Type(w.Field("dataEntry2"), "5");
  ClickThroughWindow(w.Radio("StandardChoice0"));
  EXPECT_EQ(w.Field("dataEntry2").Text(), "  no entry  ");
  ClickThroughWindow(w.Radio("StandardChoice2"));
  EXPECT_EQ(w.Field("dataEntry2").Text(), "");

  // Return presses the nearest default button: continue in the reference
  // pressure's group...
  Choose(w, 0);
  Type(w.Field("dataEntry2"), "20");
  QTest::keyClick(&w.Field("dataEntry2"), Qt::Key_Return);
  ASSERT_EQ(List(w).size(), 3u);
  EXPECT_TRUE(w.Radio("Choice0").Value());
  // ... calculate in the temperature field, which resets everything from the
  // root on.
  Type(w.Field("dataEntry1"), "500");
  QTest::keyClick(&w.Field("dataEntry1"), Qt::Key_Return);
  for (const char* r : {"Choice0", "Choice1", "Choice2", "StandardChoice0", "StandardChoice1", "StandardChoice2"}) {
    EXPECT_FALSE(w.Radio(r).Value()) << r;
  }
  EXPECT_EQ(w.Field("dataEntry2").Text(), "");
  EXPECT_EQ(Text(w, "Result"), "");
  EXPECT_TRUE(List(w).empty());
  EXPECT_TRUE(w.Radio("Kelvin").Value());  // another group

  // Without a standard state continue lists nothing: not the activities of
  // the last computation, with coefficients from whatever fractions hold now.
  Choose(w, 0);
  ClickThroughWindow(w.Button("PushButton1"));
  EXPECT_TRUE(List(w).empty());
}

TEST_F(FugacityWindows, AReferencePressureThatIsNoNumberAboveZeroIsMarked) {
  auto& w = Calculate<ActivityWindow>("20", "500");
  Choose(w, 0);
  Continue(w, 0);
  ASSERT_EQ(List(w).size(), 3u);
  for (int state : {1, 2}) {
    for (const char* Pref : {"-20", "0", "abc", "2 MPa", "1e999"}) {
      Continue(w, state, Pref);
      EXPECT_EQ(w.Field("dataEntry2").Text(), "put number") << state << " " << Pref;
      EXPECT_TRUE(List(w).empty()) << state << " " << Pref;
    }
    // The message itself is no number either.
    ClickThroughWindow(w.Button("PushButton1"));
    EXPECT_EQ(w.Field("dataEntry2").Text(), "put number");
    EXPECT_TRUE(List(w).empty());
  }
  // A number above 0 computes again.
  Type(w.Field("dataEntry2"), " 2e1 ");
  ClickThroughWindow(w.Button("PushButton1"));
  EXPECT_EQ(List(w).size(), 3u);
}

// Below about 81.9 K argon's saturation pressure is below 0: every pressure
// is above it, so pure argon takes its liquid-like root. Expected values
// from 50-digit evaluations of the cubic and ln phi.
TEST_F(FugacityWindows, ArgonBelowItsSaturationLineTakesItsLiquidRoot) {
  SetMixture({{Globals::N2, 0.5}, {Globals::Ar, 0.5}});
  auto& w = Calculate<ActivityWindow>("1", "80");
  Choose(w, 0);  // the one real root, liquid-like
  ASSERT_EQ(Text(w, "Result"), "30.6010746415425");
  Continue(w, 0);
  const Rows rows = List(w);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][0], "Ar");
  EXPECT_NEAR(Val(rows[0][1]), 0.544104911911237, 1e-13);
  EXPECT_NEAR(Val(rows[1][1]), 0.553667943095148, 1e-13);
  EXPECT_NEAR(Val(rows[1][2]), 1.1073358861903, 1e-13);
}

TEST_F(FugacityWindows, WithoutACoefficientTheRowsSayNoSolution) {
  // Under Ostrem (1999) N2 has a negative a between about 1197 and 2136 K.
  SetMixture({{Globals::N2, 0.5}, {Globals::CO2, 0.5}});
  Globals::Selection = Globals::Ostrem1999;
  auto& a = Calculate<ActivityWindow>("10", "1500");
  EXPECT_EQ(Text(a, "TextChoice0"), "no solution");
  Choose(a, 0);
  Continue(a, 2, "10");
  const Rows none = {{"CO2", "no solution", "no solution"}, {"N2", "no solution", "no solution"}};
  EXPECT_EQ(List(a), none);

  auto& f = Calculate<FugacityWindow>("10", "1500");
  auto& c = Calculate<ChemPotWindow>("10", "1500");
  Globals::MolarVolumes[0] = 1000.0;  // as the pressure window stores a typed volume
  Choose(f, 0);
  EXPECT_EQ(Text(f, "Result"), "1000");
  EXPECT_EQ(List(f), none);
  Choose(c, 0);
  EXPECT_EQ(List(c), (Rows{{"CO2", "no solution"}, {"N2", "no solution"}}));
}

// The handlers take the shared state once: another window changing it while
// a list is computed changes nothing in the list. The changes come before the
// first call and in the last passes, where the rows are listed; inside a
// property function's own loops its result arrays are being written.
TEST_F(FugacityWindows, ListsTakeTheSharedStateOnce) {
  struct Case {
    const char* name;
    std::function<Window&()> prepare;  // up to the last step
    std::function<void(Window&)> last;  // the step that computes
  };
  const std::vector<Case> cases = {
      {"fugacities", [] () -> Window& { return Calculate<FugacityWindow>("20", "500"); },
       [](Window& w) { Choose(w, 0); }},
      {"activities",
       [] () -> Window& {
         auto& w = Calculate<ActivityWindow>("20", "500");
         Choose(w, 0);
         ClickThroughWindow(w.Radio("StandardChoice0"));
         return w;
       },
       [](Window& w) { ClickThroughWindow(w.Button("PushButton1")); }},
      {"chemical potentials", [] () -> Window& { return Calculate<ChemPotWindow>("20", "500"); },
       [](Window& w) { Choose(w, 0); }},
  };
  for (const Case& c : cases) {
    SetMixture(kMixture);
    Globals::Selection = 0;
    Window& w = c.prepare();
    int passes = 0;
    {
      PassHook count(-1, nullptr);
      c.last(w);
      passes = PassHook::passes;
    }
    const Rows undisturbed = List(w);
    ASSERT_EQ(undisturbed.size(), 3u) << c.name;
    ASSERT_GT(passes, 20) << c.name;
    for (int at : {1, passes - 10, passes - 5, passes - 1, passes}) {
      SetMixture(kMixture);
      Globals::Selection = 0;
      c.prepare();
      {
        PassHook hook(at, ScribbleOverTheSharedState);
        c.last(w);
      }
      EXPECT_EQ(List(w), undisturbed) << c.name << ", pass " << at << " of " << passes;
    }
  }
}

TEST_F(FugacityWindows, APressDuringItsOwnComputationListsOnce) {
  auto& w = Calculate<ActivityWindow>("20", "500");
  Choose(w, 0);
  Continue(w, 0);
  const Rows once = List(w);
  {
    PassHook hook(40, [&w] { w.Button("PushButton1").Push(); });
    ClickThroughWindow(w.Button("PushButton1"));
  }
  EXPECT_EQ(List(w), once);
}

// ---- Scrolling ----

TEST_F(FugacityWindows, TheScrollBarMovesTheWholeContent) {
  auto& w = Calculate<ActivityWindow>("20", "500");
  Choose(w, 0);
  Continue(w, 2, "20");
  auto& bar = w.Scroll("ScrollBar1");
  const int frame = w.height() - w.Content().height();
  w.resize(480, 400 + frame);
  Settle();
  ASSERT_EQ(w.Content().height(), 400);
  EXPECT_EQ(bar.Height(), 385);
  EXPECT_EQ(bar.Maximum(), 400);

  std::map<std::string, int> tops;
  for (Control* c : w.Controls()) tops[c->Name()] = c->Top();
  bar.SetValue(400);
  Settle();
  for (Control* c : w.Controls()) {
    const int moved = c->Name() == "ScrollBar1" ? 0 : -400;
    EXPECT_EQ(c->Top(), tops[c->Name()] + moved) << c->Name();
  }
  Screenshot(w, "ActivityWindow-scrolled-400");

  // At its full height nothing is left to scroll, and the bar's value went
  // back to 0.
  w.resize(480, 800 + frame);
  Settle();
  EXPECT_EQ(bar.Height(), 785);
  EXPECT_EQ(bar.Maximum(), 0);
  EXPECT_EQ(w.Get<ShapeControl>("Rectangle1").Top(), 0);
}

// ---- Chemical potentials ----

TEST_F(FugacityWindows, ChemicalPotentialsAddUpToTheGibbsEnergy) {
  // G = sum of x_i mu_i (Euler) at the real root of a dense mixture; the
  // complex pair is stored as 0 and computes nothing.
  auto& w = Calculate<ChemPotWindow>("20", "500");
  Choose(w, 2);
  for (const auto& row : List(w)) EXPECT_EQ(row[1], "0") << row[0];
  Choose(w, 0);
  ASSERT_EQ(List(w).size(), 3u);
  double sum = 0.0;
  for (const auto& row : List(w)) sum += X(row[0]) * Val(row[1]);
  const double G = Globals::Gibbs(Globals::fraction, 500, Globals::MolarVolumes[0], 0);
  EXPECT_NEAR(sum, G, 1e-11 * std::fabs(G));
  Screenshot(w, "ChemPotWindow-mixture");
}

}  // namespace
