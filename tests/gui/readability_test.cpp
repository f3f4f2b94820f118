// The results of every window read at the size their records give, with
// Str's digits kept in the texts; the units read cm³/mol and g/cm³.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <functional>

#include "core/globals.h"
#include "framework/fit_text.h"
#include "framework/runtime.h"
#include "gui/gui_support.h"
#include "critical/critical_windows.h"
#include "phase/phase_windows.h"
#include "procedures/fugacity/fugacity_windows.h"
#include "procedures/pvt/pvt_windows.h"
#include "procedures/thermo/chem_pot_window.h"
#include "procedures/thermo/thermo_windows.h"
#include "procedures/pvt/root_panel.h"
#include "properties/properties.h"

namespace {

using namespace framework;
using namespace testing_support;

// How many significant digits the drawn text keeps of the stored one: 15
// for the text itself, 0 when it is no rounding of it.
int KeptDigits(const std::string& stored, const std::string& shown) {
  if (shown == stored) return 15;
  for (int d = 14; d >= kFewestFitDigits; --d) {
    if (RoundNumbers(stored, d) == shown) return d;
  }
  return 0;
}

// A result label holds `stored` and draws a rounding of it at its own size.
void ExpectReadable(Window& w, const char* name, const std::string& stored) {
  StaticTextControl& label = w.Label(name);
  EXPECT_EQ(label.Text(), stored) << name;
  EXPECT_EQ(label.ShownFont().pixelSize(), label.font().pixelSize()) << name << ": " << label.ShownText();
  EXPECT_GE(KeptDigits(stored, label.ShownText()), kFewestFitDigits) << name << ": " << label.ShownText();
  EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(QString::fromStdString(label.ShownText())),
            label.width())
      << name;
}

class Readability : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseAllWindows();
    Globals::InitProperties();
    Globals::fraction = {};
    Globals::fraction[Globals::H2O] = 0.5;
    Globals::fraction[Globals::CO2] = 0.3;
    Globals::fraction[Globals::CH4] = 0.2;
  }
  void TearDown() override { CloseAllWindows(); }
};

TEST_F(Readability, PressureAndTemperatureResultsReadAtTheirSize) {
  const Globals::GasArray x = Globals::fraction;
  auto& p = shared<pvt::PressureWindow>();
  ClickThroughWindow(p.Radio("Celsius"));
  Type(p.Field("dataEntry"), "150");
  Type(p.Field("dataEntry1"), "400");
  p.Button("calculate").Push();
  const double P = Globals::Pressure(x, 673.15, 150, 0);
  ExpectReadable(p, "Result", Str(P));
  EXPECT_EQ(p.Label("Result").font().pixelSize(), 16);

  auto& t = shared<pvt::TemperatureWindow>();
  t.Show();
  Type(t.Field("dataEntry"), "150");
  Type(t.Field("dataEntry1"), Str(P));
  t.Button("calculate").Push();
  const double T = Globals::Temperature(x, Val(Str(P)), 150, 0);  // the pressure as typed
  ExpectReadable(t, "Result", Str(T));
  ClickThroughWindow(t.Radio("Celsius"));
  ExpectReadable(t, "Result", Str(T - 273.15));
}

