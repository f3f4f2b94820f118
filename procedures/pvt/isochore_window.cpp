#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "core/globals.h"
#include "framework/application.h"
#include "framework/runtime.h"
#include "procedures/pvt/isochore_points.h"
#include "procedures/pvt/procedure_frame.h"
#include "procedures/pvt/pvt_windows.h"
#include "procedures/pvt/text_file.h"

namespace pvt {

using namespace framework;

namespace {

const char* const kExportTitle = "Isochore export";

Spec Small(Spec s) { return s.Size(12); }

// Nothing present has no pressure ("no solution"), not that of an ideal gas
// of nothing.
double IsochorePressure(const Globals::GasArray& x, double T, double V, std::int32_t model) {
  return Globals::NoGas(x) ? std::numeric_limits<double>::quiet_NaN() : Globals::Pressure(x, T, V, model);
}

}  // namespace

void Isochore::Layout() { Apply(WindowSpec().Title("Isochore").Content(300, 480).Placement(0)); }

void Isochore::CreateControls() {
  Add(Listbox("ListBox1").At(50, 228, 200, 195).Size(10).Set("ColumnCount", 2)
          .Set("ColumnWidths", std::string("50%, 50%")).Set("HasHeading", true)
          .Set("GridLinesVertical", 3));
  Add(Small(StaticText("StaticText1").At(20, 90, 110, 18).Text("min. temperature")));
  Add(Small(StaticText("StaticText2").At(20, 115, 110, 18).Text("max. temperature")));
  Add(Small(StaticText("StaticText3").At(20, 140, 110, 18).Text("step size")));
  Add(PushButton("calculate").At(100, 178, 100, 30).Caption("calculate").Size(16).Default(),
      &Isochore::calculate_Action);
  Add(Small(EditField("minimum").At(150, 90, 80, 18)));
  Add(Small(EditField("maximum").At(150, 115, 80, 18)));
  Add(Small(EditField("interval").At(150, 140, 80, 18)));
  Add(Small(StaticText("StaticText4").At(240, 90, 25, 18).Text("\u02DAC")));
  Add(Small(StaticText("StaticText5").At(240, 115, 25, 18).Text("\u02DAC")));
  Add(Small(StaticText("StaticText6").At(240, 140, 45, 18).Text("degree")));
  Add(StaticText("MolarVolume").At(20, 20, 100, 20).Text("Molar Volume").Size(14));
  Add(StaticText("StaticText7").At(220, 20, 65, 20).Text("cm /mol").Size(14));
  Add(StaticText("StaticText8").At(240, 16, 16, 20).Text("3").Size(11));
  Add(StaticText("ResultV").At(135, 20, 70, 20));
  Add(StaticText("MolarVolume1").At(20, 50, 100, 20).Text("Density").Size(14));
  Add(StaticText("StaticText9").At(220, 50, 65, 20).Text("g/cm").Size(14));
  Add(StaticText("StaticText10").At(257, 46, 16, 20).Text("3").Size(11));
  Add(StaticText("ResultV1").At(135, 50, 70, 20));
  Add(PushButton("Export").At(185, 435, 60, 20).Caption("export").Size(12), &Isochore::Export_Action);
  OnActivate([this] { Event_Activate(); }, NestedActivation::Drop);
}

void Isochore::Event_Activate() {
  const double V = Globals::MolarVolumes[0];
  const Globals::GasArray x = Globals::fraction;
  Label("ResultV").SetText(ResultText(V));
  // No volume computed yet (0) has no density to show.
  const bool noVolume = V == 0.0 || !std::isfinite(V);
  Label("ResultV1").SetText(noVolume ? "0" : ResultText(Globals::Density(x, V)));
  ListboxControl& list = List("ListBox1");
  list.DeleteAllRows();
  list.SetHeading(0, "Temperature (\u02DAC)");
  list.SetHeading(1, "Pressure (MPa)");
}

void Isochore::MarkFaults(const RangeFaults& faults) {
  if (faults.minimum) Field("minimum").SetText(kPutNumber);
  if (faults.maximum) Field("maximum").SetText(kPutNumber);
  if (faults.interval) Field("interval").SetText(kPutNumber);
}

std::optional<IsochoreRange> Isochore::CheckedRange() {
  IsochoreRange range =
      IsochoreTemperatures(Field("minimum").Text(), Field("maximum").Text(), Field("interval").Text());
  if (range.faults.Any()) {
    MarkFaults(range.faults);
    return std::nullopt;
  }
  return range;
}

void Isochore::calculate_Action() {
  const auto range = CheckedRange();
  if (!range) return;
  const double V = Globals::MolarVolumes[0];
  const Globals::GasArray x = Globals::fraction;
  const std::int32_t model = Globals::Selection;

  ListboxControl& list = List("ListBox1");
  list.DeleteAllRows();
  for (double T : range->kelvins) {
    const double P = IsochorePressure(x, T, V, model);
    list.AddRow(" ");
    list.SetCell(list.LastIndex(), 0, Str(T - kCelsiusOffset));
    list.SetCell(list.LastIndex(), 1, ResultText(P));
    RuntimeBackgroundTask();
    if (IsClosed()) break;  // nobody will see the rest
  }
}

void Isochore::Export_Action() {
  const auto range = CheckedRange();
  if (!range) return;
  const double V = Globals::MolarVolumes[0];
  const Globals::GasArray x = Globals::fraction;
  const std::int32_t model = Globals::Selection;
  if (!std::isfinite(V)) {
    ShowMessage(kExportTitle,
                "The isochore was not exported: its molar volume, which names the file, is not a number.");
    return;
  }

  // A bare name lies in the working directory.
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  const std::filesystem::path target = folder / IsochoreFileName(V);
  auto failed = [&target](const std::string& reason) {
    ShowMessage(kExportTitle, "The isochore could not be written to " + target.string() + " (" + reason +
                                  "). An older file of that name is left as it was.");
  };
  if (error) {
    failed("the working directory is unknown: " + error.message());
    return;
  }

  AtomicTextFile file(target);
  for (const std::string& line : IsochoreHeader(model)) file.WriteLine(ConvertToWindowsAnsi(line));
  for (double T : range->kelvins) {
    if (file.Failed()) break;
    file.WriteLine(ConvertToWindowsAnsi(IsochoreLine(T, IsochorePressure(x, T, V, model))));
    RuntimeBackgroundTask();
  }
  if (!file.Commit()) failed(file.Reason());
}

}  // namespace pvt
