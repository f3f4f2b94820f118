#include "procedures/thermo/chem_pot_window.h"

#include "pictures/pictures.h"
#include "core/globals.h"
#include "framework/runtime.h"
#include "procedures/pvt/procedure_frame.h"
#include "procedures/thermo/thermo_windows.h"
#include "properties/properties.h"

namespace thermo {

using namespace framework;
using pvt::ResultText;

ChemPotWindow::ChemPotWindow()
    : RootPanelWindow({{"Result", "ListBox1"}, pvt::RootTest::None, pvt::EmptyResults::BeforeRadios}) {}

void ChemPotWindow::Layout() {
  Apply(WindowSpec().Title("Chemical Potentials").Content(450, 730).Placement(2));
}

void ChemPotWindow::CreateControls() {
  Add(RoundRectangle("RoundRectangle1").At(20, 425, 410, 40).Oval(16, 16).Border(1).Fill(kWhite));
  Add(StaticText("Result").At(190, 432, 120, 25).Parent("RoundRectangle1").Size(16));
  Add(StaticText("StaticText7").At(320, 432, 75, 25).Parent("RoundRectangle1").Text("cm /mol").Size(16));
  Add(StaticText("StaticText8").At(342, 431, 16, 20).Parent("RoundRectangle1").Text("3").Size(12));
  Add(StaticText("MolarVolume").At(30, 432, 130, 25).Parent("RoundRectangle1").Text("Molar Volume").Size(16));
  Add(StaticText("Pressure").At(20, 130, 130, 25).Text("Pressure").Size(16));
  Add(StaticText("Temperature").At(20, 170, 130, 25).Text("Temperature").Size(16));
  Add(EditField("dataEntry").At(155, 130, 120, 25).Size(16));
  Add(EditField("dataEntry1").At(155, 170, 120, 25).Size(16));
  Add(PushButton("calculate").At(105, 225, 230, 30).Caption("calculate molar volume").Size(18).Default(),
      &ChemPotWindow::calculate_Action);
  Add(RootText(0).At(125, 305, 200, 20));
  Add(StaticText("StaticText3").At(280, 170, 80, 25).Text(pvt::kKelvinText).Size(16));
  Add(StaticText("StaticText4").At(280, 130, 80, 25).Text("MPa").Size(16));
  Add(pvt::KelvinRadio().At(367, 172, 56, 20), &ChemPotWindow::Kelvin_Action);
  Add(pvt::CelsiusRadio().At(367, 193, 56, 20), &ChemPotWindow::Celsius_Action);
  Add(RootRadio(0).At(100, 305, 20, 20).Font("palatino").Size(18), &ChemPotWindow::Choice0_Action);
  Add(RootRadio(2).At(100, 355, 20, 20).Font("palatino").Size(18), &ChemPotWindow::Choice2_Action);
  Add(RootRadio(1).At(100, 330, 20, 20).Font("palatino").Size(18), &ChemPotWindow::Choice1_Action);
  Add(GroupBox("GroupBox1").At(360, 165, 70, 54).Font("System"));
  Add(RootGroup().At(90, 275, 260, 110));
  Add(RootText(1).At(125, 330, 200, 20).Parent("GroupBox2"));
  Add(RootText(2).At(125, 355, 200, 20).Parent("GroupBox2"));
  Add(StaticText("StaticText10").At(20, 20, 160, 25).Text("Partial Derivative").Size(18));
  Add(StaticText("StaticText11").At(160, 680, 270, 40)
          .Text(kStandardState)
          .Size(10)
          .Multiline());
  Add(StaticText("StaticText12").At(210, 90, 130, 10).Text(kCredit).Size(10));
  Add(GroupBox("GroupBox3").At(55, 480, 340, 190).Caption("Chemical Potentials").Size(18));
  Add(Listbox("ListBox1").At(69, 515, 310, 140).Parent("GroupBox3").Size(14).Italic()
          .Set("ColumnCount", 2).Set("ColumnWidths", std::string("30%, 70%")).Set("HasHeading", true)
          .Set("GridLinesVertical", 3));
  Add(ClearButton().At(375, 130, 50, 20).Font("System"), &ChemPotWindow::Clear_Action);
  Add(Footnote("StaticText1").At(245, 390, 195, 30).Font("System"));
  Add(Canvas("Canvas1").At(205, 20, 129, 60), pictures::chem_129());
  OnActivate([this] { Event_Activate(); });
}

void ChemPotWindow::Event_Activate() {
  ListboxControl& list = List("ListBox1");
  list.SetHeading(0, "gas");
  list.SetHeading(1, "J/mol");
}

void ChemPotWindow::ShowRoot(const pvt::ChosenRoot& root) {
  const unsigned generation = Generation();
  ListboxControl& list = List("ListBox1");
  list.DeleteAllRows();
  Label("Result").SetText(ResultText(root.V));
  // mu_i in J/mol; 0 where the volume is not above the co-volume (a complex
  // root is stored as 0). Not a number where the mixture has no attraction
  // constant at T.
  Globals::GasArray mu{};
  for (int i = 0; i < Globals::kGases; ++i) {
    if (root.x[i] > 0) mu[i] = Globals::ChemicalPotential(i, root.x, root.T, root.V, root.model);
    RuntimeBackgroundTask();
  }
  if (Generation() != generation) return;
  for (int i = 0; i < Globals::kGases; ++i) {
    if (!(root.x[i] > 0)) continue;
    list.AddRow(" ");
    list.SetCell(list.LastIndex(), 0, pvt::kGasNames[i]);
    list.SetCell(list.LastIndex(), 1, ResultText(mu[i]));
  }
}

}  // namespace thermo
