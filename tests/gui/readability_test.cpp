// The results of every window read at the size their records give, with
// Str's digits kept in the texts; the units read cm³/mol and g/cm³.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <functional>

#include "core/globals.h"
#include "critical/critical_windows.h"
#include "framework/fit_text.h"
#include "framework/runtime.h"
#include "gui/gui_support.h"
#include "phase/phase_windows.h"
#include "procedures/fugacity/fugacity_windows.h"
#include "procedures/pvt/pvt_windows.h"
#include "procedures/thermo/chem_pot_window.h"
#include "procedures/thermo/thermo_windows.h"

namespace {

using namespace framework;
using namespace testing_support;
using Opener = std::pair<std::string, std::function<Window&()>>;

// How many significant digits the drawn text keeps of the stored one: 15
// for the text itself, 0 when it is no rounding of it.
int KeptDigits(const std::string& stored, const std::string& shown) {
  if (shown == stored) return 15;
  for (int d = 14; d >= kFewestFitDigits; --d) {
    if (RoundNumbers(stored, d) == shown) return d;
  }
  return 0;
}

// Every text a label or list cell of `w` holds that has a number in it keeps
// Str's digits (a number with more than six is Str's writing of its value),
// and is drawn within the control at its own size with at least six of them.
// Returns how many texts were drawn rounded.
int ExpectEveryNumberReadable(Window& w, const std::string& where) {
  static const QRegularExpression number(QStringLiteral("(?<![\\w.])-?\\d+(\\.\\d+)?(e[+-]?\\d+)?(?![\\w.])"));
  int rounded = 0;
  auto check = [&](const std::string& stored, const std::string& shown, const QFont& drawn, int size, int width,
                   const std::string& what) {
    bool holdsNumber = false;
    for (auto it = number.globalMatch(QString::fromStdString(stored)); it.hasNext();) {
      const std::string n = it.next().captured().toStdString();
      holdsNumber = true;
      if (RoundNumbers(n, kFewestFitDigits) != n) {
        EXPECT_EQ(Str(Val(n)), n) << what << ": " << stored;
      }
    }
    if (!holdsNumber) return;
    EXPECT_EQ(drawn.pixelSize(), size) << what << ": " << stored << " shown as " << shown;
    EXPECT_LE(QFontMetrics(drawn).horizontalAdvance(QString::fromStdString(shown)), width) << what << ": " << shown;
    const int kept = KeptDigits(stored, shown);
    EXPECT_GE(kept, kFewestFitDigits) << what << ": " << stored << " shown as " << shown;
    rounded += kept < 15;
  };
  for (Control* c : w.Controls()) {
    const std::string what = where + "." + c->Name();
    if (auto* label = dynamic_cast<StaticTextControl*>(c)) {
      if (!label->Visible() || label->wordWrap() || label->DrawnByItsUnit()) continue;
      check(label->Text(), label->ShownText(), label->ShownFont(), label->font().pixelSize(), label->width(), what);
    } else if (auto* list = dynamic_cast<ListboxControl*>(c)) {
      for (int r = 0; r < list->ListCount(); ++r) {
        for (int col = 0; col < list->columnCount(); ++col) {
          check(list->Cell(r, col), list->ShownCell(r, col), list->CellFont(r, col), list->font().pixelSize(),
                list->columnWidth(col), what + "[" + std::to_string(r) + "," + std::to_string(col) + "]");
        }
      }
    }
  }
  return rounded;
}

class Readability : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    SetMixture({{Globals::H2O, 0.5}, {Globals::CO2, 0.3}, {Globals::CH4, 0.2}});
  }

  // Calculates and reads every root, `then` done after each choice.
  static int EachRoot(Window& w, const std::string& where, const std::string& P, const std::string& T,
                      const std::function<void()>& then = {}) {
    Calculate(w, P, T);
    int rounded = ExpectEveryNumberReadable(w, where);
    for (int k : {1, 2, 0}) {  // the real root last, for the screenshot
      ClickThroughWindow(w.Radio("Choice" + std::to_string(k)));
      if (then) then();
      Settle();
      rounded += ExpectEveryNumberReadable(w, where + " root " + std::to_string(k));
    }
    return rounded;
  }
};

