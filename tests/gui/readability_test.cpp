// The results of the existing windows read at the size their records give,
// with Str's digits kept in the texts; the units read cm³/mol and g/cm³.
#include <gtest/gtest.h>

#include <QFontMetricsF>

#include "core/globals.h"
#include "framework/fit_text.h"
#include "framework/runtime.h"
#include "gui/gui_support.h"
#include "procedures/pvt/pvt_windows.h"
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

TEST_F(Readability, EveryUnitWithARaisedThreeReadsAsOneUnit) {
  ExpectExponents(shared<pvt::PressureWindow>(), {{"StaticText2", "StaticText1", "cm", "/mol"}});
  ExpectExponents(shared<pvt::TemperatureWindow>(), {{"StaticText2", "StaticText1", "cm", "/mol"}});
  ExpectExponents(shared<pvt::VolumeWindow>(), {{"StaticText8", "StaticText7", "cm", "/mol"},
                                                 {"StaticText11", "StaticText10", "cm", "/mol"},
                                                 {"StaticText13", "StaticText12", "g/cm", ""}});
  ExpectExponents(shared<pvt::Isochore>(), {{"StaticText8", "StaticText7", "cm", "/mol"},
                                             {"StaticText10", "StaticText9", "g/cm", ""}});
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

}  // namespace
