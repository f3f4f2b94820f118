// The homogenisation and liquid-vapour windows driven as a user drives them:
// type, choose, press, edit list cells, scroll, read.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <cmath>

#include "core/globals.h"
#include "framework/application.h"
#include "framework/runtime.h"
#include "gui/gui_support.h"
#include "phase/phase.h"
#include "properties/properties.h"
#include "phase/phase_windows.h"

namespace {

using namespace framework;
using namespace testing_support;
using phase::BubbleDewPoint;
using phase::LiquidVapourEq;

const std::string kNoSolution = "No solution, adjust First Approach and try again";

class PhaseWindows : public WindowTest {
 protected:
  static void Press(Window& w, const char* button) { w.Button(button).Push(); }
  static std::string Cell(Window& w, const char* list, int row, int column = 0) {
    return w.List(list).Cell(row, column);
  }
  static std::vector<std::string> Column(Window& w, const char* list, int column) {
    std::vector<std::string> cells;
    for (int r = 0; r < w.List(list).ListCount(); ++r) cells.push_back(Cell(w, list, r, column));
    return cells;
  }
  static bool Solved(Window& w) { return Text(w, "ResultText").rfind("Solution after ", 0) == 0; }

  // No label or list cell anywhere shows a number that is none.
  static void ExpectNoNonNumbers(Window& w) {
    for (Control* c : w.Controls()) {
      std::vector<std::string> texts;
      if (auto* label = dynamic_cast<StaticTextControl*>(c)) texts.push_back(label->Text());
      if (auto* list = dynamic_cast<ListboxControl*>(c)) {
        for (int r = 0; r < list->ListCount(); ++r)
          for (int col = 0; col < list->columnCount(); ++col) texts.push_back(list->Cell(r, col));
      }
      for (const std::string& t : texts) {
        const QString q = QString::fromStdString(t);
        EXPECT_FALSE(q.contains("nan", Qt::CaseInsensitive) || q.contains("inf", Qt::CaseInsensitive))
            << c->Name() << ": " << t;
      }
    }
  }

  // The homogenisation window with a temperature typed, a mode chosen and
  // the first approach computed.
  static BubbleDewPoint& Homogenisation(const std::string& T, const char* mode, bool celsius = false) {
    auto& w = shared<BubbleDewPoint>();
    w.Scroll("ScrollBar1").SetValue(0);
    ClickThroughWindow(w.Radio("RadioButtonTh"));
    ClickThroughWindow(w.Radio(celsius ? "Celsius" : "Kelvin"));
    Type(w.Field("dataEntryTh"), T);
    ClickThroughWindow(w.Radio(mode));
    Press(w, "FirstApproach");
    return w;
  }

  static LiquidVapourEq& LiquidVapour(const std::string& V, const std::string& T, bool celsius = false) {
    auto& w = shared<LiquidVapourEq>();
    w.Scroll("ScrollBar1").SetValue(0);  // the controls in reach of a click
    ClickThroughWindow(w.Radio(celsius ? "Celsius" : "Kelvin"));
    Type(w.Field("dataEntry"), V);
    Type(w.Field("dataEntry1"), T);
    Press(w, "CalFirstApproach");
    return w;
  }

  // Clicks a cell of a list as the user does, opening its editor.
  static QLineEdit* ClickCell(Window& w, const char* list, int row, int column) {
    ListboxControl& l = w.List(list);
    const QRect cell = l.visualItemRect(l.item(row, column));
    QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    Settle();
    return qobject_cast<QLineEdit*>(QApplication::focusWidget());
  }

