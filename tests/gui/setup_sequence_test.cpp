// The set-up sequence driven as a user would: start, parameter set,
// composition, procedure list.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <QTest>
#include <algorithm>

#include "pictures/pictures.h"
#include "app/setup_windows.h"
#include "core/globals.h"
#include "gui/gui_support.h"
#include "procedures/pvt/pvt_windows.h"

namespace {

using namespace framework;
using namespace testing_support;
using app::Start1aWindow;
using app::Start1Window;
using app::Start2Window;
using app::Start3Window;

class SetupSequence : public WindowTest {
 protected:
  Start2Window& Composition() {
    shared<Start1Window>().Button("continue1").Push();
    existing<Start1aWindow>()->Button("PushButton1").Push();
    Start2Window* w = existing<Start2Window>();
    EXPECT_NE(w, nullptr);
    return *w;
  }
};

TEST_F(SetupSequence, WalksFromStartToProcedures) {
  Start1Window& start = shared<Start1Window>();
  EXPECT_TRUE(start.isVisible());
  Screenshot(start, "Start1Window");

  EXPECT_EQ(existing<Start1aWindow>(), nullptr);
  start.Button("continue1").Push();
  Start1aWindow* params = existing<Start1aWindow>();
  ASSERT_NE(params, nullptr);
  EXPECT_TRUE(params->isVisible());
  Screenshot(*params, "Start1aWindow");

  ClickThroughWindow(params->Radio("RadioButton3"));
  EXPECT_FALSE(params->Radio("RadioButton1").Value());
  EXPECT_EQ(Globals::Selection, 0);  // only Continue stores the choice
  params->Button("PushButton1").Push();
  EXPECT_EQ(Globals::Selection, 2);

  Start2Window* fluid = existing<Start2Window>();
  ASSERT_NE(fluid, nullptr);
  Type(fluid->Field("H2Onumber"), "0.1");
  Type(fluid->Field("CO2number"), "0.2");
  Type(fluid->Field("N2number"), "0.7");
  EXPECT_EQ(fluid->Label("Sum").Text(), "1");
  Screenshot(*fluid, "Start2Window");
  // Return presses continue.
  QTest::keyClick(&fluid->Field("N2number"), Qt::Key_Return);
  EXPECT_EQ(Globals::fraction[0], 0.1);
  EXPECT_EQ(Globals::fraction[1], 0.2);
  EXPECT_EQ(Globals::fraction[2], 0.7);
  for (int i = 3; i < Globals::kGases; ++i) EXPECT_EQ(Globals::fraction[i], 0.0);

  Start3Window* procedures = existing<Start3Window>();
  ASSERT_NE(procedures, nullptr);
  EXPECT_TRUE(procedures->isVisible());
  Screenshot(*procedures, "Start3Window");
  // Nothing chosen: continue opens nothing.
  const auto before = AllWindows().size();
  procedures->Button("PushButton1").Push();
  EXPECT_EQ(AllWindows().size(), before);
  // Each choice opens its window (the one with its title), shown; the ones
  // already open stay.
  auto open = [procedures](const char* radio) {
    ClickThroughWindow(procedures->Radio(radio));
    procedures->Button("PushButton1").Push();
  };
  for (auto [radio, title] :
       {std::pair{"MolarVolumes", "Molar Volumes"}, {"Pressures", "Pressures"}, {"Temperatures", "Temperatures"},
        {"Spinodal", "Untitled"}, {"CriticalPoint", "Critical Point"}, {"Homogenisation", "Bubble-Dew point"},
        {"LiquidVapour", "Liquid-Vapour Equilibrium"}, {"InternalEnergy", "Internal Energy"},
        {"Enthalpy", "Enthalpy"}, {"Entropy", "Entropy"}, {"HelmholtzEnergy", "Helmholtz Energy"},
        {"GibbsEnergy", "Gibbs Free Energy"}, {"Fugacities", "Fugacities"}, {"Activities", "Activities"},
        {"ChemicalPotentials", "Chemical Potentials"}}) {
    open(radio);
    const auto all = AllWindows();
    auto shown = [&](Window* w) { return w->windowTitle() == title && w->isVisible(); };
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), shown)) << radio;
  }
  pvt::VolumeWindow* volumes = existing<pvt::VolumeWindow>();
  ASSERT_NE(volumes, nullptr);
  EXPECT_EQ(existing<pvt::Isochore>(), nullptr);  // only the pressure window opens it
  // Asking again brings back the same window with its texts.
  Type(existing<pvt::PressureWindow>()->Field("dataEntry"), "123");
  open("Pressures");
  EXPECT_EQ(existing<pvt::PressureWindow>()->Field("dataEntry").Text(), "123");
  EXPECT_EQ(existing<pvt::VolumeWindow>(), volumes);
}

TEST_F(SetupSequence, ParameterSetIsStoredOnlyByContinue) {
  shared<Start1Window>().Button("continue1").Push();
  Start1aWindow& params = *existing<Start1aWindow>();
  ClickThroughWindow(params.Radio("RadioButton2"));
  params.Button("PushButton1").Push();
  EXPECT_EQ(Globals::Selection, 1);
  // A second continue brings the same composition window back.
  Start2Window* fluid = existing<Start2Window>();
  params.Button("PushButton1").Push();
  EXPECT_EQ(existing<Start2Window>(), fluid);
  // A closed parameter window comes back new, with its first set on, while
  // the stored choice stays.
  params.close();
  Settle();
  shared<Start1Window>().Button("continue1").Push();
  Start1aWindow* again = existing<Start1aWindow>();
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->Radio("RadioButton1").Value());
  EXPECT_EQ(Globals::Selection, 1);
}

