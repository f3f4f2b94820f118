#include "core/globals.h"
#include "framework/runtime.h"
#include "phase/phase.h"
#include "phase/phase_windows.h"
#include "phase/window_parts.h"
#include "procedures/pvt/procedure_frame.h"

namespace phase {

using namespace framework;

namespace {

constexpr int kContentHeight = 835;

Spec Label14(const std::string& name, const std::string& text) { return StaticText(name).Text(text).Size(14); }
Spec Label16(const std::string& name, const std::string& text) { return StaticText(name).Text(text).Size(16); }

}  // namespace

LiquidVapourEq::LiquidVapourEq() : PhaseWindow(kContentHeight) {}

void LiquidVapourEq::Layout() {
  Apply(WindowSpec()
            .Title("Liquid-Vapour Equilibrium")
            .Content(615, 700)
            .Placement(2)
            .Resizeable()
            .Set("MinWidth", 615)
            .Set("MaxWidth", 615)
            .Set("MinHeight", 64)
            .Set("MaxHeight", kContentHeight));
}

void LiquidVapourEq::CreateControls() {
  using W = LiquidVapourEq;
  Add(Rectangle("Rectangle1").At(0, 0, 600, kContentHeight).Fill(kWhite).Border(0));
  Add(PushButton("calculate").At(250, 395, 100, 30).Parent("Rectangle1").Caption("calculate").Size(18)
          .Default(),
      &W::calculate_Action);
  Add(Label16("MolarVolume", "Molar Volume").At(20, 535, 150, 25).Parent("Rectangle1"));
  Add(Label16("Compositions", "Composition").At(20, 605, 150, 25).Parent("Rectangle1"));
  Add(Label14("PhaseX1", kPhaseX).At(180, 475, 60, 20).Parent("Rectangle1"));
  Add(Label14("PhaseY1", kPhaseY).At(390, 475, 60, 20).Parent("Rectangle1"));
  Add(GroupBox("FirstApproach").At(20, 155, 560, 215).Parent("Rectangle1").Caption("First Approach").Size(16)
          .Italic());
  Add(Label14("Pstart", "Pressure").At(30, 190, 190, 20).Parent("FirstApproach"));
  Add(EditField("dataEntry2").At(265, 190, 100, 20).Parent("FirstApproach").Size(14));
  Add(Label14("Composition", "Composition").At(30, 258, 100, 20).Parent("FirstApproach"));
  Add(Label14("PhaseX", kPhaseX).At(150, 258, 60, 20).Parent("FirstApproach"));
  Add(Label14("PhaseY", kPhaseY).At(370, 258, 60, 20).Parent("FirstApproach"));
  Add(TwoColumnList("ListBoxPhaseX").At(150, 278, 190, 80).Parent("FirstApproach"));
  Add(TwoColumnList("ListBoxPhaseY").At(370, 278, 190, 80).Parent("FirstApproach"));
  Add(Label14("Dimension", "MPa").At(375, 190, 50, 20).Parent("FirstApproach"));
  Add(Label14("FracStart", "Volume fraction of vapour phase").At(30, 222, 230, 20).Parent("FirstApproach"));
  Add(EditField("dataEntry3").At(265, 222, 100, 20).Parent("FirstApproach").Size(14));
  Add(Label16("ResultPressure", "Pressure").At(20, 440, 100, 25).Parent("Rectangle1"));
  Add(StaticText("Answer").At(134, 440, 120, 25).Parent("Rectangle1").Size(16));
  Add(Label16("Dimension2", "MPa").At(264, 440, 70, 25).Parent("Rectangle1"));
  Add(OneColumnList("ListBoxVmX").At(180, 535, 190, 25).Parent("Rectangle1"));
  Add(OneColumnList("ListBoxVmY").At(390, 535, 190, 25).Parent("Rectangle1"));
  Add(TwoColumnList("ListBoxPhaseX1").At(180, 605, 190, 80).Parent("Rectangle1"));
  Add(TwoColumnList("ListBoxPhaseY1").At(390, 605, 190, 80).Parent("Rectangle1"));
  Add(Label16("Fugacity", "Fugacity (MPa)").At(20, 695, 150, 25).Parent("Rectangle1"));
  Add(TwoColumnList("ListBoxPhaseX2").At(180, 695, 190, 80).Parent("Rectangle1"));
  Add(TwoColumnList("ListBoxPhaseY2").At(390, 695, 190, 80).Parent("Rectangle1"));
  Add(Label16("MolarVolume1", "Molar Volume").At(20, 20, 130, 25).Parent("Rectangle1"));
  Add(Label16("Temperature", "Temperature").At(20, 60, 130, 25).Parent("Rectangle1"));
  Add(pvt::KelvinRadio().At(375, 67, 56, 20).Parent("Rectangle1"), &W::Kelvin_Action);
  Add(pvt::CelsiusRadio().At(375, 88, 56, 20).Parent("Rectangle1"), &W::Celsius_Action);
  Add(GroupBox("GroupBox1").At(368, 60, 70, 54).Parent("Rectangle1"));
  Add(EditField("dataEntry").At(155, 20, 120, 25).Parent("Rectangle1").Size(16));
  Add(EditField("dataEntry1").At(155, 60, 120, 25).Parent("Rectangle1").Size(16));
  Add(Label16("StaticText1", "cm /mol").At(285, 20, 80, 25).Parent("Rectangle1"));
  Add(StaticText("StaticText2").At(307, 19, 16, 20).Parent("Rectangle1").Text("3").Size(12));
  Add(Label16("StaticText3", pvt::kKelvinText).At(285, 60, 80, 25).Parent("Rectangle1"));
  Add(Label16("ResultFraction", "Volume Fraction").At(20, 500, 150, 25).Parent("Rectangle1"));
  Add(OneColumnList("ListBoxFracX").At(180, 500, 190, 25).Parent("Rectangle1"));
  Add(OneColumnList("ListBoxFracY").At(390, 500, 190, 25).Parent("Rectangle1"));
  Add(PushButton("CalFirstApproach").At(205, 130, 160, 20).Parent("Rectangle1")
          .Caption("calculate first approach").Size(12),
      &W::CalFirstApproach_Action);
  Add(RoundRectangle("RoundRectangle1").At(20, 790, 560, 25).Parent("Rectangle1").Fill(kWhite).Border(1)
          .Oval(16, 16));
  Add(StaticText("ResultText").At(30, 793, 540, 19).Parent("RoundRectangle1").Size(14));
  Add(Label16("Density", "Density").At(20, 570, 150, 25).Parent("Rectangle1"));
  Add(OneColumnList("ListBoxDX").At(180, 570, 190, 25).Parent("Rectangle1"));
  Add(OneColumnList("ListBoxDY").At(390, 570, 190, 25).Parent("Rectangle1"));
  Add(StaticText("StaticText4").At(290, 370, 290, 15).Parent("Rectangle1")
          .Text("* The values in \"First Approach\" can be manually changed").Size(10).Multiline());
  Add(PushButton("Clear").At(530, 20, 50, 20).Parent("Rectangle1").Caption("clear").Size(10),
      &W::Clear_Action);
  Add(ScrollBar("ScrollBar1").At(600, 0, 15, 685).Range(0, kContentHeight - 700).Steps(1, 700),
      &W::ScrollBar1_ValueChanged);

  BindCellClick("ListBoxPhaseX", &W::ListBoxPhaseX_CellClick);
  BindCellTextChange("ListBoxPhaseX", &W::ListBoxPhaseX_CellTextChange);
  BindCellClick("ListBoxPhaseY", &W::ListBoxPhaseY_CellClick);
  BindCellTextChange("ListBoxPhaseY", &W::ListBoxPhaseY_CellTextChange);
  OnResizing([this] { Event_Resizing(); });
}

void LiquidVapourEq::CalFirstApproach_Action() {
  Label("ResultText").SetText("");
  Globals::StoreTempKelvin(pvt::TypedKelvin(*this, Globals::TempKelvin));
  const LiquidVapourStart start = LiquidVapourFirstApproach(Globals::fraction, Globals::TempKelvin);
  Field("dataEntry3").SetText(Str(start.fraction));
  Globals::PresMPa = start.P;
  pvt::ShowInField(*this, "dataEntry2", Shown(start.P));
  Globals::K_liq_vap = start.K;
  Globals::xgas = start.x;
  Globals::ygas = start.y;

  FillFirstApproachLists(*this);
  Label("Answer").SetText("");
  for (const char* list : {"ListBoxVmX", "ListBoxDX", "ListBoxFracX", "ListBoxPhaseX1", "ListBoxPhaseX2",
                           "ListBoxVmY", "ListBoxDY", "ListBoxFracY", "ListBoxPhaseY1", "ListBoxPhaseY2"}) {
    EmptyList(*this, list);
  }
}

void LiquidVapourEq::calculate_Action() {
  LiquidVapourInput in;
  in.z = Globals::fraction;
  in.V = Val(Field("dataEntry").Text());
  in.T = pvt::TypedKelvin(*this, 0.0);
  in.P0 = Val(Field("dataEntry2").Text());
  in.fraction0 = Val(Field("dataEntry3").Text());
  in.K = Globals::K_liq_vap;
  in.model = Globals::Selection;

  const LiquidVapourResult r = SolveLiquidVapour(in);
  Globals::K_liq_vap = r.K;

  Label("Answer").SetText(Shown(r.P));
  ShowSingle(*this, "ListBoxFracX", Shown(r.fractionX));
  ShowSingle(*this, "ListBoxFracY", Shown(r.fractionY));
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
}

void LiquidVapourEq::Clear_Action() {
  for (const char* field : {"dataEntry", "dataEntry1", "dataEntry2", "dataEntry3"}) Field(field).SetText("");
  Label("Answer").SetText("");
  Label("ResultText").SetText("");
  for (const char* list : {"ListBoxVmX", "ListBoxDX", "ListBoxFracX", "ListBoxPhaseX", "ListBoxPhaseX1",
                           "ListBoxPhaseX2", "ListBoxVmY", "ListBoxDY", "ListBoxFracY", "ListBoxPhaseY",
                           "ListBoxPhaseY1", "ListBoxPhaseY2"}) {
    EmptyList(*this, list);
  }
}

}  // namespace phase
