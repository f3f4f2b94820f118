#include "core/globals.h"
#include "framework/runtime.h"
#include "procedures/pvt/procedure_frame.h"
#include "procedures/pvt/pvt_windows.h"
#include "properties/properties.h"

namespace pvt {

using namespace framework;

VolumeWindow::VolumeWindow()
    : RootPanelWindow({{"Result", "ExcessVol", "DensityResult"}, RootTest::NonZero, EmptyResults::AfterRows}) {}

void VolumeWindow::Layout() { Apply(WindowSpec().Title("Molar Volumes").Content(460, 470).Placement(2)); }

void VolumeWindow::CreateControls() {
  Add(RoundRectangle("RoundRectangle1").At(20, 330, 420, 120).Oval(16, 16).Border(1).Fill(kWhite));
  Add(StaticText("Result").At(220, 337, 120, 25).Parent("RoundRectangle1").Size(16));
  Add(StaticText("StaticText7").At(350, 337, 75, 25).Parent("RoundRectangle1").Text("cm /mol").Size(16));
  Add(StaticText("StaticText8").At(372, 336, 16, 20).Parent("RoundRectangle1").Text("3").Size(12));
  Add(StaticText("ExcessMolarVolume").At(30, 377, 180, 25).Parent("RoundRectangle1")
          .Text("Excess Molar Volume").Size(16));
  Add(StaticText("ExcessVol").At(220, 377, 120, 25).Parent("RoundRectangle1").Size(16));
  Add(StaticText("StaticText10").At(350, 377, 75, 25).Parent("RoundRectangle1").Text("cm /mol").Size(16));
  Add(StaticText("StaticText11").At(372, 376, 16, 20).Parent("RoundRectangle1").Text("3").Size(12));
  Add(StaticText("MolarVolume").At(30, 337, 180, 25).Parent("RoundRectangle1").Text("Molar Volume").Size(16));
  Add(StaticText("Density").At(30, 417, 180, 25).Parent("RoundRectangle1").Text("Density").Size(16));
  Add(StaticText("DensityResult").At(220, 417, 120, 25).Parent("RoundRectangle1").Size(16));
  Add(StaticText("StaticText12").At(350, 417, 55, 25).Parent("RoundRectangle1").Text("g/cm").Size(16));
  Add(StaticText("StaticText13").At(390, 416, 16, 20).Parent("RoundRectangle1").Text("3").Size(12));
  Add(StaticText("Pressure").At(20, 20, 130, 25).Text("Pressure").Size(16));
  Add(StaticText("Temperature").At(20, 60, 130, 25).Text("Temperature").Size(16));
  Add(EditField("dataEntry").At(155, 20, 120, 25).Size(16));
  Add(EditField("dataEntry1").At(155, 60, 120, 25).Size(16));
  Add(PushButton("calculate").At(180, 120, 100, 30).Caption("calculate").Size(18).Default(),
      &VolumeWindow::calculate_Action);
  Add(RootText(0).At(140, 200, 200, 20));
  Add(StaticText("StaticText3").At(285, 60, 80, 25).Text(kKelvinText).Size(16));
  Add(StaticText("StaticText4").At(285, 20, 80, 25).Text("MPa").Size(16));
  Add(KelvinRadio().At(377, 67, 56, 20), &VolumeWindow::Kelvin_Action);
  Add(CelsiusRadio().At(377, 88, 56, 20), &VolumeWindow::Celsius_Action);
  Add(RootRadio(0).At(115, 200, 20, 20), &VolumeWindow::Choice0_Action);
  Add(RootRadio(2).At(115, 250, 20, 20), &VolumeWindow::Choice2_Action);
  Add(RootRadio(1).At(115, 225, 20, 20), &VolumeWindow::Choice1_Action);
  Add(GroupBox("GroupBox1").At(370, 60, 70, 54));
  Add(RootGroup().At(100, 170, 260, 110));
  Add(RootText(1).At(140, 225, 200, 20).Parent("GroupBox2"));
  Add(RootText(2).At(140, 250, 200, 20).Parent("GroupBox2"));
  Add(ClearButton().At(385, 20, 50, 20), &VolumeWindow::Clear_Action);
  Add(Footnote("StaticText1").At(250, 285, 195, 30));
}

void VolumeWindow::ShowRoot(const ChosenRoot& root) {
  Label("Result").SetText(ResultText(root.V));
  // Vexcess keeps 0.0 wherever no excess is computed.
  Globals::Vexcess = 0.0;
  if (Globals::NoGas(root.x)) {
    Label("DensityResult").SetText(kNoSolution);
    Label("ExcessVol").SetText(kNoSolution);
  } else if (root.passes) {
    const std::optional<double> excess =
        Globals::Excess(Globals::ExcessVolume, root.x, root.T, root.P, root.V, root.model);
    if (excess) Globals::Vexcess = *excess;
    Label("DensityResult").SetText(ResultText(Globals::Density(root.x, root.V)));
    Label("ExcessVol").SetText(excess ? ResultText(*excess) : kNoSolution);
  } else {
    // A complex root, or none stored yet.
    Label("DensityResult").SetText("0");
    Label("ExcessVol").SetText("0");
  }
}

}  // namespace pvt