  static void TypeIntoCell(QLineEdit* editor, const std::string& text) {
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClicks(editor, QString::fromStdString(text));
  }
};

// ---- The homogenisation window ----

TEST_F(PhaseWindows, HomogenisationWindowSwitchesLabelsUnitsAndPictures) {
  auto& w = shared<BubbleDewPoint>();
  // No picture until a mode is chosen.
  EXPECT_FALSE(w.PictureAt("ImageWell3").isVisible());
  EXPECT_FALSE(w.PictureAt("ImageWell4").isVisible());
  Screenshot(w, "BubbleDewPoint-top");

  // A unit switch keeps the typed value; a switch of the given quantity
  // empties it and swaps the labels.
  Type(w.Field("dataEntryTh"), "300");
  ClickThroughWindow(w.Radio("Celsius"));
  EXPECT_EQ(Text(w, "StaticText3"), "\u02DACelsius");
  EXPECT_EQ(w.Field("dataEntryTh").Text(), "300");
  ClickThroughWindow(w.Radio("RadioButtonPh"));
  EXPECT_EQ(w.Field("dataEntryTh").Text(), "");
  EXPECT_EQ(Text(w, "Homogen"), "Homogenization Temperature");
  EXPECT_EQ(Text(w, "Homogen2"), "Homogenization Temperature");
  EXPECT_EQ(Text(w, "Dimension"), "Kelvin");
  EXPECT_EQ(Text(w, "Dimension2"), "Kelvin");
  Type(w.Field("dataEntryPh"), "5");
  ClickThroughWindow(w.Radio("RadioButtonTh"));
  EXPECT_EQ(w.Field("dataEntryPh").Text(), "");
  EXPECT_EQ(Text(w, "Homogen"), "Homogenization Pressure");
  EXPECT_EQ(Text(w, "Dimension2"), "MPa");

  ClickThroughWindow(w.Radio("Vapour1"));
  EXPECT_TRUE(w.PictureAt("ImageWell4").isVisible());
  EXPECT_FALSE(w.PictureAt("ImageWell3").isVisible());
  ClickThroughWindow(w.Radio("Liquid1"));
  EXPECT_TRUE(w.PictureAt("ImageWell3").isVisible());
  EXPECT_FALSE(w.PictureAt("ImageWell4").isVisible());

  // Clear drops the mode and its picture, not the given quantity.
  ClickThroughWindow(w.Radio("RadioButtonPh"));
  Press(w, "Clear");
  EXPECT_FALSE(w.Radio("Liquid1").Value());
  EXPECT_FALSE(w.Radio("Vapour1").Value());
  EXPECT_FALSE(w.PictureAt("ImageWell3").isVisible());
  EXPECT_TRUE(w.Radio("RadioButtonPh").Value());
  EXPECT_EQ(Text(w, "Homogen"), "Homogenization Temperature");
}

TEST_F(PhaseWindows, ScrollingAndResizingFollowTheWindowHeight) {
  auto& h = shared<BubbleDewPoint>();
  ScrollBarControl& bar = h.Scroll("ScrollBar1");
  EXPECT_EQ(bar.Maximum(), 225);
  bar.SetValue(100);
  Settle();
  EXPECT_EQ(h.Get<Control>("GroupBox6").Widget().mapTo(&h.Content(), QPoint(0, 0)).y(), 15 - 100);
  EXPECT_EQ(bar.Top(), 0);
  h.resize(h.width(), h.height() + (925 - h.Content().height()));
  Settle();
  EXPECT_EQ(bar.Maximum(), 0);
  h.resize(h.width() + 50, h.height() - 525);
  Settle();
  EXPECT_EQ(h.Content().size(), QSize(635, 400));  // the width stays
  EXPECT_EQ(bar.Maximum(), 525);
  EXPECT_EQ(bar.Height(), 385);

  // The liquid-vapour window with its own content height.
  auto& l = shared<LiquidVapourEq>();
  EXPECT_EQ(l.Scroll("ScrollBar1").Maximum(), 135);
  l.Scroll("ScrollBar1").SetValue(100);
  Settle();
  EXPECT_EQ(l.Button("calculate").Widget().mapTo(&l.Content(), QPoint(0, 0)).y(), 295);
  l.resize(l.width(), 64 + l.height() - l.Content().height());
  Settle();
  EXPECT_EQ(l.Scroll("ScrollBar1").Maximum(), 771);
}

TEST_F(PhaseWindows, BubbleAndDewPointOfCarbonDioxide) {
  SetMixture({{Globals::CO2, 1.0}});
  auto& w = Homogenisation("6.85", "Liquid1", /*celsius=*/true);
  EXPECT_NEAR(Globals::TempKelvin, 280.0, 1e-12);
  EXPECT_EQ(w.Field("dataEntry2").Text(), Str(Globals::SaturationPressure(Globals::CO2, 280)));
  EXPECT_EQ(Column(w, "ListBoxPhaseX", 0), std::vector<std::string>{"CO2"});
  EXPECT_EQ(Cell(w, "ListBoxPhaseX", 0, 1), "1");

  Press(w, "calculate");
  EXPECT_TRUE(Solved(w)) << Text(w, "ResultText");
  EXPECT_NEAR(Number(w, "Answer"), 2.87862, 1e-5);
  EXPECT_EQ(Text(w, "PhaseX1"), "Phase X, solution");
  EXPECT_EQ(Text(w, "PhaseY1"), "Phase Y");
  // Densities from the shown volumes; the fugacity of the boiling liquid
  // equals that of its vapour as shown.
  const double Vx = Val(Cell(w, "ListBoxVmX", 0)), Vy = Val(Cell(w, "ListBoxVmY", 0));
  EXPECT_NEAR(Val(Cell(w, "ListBoxDX", 0)), 44.0098 / Vx, 1e-12);
  EXPECT_NEAR(Val(Cell(w, "ListBoxDY", 0)), 44.0098 / Vy, 1e-12);
  EXPECT_NEAR(Val(Cell(w, "ListBoxPhaseX2", 0, 1)) / Val(Cell(w, "ListBoxPhaseY2", 0, 1)), 1.0, 1e-9);
  w.Scroll("ScrollBar1").SetValue(225);
  Settle();
  Screenshot(w, "BubbleDewPoint-bottom");
  ExpectNoNonNumbers(w);
  const std::string P = Text(w, "Answer");

  // The dew point marks phase Y.
  Homogenisation("6.85", "Vapour1", /*celsius=*/true);
  Press(w, "calculate");
  EXPECT_NEAR(Number(w, "Answer"), Val(P), 1e-9);
  EXPECT_EQ(Text(w, "PhaseX1"), "Phase X");
  EXPECT_EQ(Text(w, "PhaseY1"), "Phase Y, solution");

  // The same point from its pressure: the guess is 298.15 K.
  ClickThroughWindow(w.Radio("RadioButtonPh"));
  Type(w.Field("dataEntryPh"), P);
  Press(w, "FirstApproach");
  EXPECT_EQ(w.Field("dataEntry2").Text(), "298.15");
  EXPECT_EQ(Globals::PresMPa, Val(P));
  Press(w, "calculate");
  EXPECT_NEAR(Number(w, "Answer"), 280.0, 1e-6);

  // A stalled search of pure water: no solution, and neither phase marked.
  Globals::Selection = Globals::Brennick1981;
  SetMixture({{Globals::H2O, 1.0}});
  Homogenisation("100", "Liquid1", /*celsius=*/true);
  Press(w, "calculate");
  EXPECT_EQ(Text(w, "ResultText"), kNoSolution);
  EXPECT_EQ(Text(w, "PhaseX1"), "Phase X");
  EXPECT_EQ(Text(w, "PhaseY1"), "Phase Y");
  ExpectNoNonNumbers(w);
}

TEST_F(PhaseWindows, TheSearchUsesItsOwnFirstApproachAndLeavesItsCoefficients) {
  SetMixture({{Globals::CO2, 0.9}, {Globals::CH4, 0.1}});
  auto& w = Homogenisation("250", "Liquid1");
  Press(w, "calculate");
  const std::string answer = Text(w, "Answer");
  ASSERT_NEAR(Val(answer), 6.5216, 1e-4);

  // Another window stores its own temperature and pressure meanwhile.
  Homogenisation("250", "Liquid1");
  const Globals::GasArray wilson = Globals::K_liq_vap;
  Globals::TempKelvin = 400;
  Globals::PresMPa = 1;
  // Switching the given quantity and the mode during the search changes
  // neither the search nor its labels.
  PressDuringFirstPass(w, "calculate", [&w] {
    w.Radio("RadioButtonPh").SetValue(true);
    w.Radio("Vapour1").SetValue(true);
  });
  EXPECT_EQ(Text(w, "Answer"), answer);
  EXPECT_EQ(Text(w, "PhaseX1"), "Phase X, solution");
  EXPECT_EQ(Text(w, "PhaseY1"), "Phase Y");
  // The radios' own handlers ran after the search.
  EXPECT_EQ(Text(w, "Homogen2"), "Homogenization Temperature");
  EXPECT_TRUE(w.PictureAt("ImageWell4").isVisible());

  // The search leaves the bubble point's coefficients, y_i / x_i of its
  // phases, for the liquid-vapour window, which calculates without a first
  // approach of its own: its first split takes that K.
  const Globals::GasArray K = Globals::K_liq_vap, x = Globals::xgas, y = Globals::ygas;
  EXPECT_NEAR(K[Globals::CH4], y[Globals::CH4] / x[Globals::CH4], 1e-6);
  auto& l = shared<LiquidVapourEq>();
  for (auto [field, text] : {std::pair{"dataEntry", "100"}, {"dataEntry1", "250"}, {"dataEntry2", "1"},
                             {"dataEntry3", "0.5"}}) {
    Type(l.Field(field), text);
  }
  Press(l, "calculate");
  phase::LiquidVapourInput in;
  in.z = Globals::fraction, in.V = 100, in.T = 250, in.P0 = 1, in.fraction0 = 0.5, in.K = wilson;
  const std::string fromWilson = phase::SolveLiquidVapour(in).message;
  in.K = K;
  const phase::LiquidVapourResult r = phase::SolveLiquidVapour(in);
  ASSERT_NE(r.message, fromWilson);  // the two starts end in different passes
  EXPECT_EQ(Text(l, "Answer"), Str(r.P));
  EXPECT_EQ(Text(l, "ResultText"), r.message);
  // It keeps only its coefficients; the compositions stay the bubble point's.
  EXPECT_EQ(Globals::K_liq_vap, r.K);
  EXPECT_EQ(Globals::xgas, x);
  EXPECT_EQ(Globals::ygas, y);

  // Liquid water at 167.83 K under Brennick (1981) has no coefficient at
  // the first pass: the search computes none, and the first approach's stay.
  SetMixture({{Globals::H2O, 1.0}});
  Globals::Selection = Globals::Brennick1981;
  Homogenisation("167.83", "Liquid1");
  const Globals::GasArray start = Globals::K_liq_vap;
  ASSERT_GT(start[Globals::H2O], 0.0);
  Press(w, "calculate");
  EXPECT_EQ(Text(w, "ResultText"), phase::kNoSolution);
  EXPECT_EQ(Globals::K_liq_vap, start);
}

TEST_F(PhaseWindows, RepeatedPressesDuringASearchRunOnceMore) {
  SetMixture({{Globals::CO2, 0.9}, {Globals::CH4, 0.1}});
  auto& w = Homogenisation("250", "Liquid1");
  std::size_t queued = 0;
  PressDuringFirstPass(w, "calculate", [&] {
    for (int i = 0; i < 20; ++i) w.Button("calculate").click();  // Return held down
    queued = Dispatcher::Queued();
  });
  EXPECT_EQ(queued, 1u);
  EXPECT_EQ(Dispatcher::Queued(), 0u);
  EXPECT_TRUE(Solved(w));
}

TEST_F(PhaseWindows, EditingTheFirstApproachCells) {
  SetMixture({{Globals::H2O, 0.6}, {Globals::CO2, 0.3}, {Globals::CH4, 0.1}});
  auto& w = Homogenisation("500", "Vapour1");
  EXPECT_EQ(Column(w, "ListBoxPhaseY", 0), (std::vector<std::string>{"H2O", "CO2", "CH4"}));
  const Globals::GasArray x = Globals::xgas;

  // A click on the name opens the value of the same row.
  QLineEdit* editor = ClickCell(w, "ListBoxPhaseY", 1, 0);
  ASSERT_NE(editor, nullptr);
  for (const char* text : {"0.3", "abc", "-0.3", "1e400"}) {
    TypeIntoCell(editor, text);
    EXPECT_EQ(Globals::ygas[Globals::CO2], Val(text)) << text;
  }
  EXPECT_EQ(Globals::xgas, x);
  // Return confirms the cell and presses no button: nothing is searched.
  QTest::keyClick(w.windowHandle(), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(Text(w, "ResultText"), "");
  EXPECT_EQ(Cell(w, "ListBoxPhaseY", 1, 1), "1e400");

  // The list rebuilt under the open editor: the editor goes with its rows,
  // so a change it reported just before (run after the rebuild) reads the
  // new row, not the old editor's "1e400", into another gas.
  SetMixture({{Globals::H2O, 0.6}, {Globals::CH4, 0.4}});
  Press(w, "FirstApproach");
  const double methane = Globals::ygas[Globals::CH4];
  w.ListBoxPhaseY_CellTextChange(1, 1);
  EXPECT_EQ(Globals::ygas[Globals::CH4], methane);
  EXPECT_EQ(Cell(w, "ListBoxPhaseY", 1, 1), Str(methane));

  // A change reported for a row that no longer exists is ignored.
  SetMixture({{Globals::CO2, 1.0}});
  Press(w, "FirstApproach");
  EXPECT_EQ(w.List("ListBoxPhaseY").ListCount(), 1);
  w.ListBoxPhaseY_CellTextChange(2, 1);
  EXPECT_FALSE(w.ListBoxPhaseY_CellClick(5, 1, 0, 0));
  // A click below the last row.
  QTest::mouseClick(w.List("ListBoxPhaseX").viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 70));
  Settle();

  // A search from an abused phase shows no number that is none.
  SetMixture({{Globals::H2O, 0.6}, {Globals::CO2, 0.3}, {Globals::CH4, 0.1}});
  Press(w, "FirstApproach");
  editor = ClickCell(w, "ListBoxPhaseX", 0, 1);
  ASSERT_NE(editor, nullptr);
  TypeIntoCell(editor, "1e400");
  Type(w.Field("dataEntry2"), "");
  Press(w, "calculate");
  EXPECT_FALSE(Text(w, "ResultText").empty());
  ExpectNoNonNumbers(w);
}

// ---- The liquid-vapour window ----

TEST_F(PhaseWindows, LiquidVapourSplitOfCarbonDioxideAndMethane) {
  SetMixture({{Globals::CO2, 0.9}, {Globals::CH4, 0.1}});
  auto& w = LiquidVapour("100", "250");
  EXPECT_EQ(w.Field("dataEntry3").Text(), "0.5");
  EXPECT_EQ(Column(w, "ListBoxPhaseX", 0), (std::vector<std::string>{"CO2", "CH4"}));
  Screenshot(w, "LiquidVapourEq-top");

  Press(w, "calculate");
  EXPECT_TRUE(Solved(w)) << Text(w, "ResultText");
  const double P = Number(w, "Answer");
  EXPECT_NEAR(Val(Cell(w, "ListBoxFracX", 0)) + Val(Cell(w, "ListBoxFracY", 0)), 1.0, 1e-12);
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(Val(Cell(w, "ListBoxPhaseX2", i, 1)) / Val(Cell(w, "ListBoxPhaseY2", i, 1)), 1.0, 1e-6);
  }
  w.Scroll("ScrollBar1").SetValue(135);
  Settle();
  Screenshot(w, "LiquidVapourEq-bottom");