// Blank pixel columns, as drawn, between the "3" that ends a unit label and
// the ink before it.
int GapBeforeTheLastInk(StaticTextControl& unit) {
  const QImage image = unit.grab().toImage();
  auto inked = [&image](int x) {
    for (int y = 0; y < image.height(); ++y) {
      if (255 - image.pixelColor(x, y).lightness() > 30) return true;
    }
    return false;
  };
  int x = image.width() - 1;
  while (x >= 0 && !inked(x)) --x;  // after the "3"
  while (x >= 0 && inked(x)) --x;   // the "3"
  int blank = 0;
  while (x >= 0 && !inked(x)) --x, ++blank;
  return blank;
}

// (Which labels are exponents, and where they sit: every window, in
// all_windows_test.)
TEST_F(Readability, ARaisedThreeReadsAsPartOfItsUnit) {
  // g/cm³ as drawn, at 14 px over 11 and at 16 over 12: the font's own
  // spacing (one clear column) between the "m" and the "3", not a gap.
  EXPECT_EQ(GapBeforeTheLastInk(shared<pvt::Isochore>().Label("StaticText9")), 1);
  EXPECT_EQ(GapBeforeTheLastInk(shared<pvt::VolumeWindow>().Label("StaticText12")), 1);
  // A "3" that is a value, not an exponent, is drawn by itself.
  auto& v = shared<pvt::VolumeWindow>();
  v.Label("Result").SetText("3");
  EXPECT_FALSE(v.Label("Result").DrawnByItsUnit());
  // An exponent label that stops being one is drawn by itself again.
  auto& iso = shared<pvt::Isochore>();
  iso.Label("StaticText10").SetText("cubed");
  EXPECT_FALSE(iso.Label("StaticText10").DrawnByItsUnit());
  EXPECT_FALSE(iso.Label("StaticText9").Raised().has_value());
  iso.Label("StaticText10").SetText("3");
  EXPECT_TRUE(iso.Label("StaticText10").DrawnByItsUnit());
}

TEST_F(Readability, PressureTemperatureAndIsochore) {
  auto& p = Calculate(shared<pvt::PressureWindow>(), "150", "400");
  ExpectEveryNumberReadable(p, "PressureWindow");
  auto& t = shared<pvt::TemperatureWindow>();
  t.Show();
  ExpectEveryNumberReadable(Calculate(t, "150", p.Label("Result").Text()), "TemperatureWindow");
  // The isochore of the volume stored there; some of its 1001 pressures need
  // rounding in their 100 px.
  auto& iso = shared<pvt::Isochore>();
  Activate(iso);
  Type(iso.Field("minimum"), "0");
  Type(iso.Field("maximum"), "1000");
  Type(iso.Field("interval"), "1");
  iso.Button("calculate").Push();
  Settle();  // the list lays out its scroll bar, which narrows the columns
  ASSERT_EQ(iso.List("ListBox1").ListCount(), 1001);
  EXPECT_GT(ExpectEveryNumberReadable(iso, "Isochore"), 0);
  Screenshot(iso, "Isochore-readable");
}

// Three roots, two of them complex ("re and im·i": two numbers rounded in
// one text), and a dense root whose excess parts are large; then trace gases: a dilute vapour's eight-digit volume, long small
// fugacities and activities in exponent form.
TEST_F(Readability, ThermodynamicFunctionsFugacitiesActivitiesAndChemicalPotentials) {
  const Opener windows[] = {
      {"VolumeWindow", [] () -> Window& { return shared<pvt::VolumeWindow>(); }},
      {"EnergyWindow", [] () -> Window& { return shared<thermo::EnergyWindow>(); }},
      {"EnthalpyWindow", [] () -> Window& { return shared<thermo::EnthalpyWindow>(); }},
      {"EntropyWindow", [] () -> Window& { return shared<thermo::EntropyWindow>(); }},
      {"HelmholtzWindow", [] () -> Window& { return shared<thermo::HelmholtzWindow>(); }},
      {"GibbsWindow", [] () -> Window& { return shared<thermo::GibbsWindow>(); }},
      {"FugacityWindow", [] () -> Window& { return shared<fugacity::FugacityWindow>(); }},
      {"ChemPotWindow", [] () -> Window& { return shared<thermo::ChemPotWindow>(); }},
      {"ActivityWindow", [] () -> Window& { return shared<fugacity::ActivityWindow>(); }},
  };
  struct Case {
    std::initializer_list<std::pair<int, double>> mixture;
    const char *suffix, *P1, *T1, *P2, *T2;
  };
  for (const Case& c : {Case{{{Globals::H2O, 0.5}, {Globals::CO2, 0.3}, {Globals::CH4, 0.2}},
                             "-readable", "10", "600", "20", "500"},
                        Case{{{Globals::CO2, 0.9999987}, {Globals::H2S, 1.234567e-6}, {Globals::Ar, 6.5e-8}},
                             "-trace", "0.0001", "1000", "300", "250"}}) {
    SetMixture(c.mixture);
    for (const auto& [name, open] : windows) {
      Window& w = open();
      // The activities against each standard state, at 0.1 MPa where one is
      // asked for.
      for (int state = 0; state < (name == "ActivityWindow" ? 3 : 1); ++state) {
        auto then = [&w, &name, state] {
          if (name != "ActivityWindow") return;
          ClickThroughWindow(w.Radio("StandardChoice" + std::to_string(state)));
          if (state != 0) Type(w.Field("dataEntry2"), "0.1");
          ClickThroughWindow(w.Button("PushButton1"));
        };
        const int rounded = EachRoot(w, name, c.P1, c.T1, then) + EachRoot(w, name, c.P2, c.T2, then);
        if (c.suffix == std::string("-readable")) {
          EXPECT_GT(rounded, 0) << name;
        }
      }
      if (name == "ActivityWindow") {
        EXPECT_GT(w.List("ListBox1").ListCount(), 0);
      }
      Screenshot(w, name + c.suffix);
      w.close();
    }
  }
}

