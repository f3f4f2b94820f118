// What the windows tell assistive tools through Qt's accessibility
// interface: roles, checked states and names, as a screen reader reads them.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>

#include "app/setup_windows.h"
#include "core/globals.h"
#include "gui/gui_support.h"
#include "phase/phase_windows.h"
#include "procedures/fugacity/fugacity_windows.h"
#include "procedures/pvt/pvt_windows.h"
#include "procedures/pvt/texts.h"

namespace {

using namespace framework;
using namespace testing_support;

QAccessibleInterface& Accessible(Control& c) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&c.Widget());
  if (iface == nullptr) throw std::runtime_error("no accessible interface for " + c.Name());
  return *iface;
}

std::string Name(Control& c) { return Accessible(c).text(QAccessible::Name).toStdString(); }

using Accessibility = WindowTest;

// (Every radio's role, its checked state after every click, every button's
// caption, every field's and headed list's name being there: all_windows_test.)

// A radio is named by its caption; one without a caption by the text at its
// right: a root by the root it chooses (renamed when a calculation changes
// it), a standard state by its description.
TEST_F(Accessibility, RadiosAreNamedByTheirCaptionOrTheTextAtTheirRight) {
  EXPECT_EQ(Name(shared<app::Start3Window>().Radio("LiquidVapour")), "Liquid-Vapour equilibria");
  SetMixture({{Globals::N2, 1.0}});
  auto& v = shared<pvt::VolumeWindow>();
  EXPECT_EQ(Name(v.Radio("Celsius")), "in \u02DAC");
  Calculate(v, "10", "300");
  auto& a = Calculate(shared<fugacity::ActivityWindow>(), "20", "500");
  EXPECT_EQ(Name(a.Radio("StandardChoice1")), "Pure real gases at selected T and P(ref.)");
  for (int k = 0; k < 3; ++k) {
    const std::string n = std::to_string(k);
    EXPECT_EQ(Name(a.Radio("Choice" + n)), a.Label("TextChoice" + n).Text()) << k;
  }
  const std::string before = Name(v.Radio("Choice0"));
  EXPECT_EQ(before, v.Label("TextChoice0").Text());
  Calculate(v, "20", "300");
  EXPECT_NE(Name(v.Radio("Choice0")), before);
  EXPECT_EQ(Name(v.Radio("Choice0")), v.Label("TextChoice0").Text());
}

// A field is named by the label at its left, also inside a group box; a
// radio that chooses what a field holds names that field, and a label that
// changes with the choice renames the field it stands by.
TEST_F(Accessibility, FieldsAreNamedByWhatStandsOnTheirLeft) {
  const std::pair<Window*, std::vector<std::pair<const char*, const char*>>> windows[] = {
      {&shared<pvt::VolumeWindow>(), {{"dataEntry", "Pressure"}, {"dataEntry1", "Temperature"}}},
      {&shared<pvt::PressureWindow>(), {{"dataEntry", "Molar Volume"}, {"dataEntry1", "Temperature"}}},
      {&shared<pvt::TemperatureWindow>(), {{"dataEntry", "Molar Volume"}, {"dataEntry1", "Pressure"}}},
      {&shared<pvt::Isochore>(),
       {{"minimum", "min. temperature"}, {"maximum", "max. temperature"}, {"interval", "step size"}}},
      {&shared<fugacity::ActivityWindow>(), {{"dataEntry2", "Reference Pressure"}}},
      {&shared<phase::BubbleDewPoint>(),
       {{"dataEntryTh", "Homogenization Temperature"}, {"dataEntryPh", "Homogenization Pressure"},
        {"dataEntry2", "Homogenization Pressure"}}},
  };
  for (const auto& [w, fields] : windows) {
    for (auto [field, name] : fields) EXPECT_EQ(Name(w->Field(field)), name) << field;
  }
  auto& b = shared<phase::BubbleDewPoint>();
  Activate(b);
  ClickThroughWindow(b.Radio("RadioButtonPh"));
  EXPECT_EQ(Name(b.Field("dataEntry2")), "Homogenization Temperature");
  // The composition's fields stand right of pictures of the formulas. The
  // value is what was typed, the name stays.
  auto& fluid = shared<app::Start2Window>();
  for (const std::string& gas : pvt::kGasNames) EXPECT_EQ(Name(fluid.Field(gas + "number")), gas);
  Type(fluid.Field("H2Onumber"), "0.25");
  EXPECT_EQ(Accessible(fluid.Field("H2Onumber")).text(QAccessible::Value).toStdString(), "0.25");
  EXPECT_EQ(Name(fluid.Field("H2Onumber")), "H2O");
}

