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

namespace {

using namespace framework;
using namespace testing_support;

QAccessibleInterface& Accessible(Control& c) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&c.Widget());
  if (iface == nullptr) throw std::runtime_error("no accessible interface for " + c.Name());
  return *iface;
}

std::string Name(Control& c) { return Accessible(c).text(QAccessible::Name).toStdString(); }

// The radios of a window that report themselves as checked.
std::vector<std::string> Checked(Window& w) {
  std::vector<std::string> on;
  for (Control* c : w.Controls()) {
    if (c->Kind() == ObjectKind::RadioButton && Accessible(*c).state().checked) on.push_back(c->Name());
  }
  return on;
}

class Accessibility : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseAllWindows();
    Globals::InitProperties();
  }
  void TearDown() override { CloseAllWindows(); }
};

TEST_F(Accessibility, TheProcedureListIsOneGroupOfRadioButtons) {
  auto& list = shared<app::Start3Window>();
  int radios = 0;
  for (Control* c : list.Controls()) {
    if (c->Kind() != ObjectKind::RadioButton) continue;
    ++radios;
    QAccessibleInterface& a = Accessible(*c);
    EXPECT_EQ(a.role(), QAccessible::RadioButton) << c->Name();
    EXPECT_TRUE(a.state().checkable) << c->Name();
    EXPECT_FALSE(a.state().checked) << c->Name();
  }
  EXPECT_EQ(radios, 15);
  EXPECT_EQ(Name(list.Radio("LiquidVapour")), "Liquid-Vapour equilibria");
  ClickThroughWindow(list.Radio("Spinodal"));
  EXPECT_EQ(Checked(list), std::vector<std::string>{"Spinodal"});
  ClickThroughWindow(list.Radio("Entropy"));
  EXPECT_EQ(Checked(list), std::vector<std::string>{"Entropy"});
  // The role changes nothing of the grouping: one radio on at a time, and
  // code can still turn the one that is on off.
  list.Radio("Entropy").SetValue(false);
  EXPECT_TRUE(Checked(list).empty());
}

TEST_F(Accessibility, UnitAndRootRadiosReportTheirGroupsState) {
  Globals::fraction = {};
  Globals::fraction[Globals::N2] = 1.0;
  auto& v = shared<pvt::VolumeWindow>();
  for (const char* name : {"Kelvin", "Celsius", "Choice0", "Choice1", "Choice2"}) {
    EXPECT_EQ(Accessible(v.Radio(name)).role(), QAccessible::RadioButton) << name;
  }
  EXPECT_EQ(Name(v.Radio("Celsius")), "in \u02DAC");
  EXPECT_EQ(Checked(v), std::vector<std::string>{"Kelvin"});
  ClickThroughWindow(v.Radio("Celsius"));
  EXPECT_EQ(Checked(v), std::vector<std::string>{"Celsius"});
  Type(v.Field("dataEntry"), "10");
  Type(v.Field("dataEntry1"), "300");
  v.Button("calculate").Push();
  ClickThroughWindow(v.Radio("Choice0"));
  // The two groups keep one radio each.
  EXPECT_EQ(Checked(v), (std::vector<std::string>{"Celsius", "Choice0"}));
  ClickThroughWindow(v.Radio("Choice2"));
  EXPECT_EQ(Checked(v), (std::vector<std::string>{"Celsius", "Choice2"}));
  ClickThroughWindow(v.Radio("Kelvin"));
  EXPECT_EQ(Checked(v), (std::vector<std::string>{"Kelvin", "Choice2"}));

  auto& t = shared<pvt::TemperatureWindow>();
  t.Show();
  EXPECT_EQ(Accessible(t.Radio("Kelvin")).role(), QAccessible::RadioButton);
  EXPECT_TRUE(Accessible(t.Radio("Kelvin")).state().checked);
}

TEST_F(Accessibility, EditFieldsAreNamedByTheLabelOnTheirLeft) {
  auto& v = shared<pvt::VolumeWindow>();
  EXPECT_EQ(Accessible(v.Field("dataEntry")).role(), QAccessible::EditableText);
  EXPECT_EQ(Name(v.Field("dataEntry")), "Pressure");
  EXPECT_EQ(Name(v.Field("dataEntry1")), "Temperature");
  auto& p = shared<pvt::PressureWindow>();
  EXPECT_EQ(Name(p.Field("dataEntry")), "Molar Volume");
  EXPECT_EQ(Name(p.Field("dataEntry1")), "Temperature");
  auto& t = shared<pvt::TemperatureWindow>();
  EXPECT_EQ(Name(t.Field("dataEntry")), "Molar Volume");
  EXPECT_EQ(Name(t.Field("dataEntry1")), "Pressure");
  auto& iso = shared<pvt::Isochore>();
  EXPECT_EQ(Name(iso.Field("minimum")), "min. temperature");
  EXPECT_EQ(Name(iso.Field("maximum")), "max. temperature");
  EXPECT_EQ(Name(iso.Field("interval")), "step size");
  // The composition's fields stand right of pictures of the formulas.
  auto& fluid = shared<app::Start2Window>();
  const std::pair<const char*, const char*> gases[] = {
      {"H2Onumber", "H2O"}, {"CO2number", "CO2"}, {"N2number", "N2"}, {"H2Snumber", "H2S"},
      {"NH3number", "NH3"}, {"H2number", "H2"},   {"O2number", "O2"}, {"COnumber", "CO"},
      {"Arnumber", "Ar"},   {"CH4number", "CH4"}, {"C2H6number", "C2H6"}};
  for (const auto& [field, gas] : gases) EXPECT_EQ(Name(fluid.Field(field)), gas) << field;
  // The value is what was typed, the name stays.
  Type(fluid.Field("H2Onumber"), "0.25");
  EXPECT_EQ(Accessible(fluid.Field("H2Onumber")).text(QAccessible::Value).toStdString(), "0.25");
  EXPECT_EQ(Name(fluid.Field("H2Onumber")), "H2O");
}

