#include "pictures/pictures.h"
#include "procedures/pvt/procedure_frame.h"
#include "procedures/thermo/thermo_windows.h"

namespace thermo {

using namespace framework;
using pvt::ChosenRoot;
using pvt::ResultText;

namespace {

// U+2206 (increment), not the Greek capital delta.
const std::string kDelta = "\u2206";
// The raised "3" of StaticText8 stands in the blank.
const std::string kCubicCentimetresPerMole = "cm /mol";

// clang-format off
const ThermoMember kEnergy{
    .function = ThermoFunction::Energy,
    .title = "Internal Energy", .heading = "Differential Form",
    .labels = {"Internal Energy", "Ideal Internal Energy", "Excess Internal Energy"},
    .unit = "J /mol", .delta = true,
    .labelNames = {"IntEnergyText", "IdealInternalText", "ExcessInternalText"},
    .unitNames = {"StaticText13", "StaticText14"}, .noteName = "StaticText11", .footnoteName = "StaticText15",
    .width = 455, .height = 640, .picture = pictures::Energy_215, .canvasLeft = 190, .canvasWidth = 215, .canvasHeight = 55,
    .headingWidth = 155, .credit = {280, 84}, .pressureTop = 120, .temperatureTop = 160,
    .unitGroupTop = 160, .kelvinTop = 167, .calculate = {105, 220}, .rootGroup = {90, 270}, .radiosLeft = 100,
    .footnoteTop = 385, .boxTop = 425, .boxWidth = 415, .rowTops = {433, 473, 508, 543},
    .label1Left = 55, .label1Width = 140, .labelWidth = 180, .molarVolumeWidth = 150,
    .valueLeft = 220, .unitLeft = 350, .cm3Width = 80, .unitWidth = 70, .note = {160, 588}, .lowHeight = 25};

const ThermoMember kEnthalpy{
    .function = ThermoFunction::Enthalpy,
    .title = "Enthalpy", .heading = "Definition",
    .labels = {"Enthalpy", "Ideal Enthalpy", "Excess Enthalpy"},
    .unit = "J /mol", .delta = true,
    .labelNames = {"EnthalpyText", "IdealEnthalpyText", "ExcessEnthalpyText"},
    .unitNames = {"StaticText13", "StaticText14"}, .noteName = "StaticText11", .footnoteName = "StaticText15",
    .width = 455, .height = 610, .picture = pictures::Enthalpy_161, .canvasLeft = 165, .canvasWidth = 161, .canvasHeight = 25,
    .headingWidth = 100, .credit = {195, 50}, .pressureTop = 90, .temperatureTop = 130,
    .unitGroupTop = 125, .kelvinTop = 132, .calculate = {105, 190}, .rootGroup = {90, 240}, .radiosLeft = 100,
    .footnoteTop = 355, .boxTop = 395, .boxWidth = 415, .rowTops = {402, 442, 477, 512},
    .label1Left = 55, .label1Width = 100, .labelWidth = 140, .molarVolumeWidth = 140,
    .valueLeft = 190, .unitLeft = 325, .cm3Width = 75, .unitWidth = 75, .note = {160, 557}, .lowHeight = 25};

const ThermoMember kEntropy{
    .function = ThermoFunction::Entropy,
    .title = "Entropy", .heading = "Maxwell Relations",
    .labels = {"Entropy", "Ideal Entropy", "Excess Entropy"},
    .unit = "J /mol\u00B7K", .delta = false,  // U+00B7, the middle dot
    .labelNames = {"EntropyText", "IdealEntropyText", "ExcessEntropyText"},
    .unitNames = {"StaticText13", "StaticText14"}, .noteName = "StaticText15", .footnoteName = "StaticText1",
    .width = 455, .height = 640, .picture = pictures::Entropy_148, .canvasLeft = 220, .canvasWidth = 148, .canvasHeight = 55,
    .headingWidth = 170, .credit = {240, 85}, .pressureTop = 120, .temperatureTop = 160,
    .unitGroupTop = 155, .kelvinTop = 162, .calculate = {115, 220}, .rootGroup = {100, 270}, .radiosLeft = 110,
    .footnoteTop = 385, .boxTop = 425, .boxWidth = 415, .rowTops = {433, 473, 508, 543},
    .label1Left = 30, .label1Width = 130, .labelWidth = 130, .molarVolumeWidth = 130,
    .valueLeft = 175, .unitLeft = 310, .cm3Width = 75, .unitWidth = 75, .note = {160, 588}, .lowHeight = 25};

const ThermoMember kHelmholtz{
    .function = ThermoFunction::Helmholtz,
    .title = "Helmholtz Energy", .heading = "Differential Form",
    .labels = {"Helmholtz Energy", "Ideal Helmholtz Energy", "Excess Helmholtz Energy"},
    .unit = "J /mol", .delta = true,
    .labelNames = {"EntropyText", "IdealHelmholtzText", "ExcessHelmholtzText"},
    .unitNames = {"StaticText14", "StaticText15"}, .noteName = "StaticText13", .footnoteName = "StaticText16",
    .width = 460, .height = 645, .picture = pictures::Helmholtz_127, .canvasLeft = 200, .canvasWidth = 127, .canvasHeight = 55,
    .headingWidth = 160, .credit = {205, 85}, .pressureTop = 120, .temperatureTop = 160,
    .unitGroupTop = 155, .kelvinTop = 162, .calculate = {110, 220}, .rootGroup = {95, 270}, .radiosLeft = 110,
    .footnoteTop = 385, .boxTop = 425, .boxWidth = 420, .rowTops = {433, 473, 508, 543},
    .label1Left = 55, .label1Width = 160, .labelWidth = 200, .molarVolumeWidth = 130,
    .valueLeft = 235, .unitLeft = 365, .cm3Width = 70, .unitWidth = 70, .note = {165, 593}, .lowHeight = 20};

const ThermoMember kGibbs{
    .function = ThermoFunction::Gibbs,
    .title = "Gibbs Free Energy", .heading = "Definition",
    .labels = {"Gibbs Energy", "Ideal Gibbs Energy", "Excess Gibbs Energy"},
    .unit = "J /mol", .delta = true,
    .labelNames = {"GibbsText", "GibbsExcessText", "GibbsExcessText1"},
    .unitNames = {"StaticText13", "StaticText14"}, .noteName = "StaticText11", .footnoteName = "StaticText15",
    .width = 470, .height = 610, .picture = pictures::Gibbs_214, .canvasLeft = 145, .canvasWidth = 214, .canvasHeight = 25,
    .headingWidth = 100, .credit = {235, 50}, .pressureTop = 90, .temperatureTop = 130,
    .unitGroupTop = 130, .kelvinTop = 137, .calculate = {115, 190}, .rootGroup = {100, 240}, .radiosLeft = 110,
    .footnoteTop = 355, .boxTop = 395, .boxWidth = 430, .rowTops = {402, 442, 477, 512},
    .label1Left = 55, .label1Width = 160, .labelWidth = 205, .molarVolumeWidth = 150,
    .valueLeft = 240, .unitLeft = 370, .cm3Width = 75, .unitWidth = 60, .note = {170, 557}, .lowHeight = 25};
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
  Add(Footnote(m_.footnoteName).At(245, m_.footnoteTop, 195, 30));
  Add(Canvas("Canvas1").At(m_.canvasLeft, 20, m_.canvasWidth, m_.canvasHeight), m_.picture());
}

void ThermoWindow::ShowRoot(const ChosenRoot& root) {
  Label("Result").SetText(ResultText(root.V));
  // The domain test includes V > 0: a complex root (0), a negative one or none
  // is not computed.
  const FunctionParts parts = PartsAtRoot(m_.function, root.x, root.T, root.P, root.V, root.model);
  switch (parts.outcome) {
    case Outcome::Computed:
      Label("Result1").SetText(ResultText(parts.total));
      Label("Result2").SetText(ResultText(parts.ideal));
      Label("Result3").SetText(ResultText(parts.excess));
      break;
    case Outcome::NoExcess:
      Label("Result1").SetText(ResultText(parts.total));
      Label("Result2").SetText(pvt::kNoSolution);
      Label("Result3").SetText(pvt::kNoSolution);
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
