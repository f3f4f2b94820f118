#include "app/setup_windows.h"

#include <climits>

#include "pictures/pictures.h"
#include "app/procedures.h"
#include "core/globals.h"
#include "framework/runtime.h"

namespace app {

using namespace framework;
using namespace pictures;

// ---- Start window ----

namespace {

// Five references, separated by empty lines; line breaks are carriage returns.
const char* const kReferences =
    "Redlich and Kwong (1949): the two-parameter equation of state "
    "P = RT/(V − b) − a/(T½ V (V + b)), with a and b of the pure gases "
    "from their critical constants.\r\r"
    "Brennick (1977): the attraction constant a of H₂O and CO₂ as functions of temperature, "
    "and the association of H₂O with CO₂ in the mixed term.\r\r"
    "Brennick (1981): a revised water term, in three temperature ranges, with the carbon "
    "dioxide term of 1977.\r\r"
    "Ostrem (1999): a in SI units, with temperature-dependent a of H₂O, CO₂, N₂ "
    "and CH₄.\r\r"
    "Critical constants, acentric factors, triple points and molar masses of the eleven gases: "
    "standard compilations of pure-fluid data.";

}  // namespace

void Start1Window::Layout() { Apply(WindowSpec().Title("Start").Content(540, 695)); }

void Start1Window::CreateControls() {
  Add(StaticText("StaticText1").At(155, 155, 255, 25).Text("Software Package Pelmar, v.2").Size(18)
          .Alignment(Align::Centre));
  Add(StaticText("StaticText2").At(220, 120, 100, 30).Text("Tasko").Size(24).Alignment(Align::Centre));
  Add(StaticText("StaticText3").At(20, 200, 500, 290).Text(kReferences).Size(12).Multiline());
  Add(PushButton("continue1").At(445, 650, 75, 25).Caption("continue").Size(12).Default(),
      &Start1Window::continue1_Action);
  Add(ImageWell("ImageWell2").At(1, 1, 368, 87), Logo10());
  Add(LineShape("Line1").At(0, 90, 540, 0).Line(0, 90, 540, 90));
  Add(StaticText("StaticText19").At(20, 500, 80, 20).Text("Equation:").Size(12));
  Add(StaticText("StaticText20").At(20, 580, 88, 20).Text("Fluid system:").Size(12));
  Add(Canvas("Canvas1").At(100, 500, 223, 55), eos_223());
  Add(Canvas("Canvas2").At(40, 605, 466, 25), gases_466());
}

void Start1Window::continue1_Action() { shared<Start1aWindow>().Show(); }

// ---- Parameter-set window ----

void Start1aWindow::Layout() { Apply(WindowSpec().Title("a and b").Content(400, 405)); }

void Start1aWindow::CreateControls() {
  Add(StaticText("StaticText1").At(20, 67, 360, 30).Size(12).Multiline()
          .Text("Temperature dependent constant \"a\" reflects intermolecular attraction. The values "
                "of \"a\" are defined according to:"));
  Add(RadioButton("RadioButton1").At(120, 117, 140, 20).Caption("Brennick (1977)").Size(14).On());
  Add(RadioButton("RadioButton2").At(120, 147, 140, 20).Caption("Brennick (1981)").Size(14));
  Add(RadioButton("RadioButton3").At(120, 177, 140, 20).Caption("Ostrem (1999)").Size(14));
  Add(PushButton("PushButton1").At(305, 360, 75, 25).Caption("Continue").Size(12).Default(),
      &Start1aWindow::PushButton1_Action);
  Add(StaticText("StaticText3").At(20, 215, 360, 20).Size(12).Multiline()
          .Text("gas-mixtures are defined according to mixing rules:"));
  Add(StaticText("StaticText4").At(20, 20, 280, 30).Size(12).Multiline()
          .Text("b-values of individual gases are obtained from critical-point properties"));
  Add(Canvas("Canvas1").At(100, 250, 173, 50), amix_173());
  Add(Canvas("Canvas2").At(100, 305, 134, 50), bmix_134());
}

void Start1aWindow::PushButton1_Action() {
  // Three independent tests, each radio found at the moment of its test.
  if (Radio("RadioButton1").Value()) Globals::Selection = Globals::Brennick1977;
  if (Radio("RadioButton2").Value()) Globals::Selection = Globals::Brennick1981;
  if (Radio("RadioButton3").Value()) Globals::Selection = Globals::Ostrem1999;
  shared<Start2Window>().Show();
}

// ---- Composition window ----

namespace {

// The fraction fields in creation order.
constexpr const char* kFields[] = {"H2Onumber", "CO2number", "CH4number", "N2number",
                                   "C2H6number", "H2Snumber", "NH3number", "H2number",
                                   "O2number",  "COnumber",  "Arnumber"};

Spec FractionSpec(const char* name, int top) { return EditField(name).At(110, top, 150, 25).Size(16); }

// The sum of the stored counts, exact whatever they hold: eleven int64
// values cannot overflow a 128-bit sum.
__int128 CountSum() {
  __int128 s = 0;
  for (int i = 0; i < Globals::kGases; ++i) {
    s += Globals::IntegerFraction[i];
    RuntimeBackgroundTask();
  }
  return s;
}

}  // namespace

void Start2Window::Layout() { Apply(WindowSpec().Title("Fluid").Content(310, 590).Composite()); }

void Start2Window::CreateControls() {
  Add(RoundRectangle("RoundRectangle1").At(105, 490, 160, 35).Oval(16, 16).Border(1).Fill(kWhite));
  Add(StaticText("Sum").At(115, 495, 140, 25).Parent("RoundRectangle1").Size(16).Text("0"));
  Add(StaticText("StaticText1").At(30, 20, 165, 22).Text("Fluid Composition").Size(18));
  Add(StaticText("StaticText2").At(30, 55, 260, 20).Size(11)
          .Text("amount-of-substance fraction (\"mole\" fraction)"));
  Add(FractionSpec("H2Onumber", 90), &Start2Window::H2Onumber_TextChange);
  Add(FractionSpec("CO2number", 125), &Start2Window::CO2number_TextChange);
  Add(FractionSpec("CH4number", 405), &Start2Window::CH4number_TextChange);
  Add(FractionSpec("N2number", 160), &Start2Window::N2number_TextChange);
  Add(FractionSpec("C2H6number", 439), &Start2Window::C2H6number_TextChange);
  Add(FractionSpec("H2Snumber", 195), &Start2Window::H2Snumber_TextChange);
  Add(FractionSpec("NH3number", 230), &Start2Window::NH3number_TextChange);
  Add(FractionSpec("H2number", 265), &Start2Window::H2number_TextChange);
  Add(FractionSpec("O2number", 300), &Start2Window::O2number_TextChange);
  Add(FractionSpec("COnumber", 335), &Start2Window::COnumber_TextChange);
  Add(StaticText("StaticText3").At(45, 495, 42, 22).Text("sum:").Size(16));
  Add(PushButton("continue2").At(210, 545, 75, 25).Caption("continue").Size(12).Default(),
      &Start2Window::continue2_Action);
  Add(LineShape("Line1").At(110, 478, 150, 0).Line(110, 478, 260, 478));
  Add(PushButton("Clear").At(240, 20, 50, 20).Caption("clear").Size(10), &Start2Window::Clear_Action);
  Add(FractionSpec("Arnumber", 370), &Start2Window::Arnumber_TextChange);
  Add(Canvas("Canvas1").At(45, 90, 42, 25), H2O_42());
  Add(Canvas("Canvas2").At(45, 125, 42, 25), CO2_42());
  Add(Canvas("Canvas3").At(45, 160, 27, 25), N2_27());
  Add(Canvas("Canvas4").At(45, 195, 39, 25), H2S_39());
  Add(Canvas("Canvas5").At(45, 230, 41, 25), NH3_41());
  Add(Canvas("Canvas6").At(45, 265, 27, 25), H2_27());
  Add(Canvas("Canvas7").At(45, 300, 29, 25), O2_29());
  Add(Canvas("Canvas8").At(45, 335, 35, 25), CO_35());
  Add(Canvas("Canvas9").At(45, 370, 31, 25), Ar_31());
  Add(Canvas("Canvas10").At(45, 405, 42, 25), CH4_42());
  Add(Canvas("Canvas11").At(45, 440, 48, 25), C2H6_48());
}

void Start2Window::FractionChanged(const char* field, int gas) {
  // The conversion saturates: an entry beyond the int64 range is stored at
  // its limit, and continue refuses it.
  Globals::IntegerFraction[gas] = Globals::FixedPoint(Val(Field(field).Text()));
  const __int128 s = CountSum();
  Label("Sum").SetText(Str(static_cast<double>(s) / RuntimeCvtSInt64ToReal64(Globals::PrecisionFactor)));
}

void Start2Window::continue2_Action() {
  const std::int64_t one = Globals::PrecisionFactor;
  // Every entry must lie in [0, 1] (a negative fraction makes every later
  // result meaningless) and the exact sum must be one.
  bool inRange = true;
  for (std::int64_t count : Globals::IntegerFraction) {
    if (count < 0 || count > one) inRange = false;
  }
  const __int128 s = CountSum();
  if (!inRange || s != one) {
    Label("Sum").SetText(kAdjustFractions);
    return;
  }
  for (int i = 0; i < Globals::kGases; ++i) {
    Globals::fraction[i] =
        RuntimeCvtSInt64ToReal64(Globals::IntegerFraction[i]) / RuntimeCvtSInt64ToReal64(one);
    RuntimeBackgroundTask();
  }
  shared<Start3Window>().Show();
}

void Start2Window::Clear_Action() {
  for (int i = 0; i < Globals::kGases; ++i) {
    Globals::fraction[i] = 0.0;
    RuntimeBackgroundTask();
  }
  // Each field's TextChange brings its count to 0, also for a field that was
  // empty already.
  for (const char* name : kFields) Field(name).SetText("");
}

// ---- Procedure list ----

void Start3Window::Layout() { Apply(WindowSpec().Title("Procedures").Content(300, 570)); }

void Start3Window::CreateControls() {
  Add(StaticText("StaticText1").At(20, 20, 200, 22).Text("Calculation procedure").Size(18));
  Add(PushButton("PushButton1").At(205, 525, 75, 25).Caption("continue").Size(12).Default(),
      &Start3Window::PushButton1_Action);
  Add(RadioButton("MolarVolumes").At(40, 60, 130, 20).Caption("Molar Volumes").Size(14));
  Add(RadioButton("Pressures").At(40, 90, 100, 20).Caption("Pressures").Size(14));
  Add(RadioButton("Temperatures").At(40, 120, 125, 20).Caption("Temperatures").Size(14));
  Add(RadioButton("Fugacities").At(40, 148, 100, 20).Caption("Fugacities").Size(14));
  Add(RadioButton("Activities").At(40, 180, 90, 20).Caption("Activities").Size(14));
  Add(RadioButton("Homogenisation").At(40, 210, 145, 20).Caption("Homogenization").Size(14));
  Add(RadioButton("LiquidVapour").At(40, 240, 200, 20).Caption("Liquid-Vapour equilibria").Size(14));
  Add(RadioButton("InternalEnergy").At(40, 330, 210, 20).Caption("Relative internal energy (U)").Size(14));
  Add(RadioButton("Enthalpy").At(40, 360, 170, 20).Caption("Relative enthalpy (H)").Size(14));
  Add(RadioButton("Entropy").At(40, 390, 105, 20).Caption("Entropy (S)").Size(14));
  Add(RadioButton("HelmholtzEnergy").At(40, 420, 230, 20).Caption("Relative Helmholtz energy (A)").Size(14));
  Add(RadioButton("GibbsEnergy").At(40, 450, 230, 20).Caption("Relative Gibbs energy (G)").Size(14));
  Add(RadioButton("ChemicalPotentials").At(40, 480, 160, 20).Caption("Chemical potentials").Size(14));
  Add(RadioButton("CriticalPoint").At(40, 300, 115, 20).Caption("Critical Point").Size(14));
  Add(RadioButton("Spinodal").At(40, 270, 90, 20).Caption("Spinodal").Size(14));
}

void Start3Window::PushButton1_Action() {
  // Screen order, each radio on its own.
  for (const Procedure& p : Procedures()) {
    if (Radio(p.radio).Value() && p.open != nullptr) p.open();
  }
}

}  // namespace app