TEST_F(Readability, VolumeRootsAndResultsAndTheIsochoreReadAtTheirSize) {
  const Globals::GasArray x = Globals::fraction;
  auto& v = shared<pvt::VolumeWindow>();
  Type(v.Field("dataEntry"), "10");
  Type(v.Field("dataEntry1"), "600");
  v.Button("calculate").Push();
  const Globals::CubicRoots roots = Globals::Volume(x, 600, 10, 0);
  int complex = 0;
  for (int k = 0; k < 3; ++k) {
    const std::string name = "TextChoice" + std::to_string(k);
    ExpectReadable(v, name.c_str(), pvt::RootRowText(roots[0][k], roots[1][k]));
    complex += roots[1][k] != 0.0;
  }
  EXPECT_EQ(complex, 2);  // "re and im·i" twice: two numbers rounded in one text
  EXPECT_EQ(v.Label("TextChoice1").font().pixelSize(), 14);

  ClickThroughWindow(v.Radio("Choice0"));
  const double V = roots[0][0];
  ExpectReadable(v, "Result", Str(V));
  ExpectReadable(v, "ExcessVol", Str(Globals::Excess(Globals::ExcessVolume, x, 600, 10, V, 0)));
  ExpectReadable(v, "DensityResult", Str(Globals::Density(x, V)));
  Screenshot(v, "VolumeWindow-readable");

  // The isochore of that volume: its two labels at 12 px, each table cell
  // at the list's 10 px.
  auto& iso = shared<pvt::Isochore>();
  Activate(iso);
  ExpectReadable(iso, "ResultV", Str(V));
  ExpectReadable(iso, "ResultV1", Str(Globals::Density(x, V)));
  EXPECT_EQ(iso.Label("ResultV").font().pixelSize(), 12);
  Type(iso.Field("minimum"), "0");
  Type(iso.Field("maximum"), "1000");
  Type(iso.Field("interval"), "1");
  iso.Button("calculate").Push();
  Settle();  // the list lays out its scroll bar, which narrows the columns
  ListboxControl& list = iso.List("ListBox1");
  ASSERT_EQ(list.ListCount(), 1001);
  int rounded = 0;
  for (int r = 0; r < list.ListCount(); ++r) {
    const double P = Globals::Pressure(x, r + 273.15, V, 0);
    EXPECT_EQ(list.Cell(r, 1), Str(P)) << r;
    for (int c = 0; c < 2; ++c) {
      EXPECT_EQ(list.CellFont(r, c).pixelSize(), 10) << r << ", " << c;
      const int kept = KeptDigits(list.Cell(r, c), list.ShownCell(r, c));
      EXPECT_GE(kept, kFewestFitDigits) << list.ShownCell(r, c);
      rounded += kept < 15;
    }
  }
  EXPECT_GT(rounded, 0);  // some pressures need rounding in their 100 px
  Screenshot(iso, "Isochore-readable");
}

// The exponent labels of the existing windows and the units that draw them.
struct Exponent {
  const char* digits;
  const char* unit;
  const char* before;
  const char* after;
};

void ExpectExponents(Window& w, std::initializer_list<Exponent> exponents) {
  for (const Exponent& e : exponents) {
    StaticTextControl& digits = w.Label(e.digits);
    StaticTextControl& unit = w.Label(e.unit);
    EXPECT_EQ(digits.Text(), "3");  // both keep their texts and places
    EXPECT_TRUE(digits.DrawnByItsUnit()) << e.digits;
    const auto raised = unit.Raised();
    ASSERT_TRUE(raised.has_value()) << e.unit;
    EXPECT_EQ(raised->label, &digits);
    EXPECT_EQ(raised->before.toStdString(), e.before);
    EXPECT_EQ(raised->digits.toStdString(), "3");
    EXPECT_EQ(raised->after.toStdString(), e.after);
    EXPECT_EQ(raised->digitsFont.pixelSize(), digits.font().pixelSize());
  }
}

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