  // The same temperature in Celsius.
  LiquidVapour("100", "-23.15", /*celsius=*/true);
  EXPECT_NEAR(Globals::TempKelvin, 250.0, 1e-12);
  EXPECT_EQ(Text(w, "StaticText3"), "\u02DACelsius");
  Press(w, "calculate");
  EXPECT_NEAR(Number(w, "Answer"), P, 1e-9 * P);

  Press(w, "Clear");
  EXPECT_EQ(w.Field("dataEntry").Text(), "");
  EXPECT_EQ(w.List("ListBoxPhaseX1").ListCount(), 0);
  EXPECT_TRUE(w.Radio("Celsius").Value());
}

TEST_F(PhaseWindows, LiquidVapourWithoutUsableInput) {
  SetMixture({{Globals::H2O, 0.5}, {Globals::CH4, 0.5}});
  // Calculate before any first approach, with empty fields.
  auto& w = shared<LiquidVapourEq>();
  Press(w, "calculate");
  EXPECT_FALSE(Text(w, "ResultText").empty());
  ExpectNoNonNumbers(w);
  // No molar volume: the fractions are not computed, so not shown.
  LiquidVapour("0", "473.15");
  Press(w, "calculate");
  EXPECT_EQ(Cell(w, "ListBoxFracX", 0), "");
  EXPECT_EQ(Cell(w, "ListBoxFracY", 0), "");
  ExpectNoNonNumbers(w);
}

}  // namespace
