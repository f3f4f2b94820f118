#include "app/pictures.h"
#include "framework/runtime.h"
#include "procedures/pvt/procedure_frame.h"
#include "procedures/thermo/thermo_windows.h"

namespace thermo {

using namespace framework;
using pvt::ChosenRoot;
using pvt::ResultText;

namespace {

// U+2206 (increment), not the Greek capital delta.
const std::string kDelta = "\u2206";
const std::string kCredit = "see Kellavan et al. (1986)";
// Three lines, joined by carriage returns.
const std::string kStandardState =
    "Standard state conditions: 298.15 K and 0.1 MPa\r"
    "between 298.15 and T (at 0.1 MPa): Ideal Gas Mixture\r"
    "Thermomdynamic data Vennick et al. (1979)";
// The raised "3" of StaticText8 stands in the blank.
const std::string kCubicCentimetresPerMole = "cm /mol";

// clang-format off
const ThermoMember kEnergy{
    ThermoFunction::Energy,
    "Internal Energy", "Differential Form",
    {"Internal Energy", "Ideal Internal Energy", "Excess Internal Energy"}, "J /mol", true,
    {"IntEnergyText", "IdealInternalText", "ExcessInternalText"}, {"StaticText13", "StaticText14"},
    "StaticText11", "StaticText15",
    455, 640, app::Energy_215, 190, 215, 55,
    155, {280, 84}, 120, 160, 160, 167, {105, 220}, {90, 270}, 100, 385, 425, 415,
    {433, 473, 508, 543}, 55, 140, 180, 150, 220, 350, 80, 70, {160, 588}, 25};

const ThermoMember kEnthalpy{
    ThermoFunction::Enthalpy,
    "Enthalpy", "Definition",
    {"Enthalpy", "Ideal Enthalpy", "Excess Enthalpy"}, "J /mol", true,
    {"EnthalpyText", "IdealEnthalpyText", "ExcessEnthalpyText"}, {"StaticText13", "StaticText14"},
    "StaticText11", "StaticText15",
    455, 610, app::Enthalpy_161, 165, 161, 25,
    100, {195, 50}, 90, 130, 125, 132, {105, 190}, {90, 240}, 100, 355, 395, 415,
    {402, 442, 477, 512}, 55, 100, 140, 140, 190, 325, 75, 75, {160, 557}, 25};

const ThermoMember kEntropy{
    ThermoFunction::Entropy,
    "Entropy", "Maxwell Relations",
    {"Entropy", "Ideal Entropy", "Excess Entropy"}, "J /mol\u00B7K", false,  // U+00B7
    {"EntropyText", "IdealEntropyText", "ExcessEntropyText"}, {"StaticText13", "StaticText14"},
    "StaticText15", "StaticText1",
    455, 640, app::Entropy_148, 220, 148, 55,
    170, {240, 85}, 120, 160, 155, 162, {115, 220}, {100, 270}, 110, 385, 425, 415,
    {433, 473, 508, 543}, 30, 130, 130, 130, 175, 310, 75, 75, {160, 588}, 25};

const ThermoMember kHelmholtz{
    ThermoFunction::Helmholtz,
    "Helmholtz Energy", "Differential Form",
    {"Helmholtz Energy", "Ideal Helmholtz Energy", "Excess Helmholtz Energy"}, "J /mol", true,
    {"EntropyText", "IdealHelmholtzText", "ExcessHelmholtzText"}, {"StaticText14", "StaticText15"},
    "StaticText13", "StaticText16",
    460, 645, app::Helmholtz_127, 200, 127, 55,
    160, {205, 85}, 120, 160, 155, 162, {110, 220}, {95, 270}, 110, 385, 425, 420,
    {433, 473, 508, 543}, 55, 160, 200, 130, 235, 365, 70, 70, {165, 593}, 20};

const ThermoMember kGibbs{
    ThermoFunction::Gibbs,
    "Gibbs Free Energy", "Definition",
    {"Gibbs Energy", "Ideal Gibbs Energy", "Excess Gibbs Energy"}, "J /mol", true,
    {"GibbsText", "GibbsExcessText", "GibbsExcessText1"}, {"StaticText13", "StaticText14"},
    "StaticText11", "StaticText15",
    470, 610, app::Gibbs_214, 145, 214, 25,
    100, {235, 50}, 90, 130, 130, 137, {115, 190}, {100, 240}, 110, 355, 395, 430,
    {402, 442, 477, 512}, 55, 160, 205, 150, 240, 370, 75, 60, {170, 557}, 25};
// clang-format on

}  // namespace

const ThermoMember& MemberOf(ThermoFunction f) {
  switch (f) {
    case ThermoFunction::Energy: return kEnergy;
    case ThermoFunction::Enthalpy: return kEnthalpy;
    case ThermoFunction::Entropy: return kEntropy;
    case ThermoFunction::Helmholtz: return kHelmholtz;
    case ThermoFunction::Gibbs: return kGibbs;
  }
  return kEntropy;
}

ThermoWindow::ThermoWindow(const ThermoMember& member)
    : RootPanelWindow({{"Result", "Result1", "Result2", "Result3"}, pvt::RootTest::Positive,
                       pvt::EmptyResults::BeforeRadios}),
      m_(member) {}

void ThermoWindow::Layout() { Apply(WindowSpec().Title(m_.title).Content(m_.width, m_.height).Placement(2)); }

void ThermoWindow::CreateControls() {
  const int* row = m_.rowTops;
  const int unitAt = m_.unitLeft, valueAt = m_.valueLeft;
  const std::string box = "RoundRectangle1";
  auto inBox = [&](Spec spec) { return spec.Parent(box).Size(16); };

  // The results box: molar volume, total, ideal and excess rows.
  Add(RoundRectangle(box).At(20, m_.boxTop, m_.boxWidth, 155).Oval(16, 16).Border(1).Fill(kWhite));
  Add(inBox(StaticText("Result")).At(valueAt, row[0], 120, 25));
  Add(inBox(StaticText("StaticText7")).At(unitAt, row[0], m_.cm3Width, 25).Text(kCubicCentimetresPerMole));
  Add(StaticText("StaticText8").At(unitAt + 22, row[0] - 1, 16, 20).Parent(box).Text("3").Size(12));
  Add(inBox(StaticText("MolarVolume")).At(30, row[0], m_.molarVolumeWidth, 25).Text("Molar Volume"));
  Add(inBox(StaticText("Result1")).At(valueAt, row[1], 120, 25));
  Add(inBox(StaticText("StaticText9")).At(unitAt, row[1], m_.unitWidth, 25).Text(m_.unit));
  Add(inBox(StaticText(m_.labelNames[0])).At(m_.label1Left, row[1], m_.label1Width, 25).Text(m_.labels[0]));
  if (m_.delta) Add(StaticText("StaticText1").At(30, row[1] - 4, 20, 30).Parent(box).Text(kDelta).Size(24));
  Add(inBox(StaticText(m_.unitNames[0])).At(unitAt, row[2], m_.unitWidth, m_.lowHeight).Text(m_.unit));
  Add(inBox(StaticText(m_.unitNames[1])).At(unitAt, row[3], m_.unitWidth, m_.lowHeight).Text(m_.unit));
  Add(inBox(StaticText("Result2")).At(valueAt, row[2], 120, m_.lowHeight));
  Add(inBox(StaticText(m_.labelNames[1])).At(30, row[2], m_.labelWidth, 25).Text(m_.labels[1]));
  Add(inBox(StaticText("Result3")).At(valueAt, row[3], 120, 25));
  Add(inBox(StaticText(m_.labelNames[2])).At(30, row[3], m_.labelWidth, 25).Text(m_.labels[2]));

  // The root panel.
  const int p = m_.pressureTop, t = m_.temperatureTop;
  const int rootRow = m_.rootGroup.top + 30, textAt = m_.radiosLeft + 25;
  Add(StaticText("Pressure").At(20, p, 130, 25).Text("Pressure").Size(16));
  Add(StaticText("Temperature").At(20, t, 130, 25).Text("Temperature").Size(16));
  Add(EditField("dataEntry").At(155, p, 120, 25).Size(16));
  Add(EditField("dataEntry1").At(155, t, 120, 25).Size(16));
  Add(PushButton("calculate").At(m_.calculate.left, m_.calculate.top, 230, 30)
          .Caption("calculate molar volume").Size(18).Default(),
      &ThermoWindow::calculate_Action);
  Add(RootText(0).At(textAt, rootRow, 200, 20));
  Add(StaticText("StaticText3").At(280, t, 80, 25).Text(pvt::kKelvinText).Size(16));
  Add(StaticText("StaticText4").At(280, p, 80, 25).Text("MPa").Size(16));
  Add(pvt::KelvinRadio().At(372, m_.kelvinTop, 56, 20), &ThermoWindow::Kelvin_Action);
  Add(pvt::CelsiusRadio().At(372, m_.kelvinTop + 21, 56, 20), &ThermoWindow::Celsius_Action);
  Add(RootRadio(0).At(m_.radiosLeft, rootRow, 20, 20), &ThermoWindow::Choice0_Action);
  Add(RootRadio(2).At(m_.radiosLeft, rootRow + 50, 20, 20), &ThermoWindow::Choice2_Action);
  Add(RootRadio(1).At(m_.radiosLeft, rootRow + 25, 20, 20), &ThermoWindow::Choice1_Action);
  Add(GroupBox("GroupBox1").At(365, m_.unitGroupTop, 70, 54));
  Add(RootGroup().At(m_.rootGroup.left, m_.rootGroup.top, 260, 110));
  Add(RootText(1).At(textAt, rootRow + 25, 200, 20).Parent("GroupBox2"));
  Add(RootText(2).At(textAt, rootRow + 50, 200, 20).Parent("GroupBox2"));

  // Heading, credit, notes and the formula.
  Add(StaticText("StaticText10").At(20, 20, m_.headingWidth, 25).Text(m_.heading).Size(18));
  Add(StaticText("StaticText12").At(m_.credit.left, m_.credit.top, 130, 10).Text(kCredit).Size(10));
  Add(StaticText(m_.noteName).At(m_.note.left, m_.note.top, 270, 40).Text(kStandardState).Size(10).Multiline());
  Add(ClearButton().At(380, p, 50, 20), &ThermoWindow::Clear_Action);
  Add(Footnote(m_.footnoteName).At(245, m_.rootGroup.top + 115, 195, 30));
  Add(Canvas("Canvas1").At(m_.canvasLeft, 20, m_.canvasWidth, m_.canvasHeight), m_.picture());
}

void ThermoWindow::ShowRoot(const ChosenRoot& root) {
  Label("Result").SetText(ResultText(root.V));
  FunctionParts parts;  // not computed: no positive root
  if (root.passes) parts = PartsAtRoot(m_.function, root.x, root.T, root.P, root.V, root.model);
  switch (parts.outcome) {
    case Outcome::Computed:
      Label("Result1").SetText(ResultText(parts.total));
      Label("Result2").SetText(ResultText(parts.ideal));
      Label("Result3").SetText(ResultText(parts.excess));
      break;
    case Outcome::NotComputed:
      for (const char* r : {"Result1", "Result2", "Result3"}) Label(r).SetText("0");
      break;
    case Outcome::NoSolution:
      for (const char* r : {"Result1", "Result2", "Result3"}) Label(r).SetText(pvt::kNoSolution);
      break;
  }
}

}  // namespace thermo