// A list is a table; each cell says its whole text under its column's heading.
TEST_F(Accessibility, ListsAreNamedAndCellsSayTheirWholeTextUnderTheirHeading) {
  auto& iso = shared<pvt::Isochore>();
  Activate(iso);  // activation writes the headings
  Type(iso.Field("minimum"), "0");
  Type(iso.Field("maximum"), "10");
  Type(iso.Field("interval"), "5");
  iso.Button("calculate").Push();
  auto& list = iso.List("ListBox1");
  ASSERT_EQ(list.ListCount(), 3);
  QAccessibleInterface& a = Accessible(list);
  EXPECT_EQ(a.role(), QAccessible::Table);
  QAccessibleTableInterface* table = a.tableInterface();
  ASSERT_NE(table, nullptr);
  QAccessibleInterface* cell = table->cellAt(2, 1);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->text(QAccessible::Name).toStdString(), list.Cell(2, 1));
  const auto headers = cell->tableCellInterface()->columnHeaderCells();
  ASSERT_EQ(headers.size(), 1);
  EXPECT_EQ(headers.front()->text(QAccessible::Name).toStdString(), "Pressure (MPa)");
  // Lists without headings are named by the label of their row and the one
  // over their column, or the one over them alone.
  auto& phase = shared<phase::LiquidVapourEq>();
  EXPECT_EQ(Name(phase.List("ListBoxPhaseY")), "Phase Y");
  EXPECT_EQ(Name(phase.List("ListBoxVmX")), "Molar Volume, Phase X");
  EXPECT_EQ(Name(phase.List("ListBoxPhaseY2")), "Fugacity (MPa), Phase Y");
}

// A window of its own, for names that change and names set by code.
class NamingProbe : public Window {
 protected:
  void Layout() override { Apply(WindowSpec().Title("Naming").Content(300, 120)); }
  void CreateControls() override {
    Add(StaticText("Caption").At(10, 10, 90, 20).Text("Pressure"));
    Add(EditField("Entry").At(100, 8, 80, 24));
    Add(StaticText("Unit").At(185, 10, 40, 20).Text("MPa"));
    Add(EditField("Below").At(100, 60, 80, 24));  // nothing at its left
    Add(EditField("Own").At(100, 90, 80, 24));
    Add(StaticText("OwnCaption").At(10, 92, 80, 20).Text("Volume"));
  }
};

TEST_F(Accessibility, NamesFollowTheirLabelsAndKeepWhatCodeSet) {
  auto& w = shared<NamingProbe>();
  EXPECT_EQ(Name(w.Field("Entry")), "Pressure");  // not the unit at its right
  EXPECT_EQ(Name(w.Field("Below")), "");
  EXPECT_EQ(Name(w.Field("Own")), "Volume");  // the label made after the field
  w.Label("Caption").SetText("Temperature");
  EXPECT_EQ(Name(w.Field("Entry")), "Temperature");
  w.Field("Own").setAccessibleName("Molar volume of the mixture");
  w.Label("OwnCaption").SetText("V");
  EXPECT_EQ(Name(w.Field("Own")), "Molar volume of the mixture");
  w.Label("Caption").SetText("");
  EXPECT_EQ(Name(w.Field("Entry")), "");
}

}  // namespace
