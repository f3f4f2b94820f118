#include "core/globals.h"
#include "framework/runtime.h"
#include "procedures/fugacity/fugacity_windows.h"
#include "procedures/pvt/procedure_frame.h"

namespace fugacity {

using namespace framework;
using pvt::ResultText;

namespace {

// Written into the reference-pressure field when standard state 0, which
// needs none, is chosen.
const char* const kNoEntry = "  no entry  ";

// Everything but the scroll bar moves with the content rectangle.
Spec Inside(Spec s, const char* container = "Rectangle1") { return s.Parent(container); }

}  // namespace

ActivityWindow::ActivityWindow()
    : RootPanelWindow({{"dataEntry2", "Result", "ListBox1"}, pvt::RootTest::None, pvt::EmptyResults::AfterRows}) {}

void ActivityWindow::Layout() {
  Apply(WindowSpec()
            .Title("Activities")
            .Content(480, 700)
            .Set("MinWidth", 480)
            .Set("MaxWidth", 480)
            .Set("MinHeight", 400)
            .Set("MaxHeight", kContentHeight)
            .Resizeable()
            .Placement(2));
}

void ActivityWindow::CreateControls() {
  Add(Rectangle("Rectangle1").At(0, 0, 465, kContentHeight).Border(0).Fill(kWhite));
  Add(Inside(StaticText("Pressure").At(20, 20, 130, 25).Text("Pressure").Size(16)));
  Add(Inside(StaticText("Temperature").At(20, 60, 130, 25).Text("Temperature").Size(16)));
  Add(Inside(EditField("dataEntry").At(155, 20, 120, 25).Size(16)));
  Add(Inside(EditField("dataEntry1").At(155, 60, 120, 25).Size(16)));
  Add(Inside(PushButton("calculate").At(110, 120, 230, 30).Caption("calculate molar volume").Size(18).Default()),
      &ActivityWindow::calculate_Action);
  Add(Inside(RootText(0).At(140, 200, 200, 20)));
  Add(Inside(StaticText("StaticText3").At(285, 60, 80, 25).Text(pvt::kKelvinText).Size(16)));
  Add(Inside(StaticText("StaticText4").At(285, 20, 80, 25).Text("MPa").Size(16)));
  Add(Inside(pvt::KelvinRadio().At(377, 67, 56, 20)), &ActivityWindow::Kelvin_Action);
  Add(Inside(pvt::CelsiusRadio().At(377, 88, 56, 20)), &ActivityWindow::Celsius_Action);
  Add(Inside(RootRadio(0).At(115, 200, 20, 20)), &ActivityWindow::Choice0_Action);
  Add(Inside(RootRadio(2).At(115, 250, 20, 20)), &ActivityWindow::Choice2_Action);
  Add(Inside(RootRadio(1).At(115, 225, 20, 20)), &ActivityWindow::Choice1_Action);
  Add(Inside(GroupBox("GroupBox1").At(370, 60, 70, 54)));
  Add(Inside(RootGroup().At(100, 170, 260, 110)));
  Add(Inside(RootText(1).At(140, 225, 200, 20), "GroupBox2"));
  Add(Inside(RootText(2).At(140, 250, 200, 20), "GroupBox2"));
  Add(Inside(GroupBox("GroupBox3").At(20, 610, 420, 170).Caption("Activities").Size(18)));
  Add(Inside(Listbox("ListBox1").At(34, 645, 390, 120).Size(14).Italic().Set("ColumnCount", 3)
                 .Set("ColumnWidths", std::string("20%, 40%, 40%")).Set("HasHeading", true)
                 .Set("GridLinesVertical", 3),
             "GroupBox3"));
  Add(Inside(GroupBox("GroupBox4").At(65, 380, 330, 210).Caption("select standard state conditions").Size(16)
                 .Italic()));
  Add(Inside(RadioButton("StandardChoice0").At(80, 413, 20, 20), "GroupBox4"),
      &ActivityWindow::StandardChoice0_Action);
  Add(Inside(RadioButton("StandardChoice2").At(80, 464, 20, 20), "GroupBox4"),
      &ActivityWindow::StandardChoice2_Action);
  Add(Inside(RadioButton("StandardChoice1").At(80, 439, 20, 20), "GroupBox4"),
      &ActivityWindow::StandardChoice1_Action);
  Add(Inside(StaticText("StandardText1").At(105, 439, 280, 20).Text("Pure real gases at selected T and P(ref.)")
                 .Size(14),
             "GroupBox4"));
  Add(Inside(StaticText("StandardText2").At(105, 464, 280, 20).Text("Pure ideal gases at selected T and P(ref.)")
                 .Size(14),
             "GroupBox4"));
  Add(Inside(StaticText("StandardText0").At(105, 414, 280, 20).Text("Pure real gases at selected T and P").Size(14),
             "GroupBox4"));
  Add(Inside(StaticText("StaticText9").At(350, 510, 35, 20).Text("MPa").Size(14), "GroupBox4"));
  Add(Inside(StaticText("PressureRef").At(80, 510, 140, 20).Text("Reference Pressure").Size(14), "GroupBox4"));
  Add(Inside(EditField("dataEntry2").At(220, 508, 120, 25).Size(14), "GroupBox4"));
  Add(Inside(PushButton("PushButton1").At(190, 550, 75, 25).Caption("continue").Size(12).Default(), "GroupBox4"),
      &ActivityWindow::PushButton1_Action);
  Add(Inside(RoundRectangle("RoundRectangle1").At(20, 325, 420, 35).Oval(16, 16).Border(1).Fill(kWhite)));
  Add(Inside(StaticText("Result").At(190, 330, 120, 25).Size(16), "RoundRectangle1"));
  Add(Inside(StaticText("StaticText5").At(330, 330, 75, 25).Text("cm /mol").Size(16), "RoundRectangle1"));
  Add(Inside(StaticText("StaticText10").At(352, 329, 16, 20).Text("3").Size(12), "RoundRectangle1"));
  Add(Inside(StaticText("MolarVolume").At(30, 330, 140, 25).Text("Molar Volume").Size(16), "RoundRectangle1"));
  Add(Inside(ClearButton().At(390, 20, 50, 20)), &ActivityWindow::Clear_Action);
  Add(ScrollBar("ScrollBar1").At(465, 0, 15, 685).Range(0, 100).Steps(1, 700), &ActivityWindow::ScrollBar1_ValueChanged);
  Add(Inside(Footnote("StaticText1").At(245, 285, 195, 30)));
  OnActivate([this] { Event_Activate(); });
  OnResizing([this] { Event_Resizing(); });
}

void ActivityWindow::ShowRoot(const pvt::ChosenRoot& root) { Label("Result").SetText(ResultText(root.V)); }

void ActivityWindow::SwitchOffLaterChoices() {
  Radio("StandardChoice0").SetValue(false);
  Radio("StandardChoice1").SetValue(false);
  Radio("StandardChoice2").SetValue(false);
}

// Choosing a state wipes a typed reference pressure: it is typed for the
// state it belongs to.
void ActivityWindow::StandardChoice0_Action() {
  if (!Radio("StandardChoice0").Value()) return;
  NextGeneration();
  Field("dataEntry2").SetText(kNoEntry);
}

void ActivityWindow::StandardChoice2_Action() {
  if (!Radio("StandardChoice2").Value()) return;
  NextGeneration();
  Field("dataEntry2").SetText("");
}

void ActivityWindow::StandardChoice1_Action() {
  if (!Radio("StandardChoice1").Value()) return;
  NextGeneration();
  Field("dataEntry2").SetText("");
}

std::optional<StandardState> ActivityWindow::ChosenState() const {
  if (Radio("StandardChoice0").Value()) return StandardState::PureRealAtP;
  if (Radio("StandardChoice1").Value()) return StandardState::PureRealAtPref;
  if (Radio("StandardChoice2").Value()) return StandardState::PureIdealAtPref;
  return std::nullopt;
}

void ActivityWindow::PushButton1_Action() {
  NextGeneration();
  const unsigned generation = Generation();
  ListboxControl& list = List("ListBox1");
  list.DeleteAllRows();
  // The root as shown, digits and all.
  const double Vm = Val(Label("Result").Text());

  // Without a standard state there is nothing to list.
  const auto state = ChosenState();
  if (!state) return;
  double Pref = 0.0;
  if (*state != StandardState::PureRealAtP) {
    const std::string typed = Field("dataEntry2").Text();
    if (!IsReferencePressure(typed)) {
      Field("dataEntry2").SetText(pvt::kPutNumber);
      return;
    }
    Pref = Val(typed);
  }

  const double T = Globals::TempKelvin, P = Globals::PresMPa;
  const Globals::GasArray x = Globals::fraction;
  const std::int32_t model = Globals::Selection;
  const auto rows = ActivityRows(x, T, P, Vm, model, *state, Pref);
  if (Generation() != generation) return;
  ListRows(list, rows);
}

void ActivityWindow::ScrollBar1_ValueChanged() { pvt::ScrollContent(*this); }

void ActivityWindow::Event_Activate() {
  ListboxControl& list = List("ListBox1");
  list.SetHeading(0, "gas");
  list.SetHeading(1, "activity");
  list.SetHeading(2, "coefficient");
}

void ActivityWindow::Event_Resizing() { pvt::FitScrollBar(*this, kContentHeight); }

}  // namespace fugacity