TEST_F(SetupSequence, CompositionsThatDoNotSumToOneAreRefused) {
  Start2Window& fluid = Composition();
  struct Case {
    const char *h2o, *co2, *n2, *sum;
  };
  for (const Case& c : {
           // Exact in fixed point: twelve 3s three times are one short.
           Case{"0.333333333333", "0.333333333333", "0.333333333333", "0.999999999999"},
           // Entries outside 0 to 1 count as nothing, whatever they add to.
           Case{"1.5", "-0.5", "", "1"},
           // Each count saturates at the int64 limit; a wrapping sum of
           // these could land on exactly 1e12.
           Case{"1e300", "1e300", "0.000000000002", nullptr},
           Case{"", "", "", "0"}, Case{"abc", "0.25", "", "0.25"},  // a field that holds no number counts 0
       }) {
    Type(fluid.Field("H2Onumber"), c.h2o);
    Type(fluid.Field("CO2number"), c.co2);
    Type(fluid.Field("N2number"), c.n2);
    if (c.sum) {
      EXPECT_EQ(fluid.Label("Sum").Text(), c.sum) << c.h2o;
    }
    fluid.Button("continue2").Push();
    EXPECT_EQ(fluid.Label("Sum").Text(), app::kAdjustFractions) << c.h2o;
    EXPECT_EQ(existing<Start3Window>(), nullptr);
    for (double f : Globals::fraction) EXPECT_EQ(f, 0.0);
  }
  Type(fluid.Field("H2Onumber"), "0.333333333333");
  Type(fluid.Field("CO2number"), "0.333333333333");
  Type(fluid.Field("N2number"), "0.333333333334");
  EXPECT_EQ(fluid.Label("Sum").Text(), "1");
  fluid.Button("continue2").Push();
  EXPECT_NE(existing<Start3Window>(), nullptr);
  EXPECT_EQ(Globals::fraction[Globals::N2], 0.333333333334);
  EXPECT_EQ(Globals::fraction[Globals::H2O], 0.333333333333);
}

TEST_F(SetupSequence, StoredCountsOutliveTheWindowUntilCleared) {
  Start2Window& fluid = Composition();
  Type(fluid.Field("H2Onumber"), "0.4");
  Type(fluid.Field("CO2number"), "0.6");
  fluid.close();
  Settle();
  // Reopened, the window shows empty fields, yet continue finds the counts.
  existing<Start1aWindow>()->Button("PushButton1").Push();
  Start2Window& again = *existing<Start2Window>();
  EXPECT_EQ(again.Field("H2Onumber").Text(), "");
  EXPECT_EQ(again.Label("Sum").Text(), "0");
  again.Button("continue2").Push();
  EXPECT_EQ(Globals::fraction[0], 0.4);
  EXPECT_EQ(Globals::fraction[1], 0.6);
  // Clear empties every count, even one no field shows (as a phase
  // calculation might leave).
  Type(again.Field("CH4number"), "0.5");
  Globals::IntegerFraction[Globals::Ar] = 7;
  again.Button("Clear").Push();
  for (double f : Globals::fraction) EXPECT_EQ(f, 0.0);
  for (auto n : Globals::IntegerFraction) EXPECT_EQ(n, 0);
  EXPECT_EQ(again.Field("CH4number").Text(), "");
  EXPECT_EQ(again.Label("Sum").Text(), "0");
}

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseAllWindows();
    pictures::ReleasePictures();
  }
  void TearDown() override {
    HidePictureResource(201, false);
    CloseAllWindows();
  }
};

TEST_F(Pictures, EachIsReadOnceAndShownAtItsControlsSize) {
  auto& start = shared<app::Start1Window>();
  auto& fluid = shared<app::Start2Window>();
  std::vector<PictureControl*> controls;
  for (const char* name : {"ImageWell2", "Canvas1", "Canvas2"}) controls.push_back(&start.PictureAt(name));
  for (int i = 1; i <= 11; ++i) controls.push_back(&fluid.PictureAt("Canvas" + std::to_string(i)));
  for (PictureControl* control : controls) {
    ASSERT_NE(control->Picture(), nullptr) << control->Name();
    EXPECT_EQ(control->Picture()->Size(), control->Widget().size()) << control->Name();
  }
  EXPECT_TRUE(pictures::PictureCached(196));
  EXPECT_FALSE(pictures::PictureCached(169));  // not before its window is built

  start.Button("continue1").Push();
  const int reads = pictures::PictureResourceReads();
  existing<app::Start1aWindow>()->close();
  Settle();
  start.Button("continue1").Push();  // built again, from the cache
  EXPECT_EQ(pictures::PictureResourceReads(), reads);
  EXPECT_NE(existing<app::Start1aWindow>()->PictureAt("Canvas2").Picture(), nullptr);
}

TEST_F(Pictures, AMissingPictureLeavesItsControlBlank) {
  HidePictureResource(201, true);
  auto& start = shared<app::Start1Window>();
  EXPECT_EQ(start.PictureAt("Canvas2").Picture(), nullptr);
  EXPECT_NE(start.PictureAt("Canvas1").Picture(), nullptr);
  EXPECT_TRUE(start.isVisible());
  Screenshot(start, "Start1Window-without-gases");
}

}  // namespace