TEST_F(Readability, PhaseEquilibria) {
  SetMixture({{Globals::CO2, 0.9}, {Globals::CH4, 0.1}});
  auto& b = shared<phase::BubbleDewPoint>();
  Activate(b);
  ClickThroughWindow(b.Radio("RadioButtonTh"));
  ClickThroughWindow(b.Radio("Celsius"));
  Type(b.Field("dataEntryTh"), "-10");
  ClickThroughWindow(b.Radio("Liquid1"));
  b.Button("FirstApproach").Push();
  b.Button("calculate").Push();
  Settle();
  EXPECT_EQ(b.Label("ResultText").Text().substr(0, 15), "Solution after ");
  EXPECT_GT(ExpectEveryNumberReadable(b, "BubbleDewPoint"), 0);
  Screenshot(b, "BubbleDewPoint-readable");

  auto& l = shared<phase::LiquidVapourEq>();
  Activate(l);
  Type(l.Field("dataEntry"), "100");
  Type(l.Field("dataEntry1"), "250");
  l.Button("CalFirstApproach").Push();
  l.Button("calculate").Push();
  Settle();
  EXPECT_EQ(l.Label("ResultText").Text().substr(0, 15), "Solution after ");
  EXPECT_GT(ExpectEveryNumberReadable(l, "LiquidVapourEq"), 0);
  Screenshot(l, "LiquidVapourEq-readable");
}

TEST_F(Readability, SpinodalCriticalPointAndAnalysis) {
  SetMixture({{Globals::N2, 0.5}, {Globals::CH4, 0.5}});
  for (std::int32_t model : {0, 1}) {
    Globals::Selection = model;
    auto& s = shared<critical::SpinodalWindow>();
    Activate(s);
    Type(s.Field("dataEntry"), "70");
    s.Button("calculate").Push();
    ExpectEveryNumberReadable(s, "Spinodal");
    ClickThroughWindow(s.Radio("Celsius"));
    ExpectEveryNumberReadable(s, "Spinodal in Celsius");
    Screenshot(s, "SpinodalWindow-readable");

    // The pseudo-critical conditions in their 70 px labels, and the point.
    auto& c = shared<critical::CriticalPointWindow>();
    Activate(c);
    ExpectEveryNumberReadable(c, "CriticalPoint pseudo-critical");
    c.Button("calculate").Push();
    EXPECT_GT(Val(c.Label("ResultV").Text()), 0);
    ExpectEveryNumberReadable(c, "CriticalPoint");
    ClickThroughWindow(c.Radio("Celsius"));
    ExpectEveryNumberReadable(c, "CriticalPoint in Celsius");
    Screenshot(c, "CriticalPointWindow-readable");

    auto& m = shared<critical::MathAnal>();
    Activate(m);
    m.Button("calculate").Push();
    ASSERT_EQ(m.List("ListBox1").ListCount(), 250);
    Settle();
    EXPECT_GT(ExpectEveryNumberReadable(m, "MathAnal"), 0);
    Screenshot(m, "MathAnal-readable");
    CloseAllWindows();
  }
}

}  // namespace
