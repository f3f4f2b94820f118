#include <cmath>

#include "core/globals.h"
#include "framework/runtime.h"
#include "procedures/pvt/procedure_frame.h"
#include "procedures/pvt/pvt_windows.h"

namespace pvt {

using namespace framework;

namespace {

// The records that the pressure and temperature windows share.
Spec MolarVolumeLabel() { return StaticText("MolarVolume").At(20, 20, 130, 25).Text("Molar Volume").Size(16); }
Spec EntryField(const char* name, int top) { return EditField(name).At(155, top, 120, 25).Size(16); }
Spec RaisedThree() { return StaticText("StaticText2").At(307, 19, 16, 20).Text("3").Size(12); }
Spec ClearButton() { return PushButton("Clear").At(400, 20, 50, 20).Caption("clear").Size(10).Font("System"); }

}  // namespace

// ---- Pressure window ----

void PressureWindow::Layout() { Apply(WindowSpec().Title("Pressures").Content(470, 290).Placement(2)); }

void PressureWindow::CreateControls() {
  Add(RoundRectangle("RoundRectangle1").At(20, 195, 430, 35).Oval(16, 16).Border(1).Fill(kWhite));
  Add(StaticText("Pressure").At(80, 200, 100, 25).Parent("RoundRectangle1").Text("Pressure").Size(16));
  Add(StaticText("Result").At(205, 200, 120, 25).Parent("RoundRectangle1").Size(16));
  Add(StaticText("StaticText4").At(340, 200, 45, 25).Parent("RoundRectangle1").Text("MPa").Size(16));
  Add(MolarVolumeLabel());
  Add(StaticText("Temperature").At(20, 60, 130, 25).Text("Temperature").Size(16));
  Add(EntryField("dataEntry", 20));
  Add(EntryField("dataEntry1", 60));
  Add(PushButton("calculate").At(185, 140, 100, 30).Caption("calculate").Size(18).Default(),
      &PressureWindow::calculate_Action);
  Add(StaticText("StaticText1").At(285, 20, 75, 25).Text("cm /mol").Size(16));
  Add(RaisedThree());
  Add(StaticText("StaticText3").At(285, 60, 70, 25).Text(kKelvinText).Size(16));
  Add(KelvinRadio().At(382, 67, 56, 20), &PressureWindow::Kelvin_Action);
  Add(CelsiusRadio().At(382, 88, 56, 20), &PressureWindow::Celsius_Action);
  Add(GroupBox("GroupBox1").At(375, 60, 70, 54));
  Add(ClearButton(), &PressureWindow::Clear_Action);
  Add(PushButton("PushButton1").At(310, 245, 140, 25).Caption("Isochore calculation").Size(12),
      &PressureWindow::PushButton1_Action);
}

void PressureWindow::calculate_Action() {
  const double T = TypedKelvin(*this, 0.0);
  const double V = Val(Field("dataEntry").Text());
  // Kept for the isochore whatever the pressure turns out to be.
  Globals::MolarVolumes[0] = V;
  const Globals::GasArray x = Globals::fraction;
  const std::int32_t model = Globals::Selection;
  Label("Result").SetText(Globals::NoGas(x) ? kNoSolution : ResultText(Globals::Pressure(x, T, V, model)));
}

void PressureWindow::Kelvin_Action() { KelvinChosen(*this); }

void PressureWindow::Celsius_Action() { CelsiusChosen(*this); }

void PressureWindow::Clear_Action() {
  Field("dataEntry").SetText("");
  Field("dataEntry1").SetText("");
  Label("Result").SetText("");
}

void PressureWindow::PushButton1_Action() { shared<Isochore>().Show(); }

// ---- Temperature window ----

void TemperatureWindow::Layout() {
  Apply(WindowSpec().Title("Temperatures").Content(470, 270).Placement(2).Invisible());
}

void TemperatureWindow::CreateControls() {
  Add(MolarVolumeLabel());
  Add(RoundRectangle("RoundRectangle1").At(20, 180, 430, 70).Oval(16, 16).Border(1).Fill(kWhite));
  Add(StaticText("Temperature").At(34, 188, 115, 25).Parent("RoundRectangle1").Text("Temperature").Size(16));
  Add(StaticText("Result").At(160, 188, 120, 25).Parent("RoundRectangle1").Size(16));
  Add(StaticText("StaticText4").At(290, 188, 80, 25).Parent("RoundRectangle1").Text(kKelvinText).Size(16));
  Add(KelvinRadio().At(377, 195, 56, 20).Parent("RoundRectangle1"), &TemperatureWindow::Kelvin_Action);
  Add(CelsiusRadio().At(377, 216, 56, 20).Parent("RoundRectangle1"), &TemperatureWindow::Celsius_Action);
  Add(GroupBox("GroupBox1").At(370, 188, 70, 54).Parent("RoundRectangle1").Font("System"));
  // Member 1 of the control set "Pressure".
  Add(StaticText("Pressure").At(20, 60, 130, 25).Text("Pressure").Size(16).Index(1));
  Add(EntryField("dataEntry", 20));
  Add(EntryField("dataEntry1", 60));
  Add(PushButton("calculate").At(185, 120, 100, 30).Caption("calculate").Size(18).Default(),
      &TemperatureWindow::calculate_Action);
  Add(StaticText("StaticText1").At(285, 20, 80, 25).Text("cm /mol").Size(16));
  Add(RaisedThree());
  Add(StaticText("StaticText3").At(285, 60, 80, 25).Text("MPa").Size(16));
  Add(ClearButton(), &TemperatureWindow::Clear_Action);
}

void TemperatureWindow::ShowTemperature() {
  // After this window's own calculation failed, the temperature kept from
  // before is no result of its inputs: the failure stays until another
  // temperature is stored.
  if (storesAtFailure_ == Globals::TempKelvinStores) return;
  storesAtFailure_.reset();
  if (Radio("Celsius").Value()) Label("Result").SetText(ResultText(Globals::TempKelvin - kCelsiusOffset));
  if (Radio("Kelvin").Value()) Label("Result").SetText(ResultText(Globals::TempKelvin));
}

void TemperatureWindow::calculate_Action() {
  const double V = Val(Field("dataEntry").Text());
  const double P = Val(Field("dataEntry1").Text());
  const Globals::GasArray x = Globals::fraction;
  const std::int32_t model = Globals::Selection;
  const double T = Globals::NoGas(x) ? 0.0 : Globals::Temperature(x, P, V, model);
  // Temperature gives 0.0 when nothing solves the equation (V <= b, or no
  // temperature reproduces P); such a value is neither shown nor kept.
  if (!(T > 0) || !std::isfinite(T)) {
    Label("Result").SetText(kNoSolution);
    storesAtFailure_ = Globals::TempKelvinStores;
    return;
  }
  Globals::StoreTempKelvin(T);
  ShowTemperature();
}

void TemperatureWindow::Kelvin_Action() {
  if (!Radio("Kelvin").Value()) return;
  Label("StaticText4").SetText(kKelvinText);
  ShowTemperature();
}

void TemperatureWindow::Celsius_Action() {
  if (!Radio("Celsius").Value()) return;
  Label("StaticText4").SetText(kCelsiusText);
  ShowTemperature();
}

void TemperatureWindow::Clear_Action() {
  Field("dataEntry").SetText("");
  Field("dataEntry1").SetText("");
  Label("Result").SetText("");
  storesAtFailure_.reset();
}

}  // namespace pvt
