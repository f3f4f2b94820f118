#include "pictures/pictures.h"
#include "core/globals.h"
#include "framework/runtime.h"
#include "phase/phase.h"
#include "phase/phase_windows.h"
#include "phase/window_parts.h"
#include "procedures/pvt/procedure_frame.h"

namespace phase {

using namespace framework;

namespace {

constexpr int kContentHeight = 925;

const std::string kPressureText = "Homogenization Pressure";
const std::string kTemperatureText = "Homogenization Temperature";

Spec Caption16(Spec s) { return s.Size(16).Italic(); }

// The lists that hold the results of a search, in the order they are emptied.
const char* const kResultLists[] = {"ListBoxVmX", "ListBoxDX", "ListBoxPhaseX1", "ListBoxPhaseX2",
                                    "ListBoxVmY", "ListBoxDY", "ListBoxPhaseY1", "ListBoxPhaseY2"};

}  // namespace

BubbleDewPoint::BubbleDewPoint() : PhaseWindow(kContentHeight) {}

void BubbleDewPoint::Layout() {
  Apply(WindowSpec()
            .Title("Bubble-Dew point")
            .Content(635, 700)
            .Placement(2)
            .Resizeable()
            .Set("MinWidth", 635)
            .Set("MaxWidth", 635)
            .Set("MinHeight", 400)
            .Set("MaxHeight", kContentHeight));
}

void BubbleDewPoint::CreateControls() {
  using W = BubbleDewPoint;
  Add(Rectangle("Rectangle1").At(0, 0, 620, kContentHeight).Fill(kWhite).Border(0));
  Add(Caption16(GroupBox("GroupBox6").At(20, 15, 480, 130).Parent("Rectangle1").Caption("Select")));
  Add(RadioButton("RadioButtonTh").At(35, 45, 260, 25).Parent("GroupBox6").Caption(kTemperatureText)
          .Size(16).On(),
      &W::RadioButtonTh_Action);
  Add(EditField("dataEntryTh").At(305, 45, 100, 25).Parent("GroupBox6").Size(16));
  Add(StaticText("StaticText3").At(415, 45, 70, 25).Parent("GroupBox6").Text(pvt::kKelvinText).Size(16));
  Add(RadioButton("RadioButtonPh").At(35, 105, 260, 25).Parent("GroupBox6").Caption(kPressureText)
          .Size(16),
      &W::RadioButtonPh_Action);
  Add(EditField("dataEntryPh").At(305, 105, 100, 25).Parent("GroupBox6").Size(16));
  Add(StaticText("StaticText4").At(415, 105, 70, 25).Parent("GroupBox6").Text("MPa").Size(16));
  Add(PushButton("calculate").At(250, 500, 100, 30).Parent("Rectangle1").Caption("calculate").Size(18)
          .Default(),
      &W::calculate_Action);
  Add(pvt::KelvinRadio().At(527, 72, 56, 20).Parent("Rectangle1"), &W::Kelvin_Action);
  Add(pvt::CelsiusRadio().At(527, 93, 56, 20).Parent("Rectangle1"), &W::Celsius_Action);
  Add(GroupBox("GroupBox1").At(520, 65, 70, 54).Parent("Rectangle1"));
  Add(Caption16(GroupBox("GroupBox7").At(20, 155, 270, 85).Parent("Rectangle1").Caption("Mode")));
  Add(RadioButton("Vapour1").At(28, 183, 110, 25).Parent("GroupBox7").Caption(" Vapour").Size(16),
      &W::Vapour1_Action);
  Add(RadioButton("Liquid1").At(28, 206, 110, 25).Parent("GroupBox7").Caption(" Liquid").Size(16),
      &W::Liquid1_Action);
  Add(ImageWell("ImageWell3").At(155, 185, 120, 45).Parent("GroupBox7").Hidden(), pictures::Liquid());
  Add(ImageWell("ImageWell4").At(155, 185, 120, 45).Parent("GroupBox7").Hidden(), pictures::Vapour());
  Add(StaticText("MolarVolume").At(20, 605, 120, 25).Parent("Rectangle1").Text("Molar Volume").Size(16));
  Add(StaticText("Compositions").At(20, 685, 110, 25).Parent("Rectangle1").Text("Composition").Size(16));
  Add(StaticText("PhaseX1").At(165, 580, 190, 20).Parent("Rectangle1").Text(kPhaseX).Size(14));
  Add(StaticText("PhaseY1").At(390, 580, 190, 20).Parent("Rectangle1").Text(kPhaseY).Size(14));
  Add(Caption16(GroupBox("GroupBox5").At(20, 280, 560, 190).Parent("Rectangle1").Caption("First Approach")));
  Add(StaticText("Homogen").At(30, 315, 210, 20).Parent("GroupBox5").Text(kPressureText).Size(14));
  Add(EditField("dataEntry2").At(250, 315, 120, 20).Parent("GroupBox5").Size(14));
  Add(StaticText("Composition").At(30, 355, 90, 20).Parent("GroupBox5").Text("Composition").Size(14));
  Add(StaticText("PhaseX").At(150, 355, 60, 20).Parent("GroupBox5").Text(kPhaseX).Size(14));
  Add(StaticText("PhaseY").At(370, 355, 60, 20).Parent("GroupBox5").Text(kPhaseY).Size(14));
  Add(TwoColumnList("ListBoxPhaseX").At(150, 375, 190, 80).Parent("GroupBox5"));
  Add(TwoColumnList("ListBoxPhaseY").At(370, 375, 190, 80).Parent("GroupBox5"));
  Add(StaticText("Dimension").At(380, 315, 50, 20).Parent("GroupBox5").Text("MPa").Size(14));
  Add(StaticText("Homogen2").At(20, 545, 240, 25).Parent("Rectangle1").Text(kPressureText).Size(16));
  Add(StaticText("Answer").At(270, 545, 120, 25).Parent("Rectangle1").Size(16));
  Add(StaticText("Dimension2").At(400, 545, 70, 25).Parent("Rectangle1").Text("MPa").Size(16));
  Add(OneColumnList("ListBoxVmX").At(165, 605, 190, 25).Parent("Rectangle1"));
  Add(OneColumnList("ListBoxVmY").At(390, 605, 190, 25).Parent("Rectangle1"));
  Add(TwoColumnList("ListBoxPhaseX1").At(165, 685, 190, 80).Parent("Rectangle1"));
  Add(TwoColumnList("ListBoxPhaseY1").At(390, 685, 190, 80).Parent("Rectangle1"));
  Add(StaticText("Fugacity").At(20, 775, 125, 25).Parent("Rectangle1").Text("Fugacity (MPa)").Size(16));
  Add(TwoColumnList("ListBoxPhaseX2").At(165, 775, 190, 80).Parent("Rectangle1"));
  Add(TwoColumnList("ListBoxPhaseY2").At(390, 775, 190, 80).Parent("Rectangle1"));
  Add(PushButton("FirstApproach").At(205, 255, 170, 25).Parent("Rectangle1")
          .Caption("calculate first approach").Size(12),
      &W::FirstApproach_Action);
  Add(RoundRectangle("RoundRectangle1").At(20, 875, 560, 25).Parent("Rectangle1").Fill(kWhite).Border(1)
          .Oval(16, 16));
  Add(StaticText("ResultText").At(30, 878, 540, 19).Parent("RoundRectangle1").Size(14));
  Add(StaticText("Density").At(20, 645, 120, 25).Parent("Rectangle1").Text("Density").Size(16));
  Add(OneColumnList("ListBoxDX").At(165, 645, 190, 25).Parent("Rectangle1"));
  Add(OneColumnList("ListBoxDY").At(390, 645, 190, 25).Parent("Rectangle1"));
  Add(StaticText("StaticText5").At(290, 470, 290, 15).Parent("Rectangle1")
          .Text("* The values in \"First Approach\" can be manually changed").Size(10).Multiline());
  Add(PushButton("Clear").At(550, 20, 50, 20).Parent("Rectangle1").Caption("clear").Size(10),
      &W::Clear_Action);
  Add(ScrollBar("ScrollBar1").At(620, 0, 15, 685).Range(0, kContentHeight - 700).Steps(1, 700),
      &W::ScrollBar1_ValueChanged);

  BindCellClick("ListBoxPhaseX", &W::ListBoxPhaseX_CellClick);
  BindCellTextChange("ListBoxPhaseX", &W::ListBoxPhaseX_CellTextChange);
  BindCellClick("ListBoxPhaseY", &W::ListBoxPhaseY_CellClick);
  BindCellTextChange("ListBoxPhaseY", &W::ListBoxPhaseY_CellTextChange);
  OnResizing([this] { Event_Resizing(); });
}

void BubbleDewPoint::RadioButtonTh_Action() {
  if (!Radio("RadioButtonTh").Value()) return;
  Field("dataEntryPh").SetText("");
  Label("Homogen").SetText(kPressureText);
  Label("Homogen2").SetText(kPressureText);
  Label("Dimension").SetText("MPa");
  Label("Dimension2").SetText("MPa");
}

void BubbleDewPoint::RadioButtonPh_Action() {
  if (!Radio("RadioButtonPh").Value()) return;
  Field("dataEntryTh").SetText("");
  // The sought temperature, its guess and the result are always in kelvin.
  Label("Homogen").SetText(kTemperatureText);
  Label("Homogen2").SetText(kTemperatureText);
  Label("Dimension").SetText(pvt::kKelvinText);
  Label("Dimension2").SetText(pvt::kKelvinText);
}

void BubbleDewPoint::Vapour1_Action() {
  if (Radio("Vapour1").Value()) {
    PictureAt("ImageWell4").SetVisible(true);
    PictureAt("ImageWell3").SetVisible(false);
  } else {
    PictureAt("ImageWell4").SetVisible(false);
  }
}

void BubbleDewPoint::Liquid1_Action() {
  if (Radio("Liquid1").Value()) {
    PictureAt("ImageWell3").SetVisible(true);
    PictureAt("ImageWell4").SetVisible(false);
  } else {
    PictureAt("ImageWell3").SetVisible(false);
  }
}

void BubbleDewPoint::FirstApproach_Action() {
  Label("ResultText").SetText("");
  std::int32_t mode = 0;
  if (Radio("Liquid1").Value()) mode = 0;
  if (Radio("Vapour1").Value()) mode = 1;
  Label("PhaseX1").SetText(kPhaseX);
  Label("PhaseY1").SetText(kPhaseY);

  const bool temperatureGiven = Radio("RadioButtonTh").Value();
  const double T = pvt::TypedKelvin(*this, Globals::TempKelvin, "dataEntryTh");
  const double P = Val(Field("dataEntryPh").Text());
  const HomogenisationStart start = HomogenisationFirstApproach(Globals::fraction, temperatureGiven, T, P, mode);
  Globals::StoreTempKelvin(start.T);
  Globals::PresMPa = start.P;
  approachT_ = start.T;
  approachP_ = start.P;
  pvt::ShowInField(*this, "dataEntry2", Shown(start.guess));
  Globals::K_liq_vap = start.K;
  Globals::xgas = start.x;
  Globals::ygas = start.y;

  FillFirstApproachLists(*this);
  for (const char* list : kResultLists) EmptyList(*this, list);
  Label("ResultText").SetText("");
  Label("Answer").SetText("");
}

void BubbleDewPoint::calculate_Action() {
  // Everything the search depends on is read once, now: radios switched
  // during the search change nothing of it, labels included.
  HomogenisationInput in;
  in.pressureSought = Radio("RadioButtonTh").Value();
  in.given = in.pressureSought ? approachT_ : approachP_;
  in.guess = Val(Field("dataEntry2").Text());
  if (Radio("Liquid1").Value()) in.mode = Mode::Liquid;
  if (Radio("Vapour1").Value()) in.mode = Mode::Vapour;
  in.z = Globals::fraction;
  in.x = Globals::xgas;
  in.y = Globals::ygas;
  in.K = Globals::K_liq_vap;
  in.model = Globals::Selection;
  Label("PhaseX1").SetText(kPhaseX);
  Label("PhaseY1").SetText(kPhaseY);

  const HomogenisationResult r = SolveHomogenisation(in);
  Globals::K_liq_vap = r.K;
  Globals::xgas = r.x;
  Globals::ygas = r.y;

  Label("Answer").SetText(Shown(r.answer));
  ShowSingle(*this, "ListBoxVmX", Shown(r.Vx));
  ShowSingle(*this, "ListBoxDX", Shown(r.densityX));
  ShowSingle(*this, "ListBoxVmY", Shown(r.Vy));
  ShowSingle(*this, "ListBoxDY", Shown(r.densityY));
  for (const char* list : {"ListBoxPhaseX1", "ListBoxPhaseY1", "ListBoxPhaseX2", "ListBoxPhaseY2"}) {
    EmptyList(*this, list);
  }
  ShowPerGas(*this, "ListBoxPhaseX1", in.z, r.x);
  ShowPerGas(*this, "ListBoxPhaseY1", in.z, r.y);
  ShowPerGas(*this, "ListBoxPhaseX2", in.z, r.fugacityX);
  ShowPerGas(*this, "ListBoxPhaseY2", in.z, r.fugacityY);
  Label("ResultText").SetText(r.message);
  Label("PhaseX1").SetText(r.labelX);
  Label("PhaseY1").SetText(r.labelY);
}

void BubbleDewPoint::Clear_Action() {
  Field("dataEntryTh").SetText("");
  Field("dataEntryPh").SetText("");
  Field("dataEntry2").SetText("");
  Label("Answer").SetText("");
  Label("ResultText").SetText("");
  Radio("Liquid1").SetValue(false);
  Radio("Vapour1").SetValue(false);
  PictureAt("ImageWell3").SetVisible(false);
  PictureAt("ImageWell4").SetVisible(false);
  for (const char* list : {"ListBoxVmX", "ListBoxDX", "ListBoxPhaseX", "ListBoxPhaseX1", "ListBoxPhaseX2",
                           "ListBoxVmY", "ListBoxDY", "ListBoxPhaseY", "ListBoxPhaseY1", "ListBoxPhaseY2"}) {
    EmptyList(*this, list);
  }
}

}  // namespace phase