// Three groups of radios in one container, each told apart by its frame: a
// click turns over its own group only, and each radio says so.
TEST_F(Accessibility, TheActivityWindowsThreeGroupsStayApart) {
  Globals::fraction = {};
  Globals::fraction[Globals::H2O] = 0.5;
  Globals::fraction[Globals::CO2] = 0.5;
  auto& a = shared<fugacity::ActivityWindow>();
  Activate(a);
  for (Control* c : a.Controls()) {
    if (c->Kind() == ObjectKind::RadioButton) {
      EXPECT_EQ(Accessible(*c).role(), QAccessible::RadioButton) << c->Name();
    }
  }
  EXPECT_EQ(Checked(a), std::vector<std::string>{"Kelvin"});
  Type(a.Field("dataEntry"), "20");
  Type(a.Field("dataEntry1"), "500");
  a.Button("calculate").Push();
  ClickThroughWindow(a.Radio("Choice0"));
  EXPECT_EQ(Checked(a), (std::vector<std::string>{"Kelvin", "Choice0"}));
  ClickThroughWindow(a.Radio("StandardChoice1"));
  EXPECT_EQ(Checked(a), (std::vector<std::string>{"Kelvin", "Choice0", "StandardChoice1"}));
  ClickThroughWindow(a.Radio("StandardChoice2"));
  EXPECT_EQ(Checked(a), (std::vector<std::string>{"Kelvin", "Choice0", "StandardChoice2"}));
  ClickThroughWindow(a.Radio("Celsius"));
  EXPECT_EQ(Checked(a), (std::vector<std::string>{"Celsius", "Choice0", "StandardChoice2"}));
  ClickThroughWindow(a.Radio("StandardChoice0"));
  EXPECT_EQ(Checked(a), (std::vector<std::string>{"Celsius", "Choice0", "StandardChoice0"}));
  EXPECT_EQ(Name(a.Field("dataEntry2")), "Reference Pressure");
  EXPECT_EQ(Name(a.List("ListBox1")), "gas, activity, coefficient");
}

// A radio that chooses what a field holds names that field; a label that
// changes with the choice renames the field it stands by.
TEST_F(Accessibility, TheHomogenisationFieldsAreNamedByTheirChoices) {
  auto& b = shared<phase::BubbleDewPoint>();
  Activate(b);
  EXPECT_EQ(Name(b.Field("dataEntryTh")), "Homogenization Temperature");
  EXPECT_EQ(Name(b.Field("dataEntryPh")), "Homogenization Pressure");
  EXPECT_EQ(Name(b.Field("dataEntry2")), "Homogenization Pressure");
  ClickThroughWindow(b.Radio("RadioButtonPh"));
  EXPECT_EQ(Checked(b), (std::vector<std::string>{"RadioButtonPh", "Kelvin"}));
  EXPECT_EQ(Name(b.Field("dataEntry2")), "Homogenization Temperature");
  ClickThroughWindow(b.Radio("Liquid1"));
  EXPECT_EQ(Checked(b), (std::vector<std::string>{"RadioButtonPh", "Kelvin", "Liquid1"}));
}

// (Buttons by their captions: every window, in all_windows_test.)
TEST_F(Accessibility, ListsByTheirHeadingsCellsByTheirWholeText) {
  auto& iso = shared<pvt::Isochore>();
  Activate(iso);  // activation writes the headings
  auto& list = iso.List("ListBox1");
  QAccessibleInterface& a = Accessible(list);
  EXPECT_EQ(a.role(), QAccessible::Table);
  EXPECT_EQ(a.text(QAccessible::Name).toStdString(), "Temperature (\u02DAC), Pressure (MPa)");
  Type(iso.Field("minimum"), "0");
  Type(iso.Field("maximum"), "10");
  Type(iso.Field("interval"), "5");
  iso.Button("calculate").Push();
  ASSERT_EQ(list.ListCount(), 3);
  // Each cell: its whole text, under its column's heading.
  QAccessibleTableInterface* table = a.tableInterface();
  ASSERT_NE(table, nullptr);
  QAccessibleInterface* cell = table->cellAt(2, 1);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->text(QAccessible::Name).toStdString(), list.Cell(2, 1));
  const auto headers = cell->tableCellInterface()->columnHeaderCells();
  ASSERT_EQ(headers.size(), 1);
  EXPECT_EQ(headers.front()->text(QAccessible::Name).toStdString(), "Pressure (MPa)");
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
