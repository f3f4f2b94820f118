// The spinodal, critical point, analysis and explanation windows driven as a
// user drives them: type, press, read.
#include <gtest/gtest.h>

#include <QPointer>
#include <QTimer>
#include <cmath>

#include "core/globals.h"
#include "critical/critical_windows.h"
#include "framework/application.h"
#include "framework/runtime.h"
#include "gui/gui_support.h"

namespace {

using namespace framework;
using namespace testing_support;
using critical::CriticalPointWindow;
using critical::Explain;
using critical::MathAnal;
using critical::SpinodalWindow;

const std::string kCelsius = "\u02DACelsius";

class CriticalWindows : public WindowTest {
 protected:
  static void Fluid(std::initializer_list<std::pair<int, double>> parts, std::int32_t model = 0) {
    SetMixture(parts);
    Globals::Selection = model;
  }

  static SpinodalWindow& Spinodal(const std::string& V) {
    auto& w = shared<SpinodalWindow>();
    Activate(w);
    Type(w.Field("dataEntry"), V);
    w.Button("calculate").Push();
    return w;
  }
  // Presses calculate while every pass lets another window's handler change
  // the composition and refill the pair table and co-volumes: the running
  // search keeps the fluid it started with.
  static void PressWhileTheFluidChanges(Window& w) {
    const BackgroundHook saved = CurrentBackgroundHook();
    SetBackgroundHook(
        [] {
          static bool busy = false;
          if (busy) return;
          busy = true;
          Globals::GasArray co2{};
          co2[Globals::CO2] = 1.0;
          Globals::fraction = co2;
          Globals::aMixture(co2, 900.0, 2);
          Globals::bMixture(co2);
          busy = false;
        },
        std::chrono::milliseconds(0));
    w.Button("calculate").Push();
    SetBackgroundHook(saved);
  }
  // Another window activated, then `w` again, as a user switches windows.
  static void ComeBackTo(Window& w) {
    Activate(shared<Explain>());
    Activate(w);
  }
  static CriticalPointWindow& Critical() {
    auto& w = shared<CriticalPointWindow>();
    Activate(w);
    return w;
  }
  static MathAnal& Analysis() {
    auto& w = shared<MathAnal>();
    Activate(w);
    return w;
  }
  // The first volume of the analysis table: b + 4, truncated, plus 2.
  static int FirstAnalysisVolume() { return static_cast<int>(Globals::bMixture(Globals::fraction) + 4.0) + 2; }
};

// ---- Spinodal window ----

TEST_F(CriticalWindows, SpinodalOfNitrogenInKelvinAndCelsius) {
  Fluid({{Globals::N2, 1.0}});
  // With constant a, dP/dV = 0 at V gives the spinodal
  // T = [a (2V + b)(V - b)^2 / (R V^2 (V + b)^2)]^(2/3); P there is the
  // isotherm's extremum.
  constexpr double R = 8.314472, V = 200;
  const double a = Globals::aMixture(Globals::fraction, 300, 0), b = Globals::bMixture(Globals::fraction);
  const double T = std::pow(a * (2 * V + b) * (V - b) * (V - b) / (R * V * V * (V + b) * (V + b)), 2.0 / 3.0);
  const double P = R * T / (V - b) - a / (std::sqrt(T) * V * (V + b));
  auto& w = shared<SpinodalWindow>();
  Activate(w);
  Type(w.Field("dataEntry"), "200");
  PressWhileTheFluidChanges(w);
  EXPECT_NEAR(Number(w, "ResultT"), T, 1e-9 * T);
  EXPECT_NEAR(Number(w, "ResultP"), P, 1e-9 * std::fabs(P));
  EXPECT_EQ(Str(Globals::TempKelvin), Text(w, "ResultT"));
  EXPECT_EQ(Str(Globals::PresMPa), Text(w, "ResultP"));
  EXPECT_EQ(Text(w, "StaticText4"), "Kelvin");

  const std::string pressure = Text(w, "ResultP");
  ClickThroughWindow(w.Radio("Celsius"));
  EXPECT_EQ(Text(w, "StaticText4"), kCelsius);
  EXPECT_NEAR(Number(w, "ResultT"), T - 273.15, 1e-9 * T);
  EXPECT_EQ(Text(w, "ResultP"), pressure);
  Screenshot(w, "SpinodalWindow-result");

  // A calculation in Celsius shows kelvin again, under its label.
  Fluid({{Globals::N2, 1.0}});
  w.Button("calculate").Push();
  EXPECT_TRUE(w.Radio("Kelvin").Value());
  EXPECT_EQ(Text(w, "StaticText4"), "Kelvin");
  EXPECT_NEAR(Number(w, "ResultT"), T, 1e-9 * T);
}

TEST_F(CriticalWindows, SpinodalOutsideTheEquationOfStateIsNoSolution) {
  Fluid({{Globals::N2, 0.5}, {Globals::CH4, 0.5}});
  // Before any calculation nothing has failed: a unit switch shows no result.
  auto& fresh = shared<SpinodalWindow>();
  Activate(fresh);
  ClickThroughWindow(fresh.Radio("Celsius"));
  EXPECT_EQ(Text(fresh, "StaticText4"), kCelsius);
  EXPECT_EQ(Text(fresh, "ResultT"), "");
  Globals::PresMPa = 7.5;
  const double b = Globals::bMixture(Globals::fraction);
  for (const std::string& V : {Str(b / 2), std::string(""), std::string("abc"), Str(-b / 2), Str(b)}) {
    auto& w = Spinodal(V);
    EXPECT_EQ(Text(w, "ResultT"), "no soluton") << V;
    EXPECT_EQ(Text(w, "ResultP"), "no solution") << V;
    EXPECT_EQ(Globals::TempKelvin, 0.0);
    EXPECT_EQ(Globals::PresMPa, 7.5);
  }
  Fluid({});
  auto& w = Spinodal("100");
  EXPECT_EQ(Text(w, "ResultT"), "no soluton");
  // The unit switches; the failure stays (0 K is kept, but it is no result).
  ClickThroughWindow(w.Radio("Celsius"));
  EXPECT_EQ(Text(w, "StaticText4"), kCelsius);
  EXPECT_EQ(Text(w, "ResultT"), "no soluton");
  ClickThroughWindow(w.Radio("Kelvin"));
  EXPECT_EQ(Text(w, "ResultT"), "no soluton");
  Screenshot(w, "SpinodalWindow_no_solution");
  w.Button("Clear").Push();
  EXPECT_EQ(w.Field("dataEntry").Text(), "");
  EXPECT_EQ(Text(w, "ResultT"), "");
  EXPECT_EQ(Text(w, "ResultP"), "");
}

// ---- Critical point window ----

TEST_F(CriticalWindows, CriticalPointOfNitrogenAndMethane) {
  Fluid({{Globals::N2, 0.5}, {Globals::CH4, 0.5}});
  auto& w = Critical();
  // The proposals go into the guess fields: V1 = b/c, V2 halfway to b.
  const double b = Globals::bMixture(Globals::fraction), c = std::cbrt(2.0) - 1;
  EXPECT_NEAR(Number(w, "ResultPseudoV"), b / c, 1e-9);
  EXPECT_EQ(w.Field("dataEntry1").Text(), Text(w, "ResultPseudoV"));
  EXPECT_NEAR(Val(w.Field("dataEntry2").Text()), b + (b / c - b) / 2, 1e-9);

  ClickThroughWindow(w.Radio("Celsius"));
  EXPECT_EQ(Text(w, "StaticText8"), kCelsius);
  PressWhileTheFluidChanges(w);
  EXPECT_NEAR(Number(w, "ResultV"), 97.0957, 1e-4);
  EXPECT_NEAR(Number(w, "ResultT"), 164.2075, 1e-4);
  EXPECT_NEAR(Number(w, "ResultP"), 5.01325, 1e-5);
  // The kelvin value under the kelvin label.
  EXPECT_TRUE(w.Radio("Kelvin").Value());
  EXPECT_EQ(Text(w, "StaticText8"), "Kelvin");
  EXPECT_EQ(Str(Globals::TempKelvin), Text(w, "ResultT"));
  EXPECT_EQ(Str(Globals::PresMPa), Text(w, "ResultP"));
  Screenshot(w, "CriticalPointWindow-result");

  ClickThroughWindow(w.Radio("Celsius"));
  EXPECT_NEAR(Number(w, "ResultT"), 164.2075 - 273.15, 1e-4);
  EXPECT_EQ(Text(w, "ResultPseudoT").find('-'), std::string::npos);  // stays in kelvin

  // A pure gas takes the shown pseudo-critical volume, not the guess field.
  Fluid({{Globals::N2, 1.0}});
  ComeBackTo(w);
  Type(w.Field("dataEntry1"), "1");
  w.Button("calculate").Push();
  EXPECT_EQ(Text(w, "ResultV"), Text(w, "ResultPseudoV"));
  EXPECT_NEAR(Number(w, "ResultT"), 126.193, 1e-7);
}

// The user switches to a window, changes the fluid there and comes back
// while the search runs: the search finishes with the fluid it started
// with, then the activation it held back proposes for the new one.
TEST_F(CriticalWindows, AnActivationDuringTheSearchFollowsIt) {
  Fluid({{Globals::N2, 0.5}, {Globals::CH4, 0.5}});
  static CriticalPointWindow* w = nullptr;
  w = &Critical();
  const BackgroundHook saved = CurrentBackgroundHook();
  SetBackgroundHook(
      [] {
        static bool done = false;
        if (done) return;
        done = true;
        QTimer::singleShot(0, [] {
          SetMixture({{Globals::CH4, 0.5}, {Globals::C2H6, 0.5}});
          ComeBackTo(*w);
          ComeBackTo(*w);
        });
        Dispatcher::ProcessPendingEvents();
      },
      std::chrono::milliseconds(0));
  w->Button("calculate").Push();
  SetBackgroundHook(saved);
  Settle();
  EXPECT_NEAR(Number(*w, "ResultV"), 97.0957, 1e-4);
  const double b = Globals::bMixture(Globals::fraction), c = std::cbrt(2.0) - 1;
  EXPECT_NEAR(Number(*w, "ResultPseudoV"), b / c, 1e-9);
  EXPECT_EQ(w->Field("dataEntry1").Text(), Text(*w, "ResultPseudoV"));
  EXPECT_EQ(Dispatcher::Queued(), 0u);
}

TEST_F(CriticalWindows, NoFalseCriticalPointIsShown) {
  // CO2/CH4 50/50 from the proposals under the Ostrem set.
  Fluid({{Globals::CO2, 0.5}, {Globals::CH4, 0.5}}, Globals::Ostrem1999);
  auto& w = Critical();
  ClickThroughWindow(w.Radio("Celsius"));
  EXPECT_EQ(Text(w, "ResultT"), "");  // nothing has failed yet
  w.Button("calculate").Push();
  for (const char* result : {"ResultV", "ResultT", "ResultP"}) EXPECT_EQ(Text(w, result), "no solution") << result;
  EXPECT_EQ(Globals::TempKelvin, 0.0);
  EXPECT_EQ(Globals::PresMPa, 0.0);
  Screenshot(w, "CriticalPointWindow_no_solution");

  // N2/CH4 with equal first guesses; the failure outlasts unit switches.
  Fluid({{Globals::N2, 0.5}, {Globals::CH4, 0.5}});
  ComeBackTo(w);
  Type(w.Field("dataEntry2"), w.Field("dataEntry1").Text());
  w.Button("calculate").Push();
  EXPECT_EQ(Text(w, "ResultV"), "no solution");
  ClickThroughWindow(w.Radio("Celsius"));
  EXPECT_EQ(Text(w, "StaticText8"), kCelsius);
  EXPECT_EQ(Text(w, "ResultT"), "no solution");
  ClickThroughWindow(w.Radio("Kelvin"));
  EXPECT_EQ(Text(w, "ResultT"), "no solution");

  // A cleared composition: no proposals and no guesses.
  Fluid({});
  ComeBackTo(w);  // back to the window: the activation computes again
  for (const char* pseudo : {"ResultPseudoV", "ResultPseudoT", "ResultPseudoP"}) {
    EXPECT_EQ(Text(w, pseudo), "no solution") << pseudo;
  }
  EXPECT_EQ(w.Field("dataEntry1").Text(), "");
  EXPECT_EQ(w.Field("dataEntry2").Text(), "");
  w.Button("calculate").Push();
  EXPECT_EQ(Text(w, "ResultV"), "no solution");
}

TEST_F(CriticalWindows, ButtonsShowOneAnalysisAndOneExplanation) {
  Fluid({{Globals::N2, 1.0}});
  auto& w = Critical();
  for (const char* button : {"Analysis", "Analysis", "pseudo", "pseudo"}) w.Button(button).Push();
  int analyses = 0, explanations = 0;
  for (Window* win : AllWindows()) {
    if (win->IsClosed()) continue;
    analyses += dynamic_cast<MathAnal*>(win) != nullptr;
    explanations += dynamic_cast<Explain*>(win) != nullptr;
  }
  EXPECT_EQ(analyses, 1);
  EXPECT_EQ(explanations, 1);
  Explain& e = *existing<Explain>();
  EXPECT_EQ(e.PictureAt("Canvas7").Top() + e.PictureAt("Canvas7").Height(), 635);
  for (const char* canvas : {"Canvas1", "Canvas2", "Canvas3", "Canvas4", "Canvas5", "Canvas6", "Canvas7"}) {
    EXPECT_NE(e.PictureAt(canvas).Picture(), nullptr) << canvas;
  }
  Screenshot(e, "Explain");
}

// ---- Analysis window ----

TEST_F(CriticalWindows, AnalysisTableOfNitrogen) {
  Fluid({{Globals::N2, 1.0}});
  auto& w = Analysis();
  auto& list = w.List("ListBox1");
  EXPECT_EQ(list.ListCount(), 0);
  w.Button("calculate").Push();
  ASSERT_EQ(list.ListCount(), 250);
  EXPECT_EQ(list.Cell(0, 0), std::to_string(FirstAnalysisVolume()));
  EXPECT_EQ(list.Cell(249, 0), std::to_string(FirstAnalysisVolume() + 498));
  // The critical function A_VVV on the spinodal changes sign once, at b/c.
  int changes = 0, zeros = 0;
  for (int r = 0; r < 250; ++r) {
    const double F = Val(list.Cell(r, 3));
    if (F == 0.0) ++zeros;
    if (r > 0 && F * Val(list.Cell(r - 1, 3)) < 0) {
      ++changes;
      EXPECT_LE(Val(list.Cell(r - 1, 0)), 102.93211);
      EXPECT_GE(Val(list.Cell(r, 0)), 102.93211);
    }
  }
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(zeros, 0);
  Screenshot(w, "MathAnal-result");

  w.Button("calculate").Push();  // appends
  EXPECT_EQ(list.ListCount(), 500);
  ComeBackTo(w);  // the table lasts while the window stays active
  EXPECT_EQ(list.ListCount(), 0);

  // Nothing present: no spinodal, dashes.
  Fluid({});
  w.Button("calculate").Push();
  ASSERT_EQ(list.ListCount(), 250);
  EXPECT_EQ(list.Cell(0, 0), "6");
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(list.Cell(0, c), "-");
}

// The user goes to another window and back while the fourth row is
// computed: the whole table stays (the activation used to wait for the
// table's end and empty all of it).
TEST_F(CriticalWindows, AnActivationDuringTheTableKeepsTheWholeTable) {
  Fluid({{Globals::N2, 1.0}});
  static MathAnal* w = nullptr;
  w = &Analysis();
  auto& list = w->List("ListBox1");
  const auto saved = CurrentBackgroundHook();
  SetBackgroundHook(
      [] {
        static bool done = false;
        if (done || w->List("ListBox1").ListCount() != 3) return;
        done = true;
        Dispatcher::ProcessPendingEvents();
      },
      std::chrono::milliseconds(0));
  int rowsThen = -1;
  QTimer::singleShot(0, [&] {
    rowsThen = list.ListCount();
    ComeBackTo(*w);
  });
  w->Button("calculate").Push();
  SetBackgroundHook(saved);
  Settle();
  ASSERT_EQ(rowsThen, 3);
  ASSERT_EQ(list.ListCount(), 250);
  EXPECT_EQ(list.Cell(0, 0), std::to_string(FirstAnalysisVolume()));
  EXPECT_EQ(list.Cell(249, 0), std::to_string(FirstAnalysisVolume() + 498));
  for (int r = 0; r < list.ListCount(); ++r) {
    for (int c = 0; c < 4; ++c) ASSERT_NE(list.Cell(r, c), "") << r << " " << c;
  }
}

TEST_F(CriticalWindows, ClosingTheAnalysisStopsItsTable) {
  Fluid({{Globals::N2, 0.2}, {Globals::CH4, 0.2}, {Globals::CO2, 0.2}, {Globals::H2S, 0.2}, {Globals::C2H6, 0.2}});
  auto* w = &Analysis();
  const auto saved = CurrentBackgroundHook();
  SetBackgroundHook([] { Dispatcher::ProcessPendingEvents(); }, std::chrono::milliseconds(0));
  int rowsWhenClosed = -1;
  QTimer::singleShot(0, [w, &rowsWhenClosed] {
    rowsWhenClosed = w->List("ListBox1").ListCount();
    w->close();
  });
  QPointer<QWidget> alive(w);
  w->Button("calculate").Push();
  SetBackgroundHook(saved);
  EXPECT_GE(rowsWhenClosed, 0);
  // The closed window is deleted only once its handler has returned; its
  // list took no row after the closing.
  ASSERT_FALSE(alive.isNull());
  EXPECT_EQ(w->List("ListBox1").ListCount(), rowsWhenClosed);
  Settle();
  EXPECT_EQ(existing<MathAnal>(), nullptr);
}

}  // namespace
