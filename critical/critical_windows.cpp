#include "critical/critical_windows.h"

#include <cmath>
#include <string>

#include "pictures/pictures.h"
#include "core/globals.h"
#include "critical/critical.h"
#include "framework/runtime.h"
#include "procedures/pvt/procedure_frame.h"
#include "procedures/pvt/texts.h"

namespace critical {

using namespace framework;
using pvt::kCelsiusOffset;
using pvt::kCelsiusText;
using pvt::kKelvinText;
using pvt::kNoSolution;
using pvt::ResultText;

namespace {

// The spinodal window's failure text of the temperature, as it has always
// read.
const std::string kNoSoluton = "no soluton";

// A unit radio's switch: relabels `unit` and shows the kept temperature
// (TempKelvin) in the new unit. A failed search keeps 0 K, which is no
// temperature of anything: the switch then shows the failure text instead
// of 0 K (-273.15 degrees C) as a result, or nothing before the window's
// first calculation, when nothing has failed.
void ShowKeptTemperature(Window& w, bool celsius, const char* unit, const std::string& failure,
                         bool calculated) {
  w.Label(unit).SetText(celsius ? kCelsiusText : kKelvinText);
  const double T = Globals::TempKelvin;
  w.Label("ResultT").SetText(T > 0 ? ResultText(celsius ? T - kCelsiusOffset : T) : calculated ? failure : "");
}

Spec TextAt(const char* name, int left, int top, int width, int height, const std::string& text, int size) {
  return StaticText(name).At(left, top, width, height).Text(text).Size(size);
}

}  // namespace

// ---- Spinodal window ----

void SpinodalWindow::Layout() { Apply(WindowSpec().Title("Untitled").Content(460, 510)); }

void SpinodalWindow::CreateControls() {
  const char* frame = "RoundRectangle1";
  Add(RoundRectangle(frame).At(20, 365, 420, 95).Oval(16, 16).Border(1).Fill(kWhite));
  Add(TextAt("Pressure", 30, 425, 110, 25, "Pressure", 16).Parent(frame));
  Add(TextAt("ResultP", 145, 425, 120, 25, "", 16).Parent(frame));
  Add(TextAt("StaticText4", 275, 375, 80, 25, kKelvinText, 16).Parent(frame));
  Add(pvt::KelvinRadio().At(367, 382, 56, 20).Parent(frame), &SpinodalWindow::Kelvin_Action);
  Add(pvt::CelsiusRadio().At(367, 403, 56, 20).Parent(frame), &SpinodalWindow::Celsius_Action);
  Add(GroupBox("GroupBox1").At(360, 375, 70, 54).Parent(frame));
  Add(TextAt("Temperature", 30, 375, 110, 25, "Temperature", 16).Parent(frame));
  Add(TextAt("ResultT", 145, 375, 120, 25, "", 16).Parent(frame));
  Add(TextAt("StaticText10", 275, 425, 80, 25, "MPa", 16).Parent(frame));
  Add(TextAt("StaticText1", 20, 20, 100, 50, "Spinodal\rdefinition", 18).Multiline());
  Add(PushButton("calculate").At(180, 315, 100, 30).Caption("calculate").Size(18).Default(),
      &SpinodalWindow::calculate_Action);
  Add(TextAt("StaticText2", 280, 260, 80, 25, "cm /mol", 16));
  Add(TextAt("StaticText3", 302, 259, 16, 20, "3", 12));
  Add(TextAt("StaticText5", 30, 140, 40, 15, "where", 12));
  Add(TextAt("StaticText6", 70, 215, 250, 15, "where A represents the Helmholtz Energy", 12));
  Add(TextAt("StaticText7", 97, 19, 10, 10, "*", 12));
  Add(TextAt("StaticText8", 210, 475, 230, 15, "* Spinodal is also known as the \"stability limit\"", 10));
  Add(TextAt("StaticText9", 418, 140, 30, 15, "etc.", 12));
  Add(TextAt("MolarVolume", 20, 260, 130, 25, "Molar Volume", 16));
  Add(EditField("dataEntry").At(155, 260, 120, 25).Size(16));
  Add(PushButton("Clear").At(390, 260, 50, 20).Caption("clear").Size(10), &SpinodalWindow::Clear_Action);
  Add(Canvas("Canvas1").At(130, 20, 295, 100), pictures::spinodal_295());
  Add(Canvas("Canvas2").At(70, 140, 166, 60), pictures::ANV_166());
  Add(Canvas("Canvas3").At(250, 140, 161, 60), pictures::AVV_161());
}

void SpinodalWindow::calculate_Action() {
  const Globals::GasArray x = Globals::fraction;
  const std::int32_t model = Globals::Selection;
  const double V = Val(Field("dataEntry").Text());
  const double T = Globals::SpinodalTemperature(x, V, model, Globals::kSpinodalWindowStarts);
  calculated_ = true;
  Globals::StoreTempKelvin(T);
  Label("StaticText4").SetText(kKelvinText);
  Radio("Kelvin").SetValue(true);
  if (T > 0) {
    Label("ResultT").SetText(Str(T));
    // The search found T only for V above the co-volume.
    Globals::PresMPa = Globals::Pressure(x, T, V, model);
    Label("ResultP").SetText(ResultText(Globals::PresMPa));
  } else {
    Label("ResultT").SetText(kNoSoluton);
    Label("ResultP").SetText(kNoSolution);
  }
}

void SpinodalWindow::Kelvin_Action() {
  if (Radio("Kelvin").Value()) ShowKeptTemperature(*this, false, "StaticText4", kNoSoluton, calculated_);
}

void SpinodalWindow::Celsius_Action() {
  if (Radio("Celsius").Value()) ShowKeptTemperature(*this, true, "StaticText4", kNoSoluton, calculated_);
}

void SpinodalWindow::Clear_Action() {
  Field("dataEntry").SetText("");
  Label("ResultT").SetText("");
  Label("ResultP").SetText("");
}

// ---- Critical point window ----

void CriticalPointWindow::Layout() { Apply(WindowSpec().Title("Critical Point").Content(450, 660)); }

void CriticalPointWindow::CreateControls() {
  const char* group = "GroupBox1";
  auto wraps = [](Spec s) { return s.Multiline(); };
  auto in = [group](Spec s) { return s.Parent(group); };
  Add(wraps(TextAt("StaticText1", 140, 20, 270, 60,
                  "Determinant of matrices with elements of the derivatives of the Helmholtz Energy as a function "
                  "of volume (V), temperature (T) and amount of substance (n)",
                  12)));
  Add(TextAt("StaticText2", 20, 20, 100, 20, "Definition", 18));
  Add(TextAt("ResultPseudoV", 190, 135, 70, 15, "", 14));
  Add(TextAt("ResultPseudoT", 190, 160, 70, 15, "", 14));
  Add(TextAt("ResultPseudoP", 190, 185, 70, 15, "", 14));
  Add(GroupBox(group).At(20, 280, 410, 300).Caption("Sectant Method (root-finding)").Size(16).Italic());
  Add(in(TextAt("Homogen", 30, 320, 180, 20, "First-guess Molar Volume", 14)));
  Add(in(TextAt("Homogen1", 215, 350, 20, 20, "V2", 14)));
  Add(in(TextAt("VcmText1", 355, 320, 60, 20, "cm /mol", 14)));
  Add(in(TextAt("VcmText11", 354, 350, 60, 20, "cm /mol", 14)));
  Add(in(TextAt("StaticText3", 374, 318, 15, 15, "3", 11)));
  Add(in(TextAt("StaticText4", 373, 348, 15, 15, "3", 11)));
  Add(in(EditField("dataEntry1").At(240, 320, 110, 20).Size(14)));
  Add(in(EditField("dataEntry2").At(240, 350, 110, 20).Size(14)));
  Add(in(TextAt("MolarVolume", 30, 445, 130, 20, "Molar Volume", 16)));
  Add(in(PushButton("calculate").At(175, 395, 100, 30).Caption("calculate").Size(18).Default()),
      &CriticalPointWindow::calculate_Action);
  Add(in(TextAt("Temperature", 30, 485, 130, 20, "Temperature", 16)));
  Add(in(TextAt("StaticText5", 270, 545, 80, 20, "MPa", 16)));
  Add(in(pvt::KelvinRadio().At(359, 487, 56, 20)), &CriticalPointWindow::Kelvin_Action);
  Add(in(pvt::CelsiusRadio().At(359, 508, 56, 20)), &CriticalPointWindow::Celsius_Action);
  Add(in(GroupBox("GroupBox2").At(352, 480, 70, 54)));
  Add(in(TextAt("Pressure", 30, 545, 130, 20, "Pressure", 16)));
  Add(in(TextAt("ResultV", 165, 445, 100, 20, "", 16)));
  Add(in(TextAt("StaticText6", 270, 445, 80, 20, "cm /mol", 16)));
  Add(in(TextAt("StaticText7", 292, 442, 15, 20, "3", 12)));
  Add(in(TextAt("StaticText8", 270, 485, 80, 20, kKelvinText, 16)));
  Add(in(TextAt("ResultT", 165, 485, 100, 20, "", 16)));
  Add(in(TextAt("ResultP", 165, 545, 100, 20, "", 16)));
  Add(in(TextAt("StaticText9", 342, 441, 16, 20, "*", 12)));
  Add(wraps(TextAt("StaticText10", 170, 215, 250, 40,
                  "* for pure gases: the pseudo-critical molar volume is equal to the critical molar volume, "
                  "whereas temperature and pressure may differ.",
                  10)));
  Add(in(TextAt("Homogen11", 215, 320, 20, 20, "V1", 14)));
  Add(wraps(TextAt("StaticText11", 20, 100, 220, 20, "Pseudo-critical Conditions", 18)));
  Add(wraps(TextAt("PseudoV", 80, 135, 110, 15, "Molar Volume*", 14)));
  Add(PushButton("Analysis").At(270, 605, 150, 25).Caption("Mathematical Analysis").Size(12),
      &CriticalPointWindow::Analysis_Action);
  Add(TextAt("StaticText12", 84, 610, 180, 20, "In case of a curious solution:", 12));
  Add(wraps(TextAt("PseudoT", 80, 160, 100, 15, "Temperature", 14)));
  Add(wraps(TextAt("PseudoP", 80, 185, 100, 15, "Pressure", 14)));
  Add(TextAt("VcmText", 275, 135, 60, 15, "cm /mol", 14));
  Add(TextAt("KelvinText", 275, 160, 60, 15, kKelvinText, 14));
  Add(TextAt("MPaText", 275, 185, 60, 15, "MPa", 14));
  Add(TextAt("StaticText13", 294, 131, 15, 15, "3", 11));
  Add(PushButton("pseudo").At(360, 100, 60, 20).Caption("Explain").Size(10), &CriticalPointWindow::pseudo_Action);
  OnActivate([this] { Event_Activate(); });
}

void CriticalPointWindow::Event_Activate() {
  const Globals::GasArray x = Globals::fraction;
  const Globals::PseudoCritical pc = Globals::PseudoCriticalConditions(x, Globals::Selection);
  if (!pc.ok) {
    // Nothing present (a cleared composition): no values and no guesses.
    Label("ResultPseudoV").SetText(kNoSolution);
    Label("ResultPseudoT").SetText(kNoSolution);
    Label("ResultPseudoP").SetText(kNoSolution);
    Field("dataEntry1").SetText("");
    Field("dataEntry2").SetText("");
    return;
  }
  Label("ResultPseudoV").SetText(Str(pc.Vpc));
  Label("ResultPseudoT").SetText(Str(pc.Tpc));
  Label("ResultPseudoP").SetText(Str(pc.Ppc));
  // A guess longer than its field shows from its first digit.
  pvt::ShowInField(*this, "dataEntry1", Str(pc.V1));
  pvt::ShowInField(*this, "dataEntry2", Str(pc.V2));
}

void CriticalPointWindow::calculate_Action() {
  const Globals::GasArray x = Globals::fraction;
  const std::int32_t model = Globals::Selection;
  // The pure gas takes the pseudo-critical volume as it is shown.
  const double Vpc = Val(Label("ResultPseudoV").Text());
  const double V1 = Val(Field("dataEntry1").Text());
  const double V2 = Val(Field("dataEntry2").Text());
  const Globals::CriticalSearchResult r = Globals::CriticalPointSearch(x, model, Vpc, V1, V2);

  calculated_ = true;
  Radio("Kelvin").SetValue(true);
  Label("StaticText8").SetText(kKelvinText);
  Globals::StoreTempKelvin(r.T);
  Globals::PresMPa = r.P;
  if (r.found) {
    Label("ResultT").SetText(Str(r.T));
    Label("ResultV").SetText(Str(r.V));
    Label("ResultP").SetText(ResultText(r.P));
  } else {
    Label("ResultT").SetText(kNoSolution);
    Label("ResultV").SetText(kNoSolution);
    Label("ResultP").SetText(kNoSolution);
  }
}

void CriticalPointWindow::Kelvin_Action() {
  if (Radio("Kelvin").Value()) ShowKeptTemperature(*this, false, "StaticText8", kNoSolution, calculated_);
}

void CriticalPointWindow::Celsius_Action() {
  if (Radio("Celsius").Value()) ShowKeptTemperature(*this, true, "StaticText8", kNoSolution, calculated_);
}

void CriticalPointWindow::Analysis_Action() { shared<MathAnal>().Show(); }

void CriticalPointWindow::pseudo_Action() { shared<Explain>().Show(); }

// ---- Mathematical analysis window ----

void MathAnal::Layout() { Apply(WindowSpec().Title("Mathematical Analysis").Content(460, 315)); }

void MathAnal::CreateControls() {
  Add(Listbox("ListBox1").At(20, 68, 420, 200).Size(10).Set("ColumnCount", 4)
          .Set("ColumnWidths", std::string("25%, 25%, 25%, 25%")).Set("HasHeading", true)
          .Set("GridLinesVertical", 3).Set("GridLinesHorizontal", 0));
  Add(PushButton("calculate").At(175, 20, 100, 30).Caption("calculate").Size(18).Default(),
      &MathAnal::calculate_Action);
  Add(TextAt("StaticText1", 285, 20, 15, 15, "*", 14));
  Add(TextAt("StaticText2", 90, 280, 350, 15, "* calculation time may be extensive for multi-component fluid systems",
            10));
  OnActivate([this] { Event_Activate(); }, NestedActivation::Drop);
}

void MathAnal::Event_Activate() {
  ListboxControl& list = List("ListBox1");
  list.DeleteAllRows();
  list.SetHeading(0, "Molar Volume");
  list.SetHeading(1, "Temp. Spinodal");
  list.SetHeading(2, "Pressure");
  list.SetHeading(3, "Zero Funktion");
}

void MathAnal::calculate_Action() {
  const Globals::GasArray x = Globals::fraction;
  const std::int32_t model = Globals::Selection;
  const double b = Globals::bMixture(x);
  // Truncated towards zero; every row then lies more than 5 cm3/mol above b.
  // (A composition that sums to 1 keeps b below 50 cm3/mol.)
  const double start = b + 4.0;
  int V = std::isfinite(start) && Abs(start) < 1e9 ? static_cast<int>(start) : 4;
  ListboxControl& list = List("ListBox1");
  for (int k = 1; k <= 250; ++k) {
    V = V + 2;
    const Globals::AnalysisRow row = Globals::AnalysisAt(x, static_cast<double>(V), model);
    if (IsClosed()) break;  // nobody will see the rest
    list.AddRow(" ");
    const int index = list.LastIndex();
    // Only a row that is still in the list is written.
    auto cell = [&list, index](int column, const std::string& text) {
      if (index >= 0 && index < list.ListCount()) list.SetCell(index, column, text);
    };
    cell(0, std::to_string(V));
    if (row.hasTemperature) {
      cell(1, ResultText(row.T));
      cell(2, ResultText(row.P));
      cell(3, ResultText(row.F));
    } else {
      cell(1, "-");
      cell(2, "-");
      cell(3, "-");
    }
    RuntimeBackgroundTask();
  }
}

// ---- Explanation window ----

void Explain::Layout() { Apply(WindowSpec().Title("Explanation").Content(450, 660).Placement(0)); }

void Explain::CreateControls() {
  Add(TextAt("StaticText1", 20, 20, 230, 25, "Pseudo-critical Conditions", 18));
  Add(TextAt("StaticText3", 40, 205, 220, 15, "The solution of these two equations:", 12).Multiline());
  Add(TextAt("StaticText5", 40, 280, 300, 20, "Critical temperature is iteratively obtained from:", 12).Multiline());
  Add(TextAt("StaticText6", 40, 385, 300, 20, "Critical pressure:", 12).Multiline());
  Add(TextAt("StaticText7", 40, 490, 396, 15, "a and b values for pure gases are obtained from critical properties:", 12)
          .Multiline());
  Add(Canvas("Canvas1").At(40, 60, 323, 60), pictures::dpdv_323());
  Add(Canvas("Canvas2").At(40, 130, 346, 60), pictures::dpdv2_346());
  Add(Canvas("Canvas3").At(270, 205, 113, 50), pictures::Vc_113());
  Add(Canvas("Canvas4").At(90, 310, 233, 60), pictures::Tc_233());
  Add(Canvas("Canvas5").At(90, 410, 240, 60), pictures::Pc_240());
  Add(Canvas("Canvas6").At(90, 520, 290, 50), pictures::ac_290());
  Add(Canvas("Canvas7").At(90, 585, 251, 50), pictures::bc_251());
}

}  // namespace critical
