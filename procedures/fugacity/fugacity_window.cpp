#include "core/globals.h"
#include "framework/runtime.h"
#include "procedures/fugacity/fugacity_windows.h"
#include "procedures/pvt/procedure_frame.h"

namespace fugacity {

using namespace framework;
using pvt::ResultText;

void ListRows(ListboxControl& list, const std::vector<ComponentRow>& rows) {
  for (const ComponentRow& row : rows) {
    list.AddRow(" ");
    list.SetCell(list.LastIndex(), 0, pvt::kGasNames[row.gas]);
    list.SetCell(list.LastIndex(), 1, ResultText(row.value));
    list.SetCell(list.LastIndex(), 2, ResultText(row.coefficient));
  }
}

FugacityWindow::FugacityWindow()
    : RootPanelWindow({{"Result", "ListBox1"}, pvt::RootTest::None, pvt::EmptyResults::AfterRows}) {}

void FugacityWindow::Layout() { Apply(WindowSpec().Title("Fugacities").Content(460, 590).Placement(2)); }

void FugacityWindow::CreateControls() {
  Add(RoundRectangle("RoundRectangle1").At(20, 330, 420, 35).Oval(16, 16).Border(1).Fill(kWhite));
  Add(StaticText("Result").At(190, 335, 120, 25).Parent("RoundRectangle1").Size(16));
  Add(StaticText("StaticText7").At(330, 335, 75, 25).Parent("RoundRectangle1").Text("cm /mol").Size(16));
  Add(StaticText("StaticText8").At(352, 334, 16, 20).Parent("RoundRectangle1").Text("3").Size(12));
  Add(StaticText("MolarVolume").At(30, 335, 140, 25).Parent("RoundRectangle1").Text("Molar Volume").Size(16));
  Add(StaticText("Pressure").At(20, 20, 130, 25).Text("Pressure").Size(16));
  Add(StaticText("Temperature").At(20, 60, 130, 25).Text("Temperature").Size(16));
  Add(EditField("dataEntry").At(155, 20, 120, 25).Size(16));
  Add(EditField("dataEntry1").At(155, 60, 120, 25).Size(16));
  Add(PushButton("calculate").At(115, 120, 230, 30).Caption("calculate molar volume").Size(18).Default(),
      &FugacityWindow::calculate_Action);
  Add(RootText(0).At(140, 200, 200, 20));
  Add(StaticText("StaticText3").At(285, 60, 80, 25).Text(pvt::kKelvinText).Size(16));
  Add(StaticText("StaticText4").At(285, 20, 40, 25).Text("MPa").Size(16));
  Add(pvt::KelvinRadio().At(377, 67, 56, 20), &FugacityWindow::Kelvin_Action);
  Add(pvt::CelsiusRadio().At(377, 88, 56, 20), &FugacityWindow::Celsius_Action);
  Add(RootRadio(0).At(115, 200, 20, 20).Font("palatino").Size(18), &FugacityWindow::Choice0_Action);
  Add(RootRadio(2).At(115, 250, 20, 20).Font("palatino").Size(18), &FugacityWindow::Choice2_Action);
  Add(RootRadio(1).At(115, 225, 20, 20).Font("palatino").Size(18), &FugacityWindow::Choice1_Action);
  Add(GroupBox("GroupBox1").At(370, 60, 70, 54));
  Add(RootGroup().At(100, 170, 260, 110));
  Add(RootText(1).At(140, 225, 200, 20).Parent("GroupBox2"));
  Add(RootText(2).At(140, 250, 200, 20).Parent("GroupBox2"));
  Add(GroupBox("GroupBox3").At(20, 380, 420, 190).Caption("Fugacities").Size(18));
  Add(Listbox("ListBox1").At(34, 415, 390, 140).Parent("GroupBox3").Size(14).Italic()
          .Set("ColumnCount", 3).Set("ColumnWidths", std::string("20%, 40%, 40%")).Set("HasHeading", true)
          .Set("GridLinesVertical", 3));
  Add(ClearButton().At(385, 20, 50, 20), &FugacityWindow::Clear_Action);
  Add(Footnote("StaticText1").At(245, 285, 195, 30));
  OnActivate([this] { Event_Activate(); });
}

void FugacityWindow::Event_Activate() {
  ListboxControl& list = List("ListBox1");
  list.SetHeading(0, "gas");
  list.SetHeading(1, "fugacity (in MPa)");
  list.SetHeading(2, "coefficient");
}

void FugacityWindow::ShowRoot(const pvt::ChosenRoot& root) {
  ListboxControl& list = List("ListBox1");
  list.DeleteAllRows();
  Label("Result").SetText(ResultText(root.V));
  const unsigned generation = Generation();
  const auto rows = FugacityRows(root.x, root.T, root.P, root.V, root.model);
  if (Generation() != generation) return;
  ListRows(list, rows);
}

}  // namespace fugacity