TEST_F(Readability, EveryUnitWithARaisedThreeReadsAsOneUnit) {
  // g/cm³ as drawn, at 14 px over 11 and at 16 over 12: the font's own
  // spacing (one clear column) between the "m" and the "3", not a gap.
  EXPECT_EQ(GapBeforeTheLastInk(shared<pvt::Isochore>().Label("StaticText9")), 1);
  EXPECT_EQ(GapBeforeTheLastInk(shared<pvt::VolumeWindow>().Label("StaticText12")), 1);

  ExpectExponents(shared<pvt::PressureWindow>(), {{"StaticText2", "StaticText1", "cm", "/mol"}});
  ExpectExponents(shared<pvt::TemperatureWindow>(), {{"StaticText2", "StaticText1", "cm", "/mol"}});
  ExpectExponents(shared<pvt::VolumeWindow>(), {{"StaticText8", "StaticText7", "cm", "/mol"},
                                                 {"StaticText11", "StaticText10", "cm", "/mol"},
                                                 {"StaticText13", "StaticText12", "g/cm", ""}});
  ExpectExponents(shared<pvt::Isochore>(), {{"StaticText8", "StaticText7", "cm", "/mol"},
                                             {"StaticText10", "StaticText9", "g/cm", ""}});
  const Exponent volume{"StaticText8", "StaticText7", "cm", "/mol"};
  ExpectExponents(shared<thermo::EnergyWindow>(), {volume});
  ExpectExponents(shared<thermo::EnthalpyWindow>(), {volume});
  ExpectExponents(shared<thermo::EntropyWindow>(), {volume});
  ExpectExponents(shared<thermo::HelmholtzWindow>(), {volume});
  ExpectExponents(shared<thermo::GibbsWindow>(), {volume});
  ExpectExponents(shared<thermo::ChemPotWindow>(), {volume});
  ExpectExponents(shared<fugacity::FugacityWindow>(), {volume});
  ExpectExponents(shared<fugacity::ActivityWindow>(), {{"StaticText10", "StaticText5", "cm", "/mol"}});
  ExpectExponents(shared<phase::LiquidVapourEq>(), {{"StaticText2", "StaticText1", "cm", "/mol"}});
  ExpectExponents(shared<critical::SpinodalWindow>(), {{"StaticText3", "StaticText2", "cm", "/mol"}});
  ExpectExponents(shared<critical::CriticalPointWindow>(), {{"StaticText13", "VcmText", "cm", "/mol"},
                                                             {"StaticText3", "VcmText1", "cm", "/mol"},
                                                             {"StaticText4", "VcmText11", "cm", "/mol"},
                                                             {"StaticText7", "StaticText6", "cm", "/mol"}});
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

// ---- Every window of the program, after a calculation ----

// Every text a label or list cell of `w` holds that has a number in it keeps
// Str's digits (a number with more than six is Str's writing of its value),
// and is drawn at the control's own size with at least six of them. Returns
// how many texts were drawn rounded.
int ExpectEveryNumberReadable(Window& w, const std::string& where) {
  static const QRegularExpression number(QStringLiteral("(?<![\\w.])-?\\d+(\\.\\d+)?(e[+-]?\\d+)?(?![\\w.])"));
  int rounded = 0;
  auto check = [&](const std::string& stored, const std::string& shown, const QFont& drawn, int size,
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
    const int kept = KeptDigits(stored, shown);
    EXPECT_GE(kept, kFewestFitDigits) << what << ": " << stored << " shown as " << shown;
    rounded += kept < 15;
  };
  for (Control* c : w.Controls()) {
    const std::string what = where + "." + c->Name();
    if (auto* label = dynamic_cast<StaticTextControl*>(c)) {
      if (!label->Visible() || label->wordWrap() || label->DrawnByItsUnit()) continue;
      check(label->Text(), label->ShownText(), label->ShownFont(), label->font().pixelSize(), what);
    } else if (auto* list = dynamic_cast<ListboxControl*>(c)) {
      for (int r = 0; r < list->ListCount(); ++r) {
        for (int col = 0; col < list->columnCount(); ++col) {
          check(list->Cell(r, col), list->ShownCell(r, col), list->CellFont(r, col), list->font().pixelSize(),
                what + "[" + std::to_string(r) + "," + std::to_string(col) + "]");
        }
      }
    }
  }
  return rounded;
}

class ReadableEverywhere : public Readability {
 protected:
  // Types P and T, presses "calculate molar volume" and reads every root.
  static int EachRoot(Window& w, const std::string& where, const std::string& P, const std::string& T,
                      const std::function<void()>& then = {}) {
    Activate(w);
    Type(w.Field("dataEntry"), P);
    Type(w.Field("dataEntry1"), T);
    w.Button("calculate").Push();
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

TEST_F(ReadableEverywhere, ThermodynamicFunctionsFugacitiesActivitiesAndChemicalPotentials) {
  // Three roots, two of them complex (drawn as "re and im·i"), and a dense
  // root whose excess parts are large.
  const std::pair<std::string, std::function<Window&()>> windows[] = {
      {"EnergyWindow", [] () -> Window& { return shared<thermo::EnergyWindow>(); }},
      {"EnthalpyWindow", [] () -> Window& { return shared<thermo::EnthalpyWindow>(); }},
      {"EntropyWindow", [] () -> Window& { return shared<thermo::EntropyWindow>(); }},
      {"HelmholtzWindow", [] () -> Window& { return shared<thermo::HelmholtzWindow>(); }},
      {"GibbsWindow", [] () -> Window& { return shared<thermo::GibbsWindow>(); }},
      {"FugacityWindow", [] () -> Window& { return shared<fugacity::FugacityWindow>(); }},
      {"ChemPotWindow", [] () -> Window& { return shared<thermo::ChemPotWindow>(); }},
  };
  for (const auto& [name, open] : windows) {
    Window& w = open();
    EXPECT_GT(EachRoot(w, name, "10", "600") + EachRoot(w, name, "20", "500"), 0) << name;
    Screenshot(w, name + "-readable");
    w.close();
  }
  auto& a = shared<fugacity::ActivityWindow>();
  for (int state = 0; state < 3; ++state) {
    EachRoot(a, "Activities", "20", "500", [&a, state] {
      ClickThroughWindow(a.Radio("StandardChoice" + std::to_string(state)));
      if (state != 0) Type(a.Field("dataEntry2"), "0.1");
      ClickThroughWindow(a.Button("PushButton1"));
    });
  }
  EXPECT_GT(a.List("ListBox1").ListCount(), 0);
  Screenshot(a, "ActivityWindow-readable");
}

TEST_F(ReadableEverywhere, TraceGasesInExponentForm) {
  Globals::fraction = {};
  Globals::fraction[Globals::CO2] = 0.9999987;
  Globals::fraction[Globals::H2S] = 1.234567e-6;
  Globals::fraction[Globals::Ar] = 6.5e-8;
  const std::pair<std::string, std::function<Window&()>> windows[] = {
      {"FugacityWindow", [] () -> Window& { return shared<fugacity::FugacityWindow>(); }},
      {"ChemPotWindow", [] () -> Window& { return shared<thermo::ChemPotWindow>(); }},
      {"GibbsWindow", [] () -> Window& { return shared<thermo::GibbsWindow>(); }},
  };
  for (const auto& [name, open] : windows) {
    Window& w = open();
    EachRoot(w, name, "0.0001", "1000");
    EachRoot(w, name, "300", "250");
    Screenshot(w, name + "-trace");
  }
  auto& a = shared<fugacity::ActivityWindow>();
  EachRoot(a, "Activities", "0.0001", "1000", [&a] {
    ClickThroughWindow(a.Radio("StandardChoice2"));
    Type(a.Field("dataEntry2"), "0.1");
    ClickThroughWindow(a.Button("PushButton1"));
  });
  Screenshot(a, "ActivityWindow-trace");
}

TEST_F(ReadableEverywhere, PhaseEquilibria) {
  Globals::fraction = {};
  Globals::fraction[Globals::CO2] = 0.9;
  Globals::fraction[Globals::CH4] = 0.1;
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

TEST_F(ReadableEverywhere, SpinodalCriticalPointAndAnalysis) {
  Globals::fraction = {};
  Globals::fraction[Globals::N2] = 0.5;
  Globals::fraction[Globals::CH4] = 0.5;
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
