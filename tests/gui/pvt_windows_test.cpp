// The pressure, temperature, volume and isochore windows driven as a user
// drives them: type, press, read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QMessageBox>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/globals.h"
#include "framework/application.h"
#include "framework/runtime.h"
#include "gui/gui_support.h"
#include "procedures/pvt/pvt_windows.h"

namespace {

using namespace framework;
using namespace testing_support;
using pvt::Isochore;
using pvt::PressureWindow;
using pvt::TemperatureWindow;
using pvt::VolumeWindow;
namespace fs = std::filesystem;

constexpr double R = 8.314472;
constexpr double kMassN2 = 28.01348, kMassCO2 = 44.0098;

// The message windows that are open, by their text.
std::vector<std::string> Messages() {
  std::vector<std::string> texts;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
      texts.push_back(box->text().toStdString());
    }
  }
  return texts;
}

void CloseMessages() {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (qobject_cast<QMessageBox*>(top)) top->close();
  }
  Settle();
}

class PvtWindows : public WindowTest {
 protected:
  void TearDown() override {
    CloseMessages();
    WindowTest::TearDown();
  }

  static void Pure(int gas) { SetMixture({{gas, 1.0}}); }
  static void Press(Window& w, const char* button = "calculate") { w.Button(button).Push(); }

  // The window's two entries typed and calculated, the unit chosen first.
  template <class W>
  static W& Calc(const std::string& first, const std::string& second, const char* unit = "Kelvin") {
    auto& w = shared<W>();
    w.Show();
    ClickThroughWindow(w.Radio(unit));
    Calculate(w, first, second);
    return w;
  }
  static auto& Pressure(const std::string& V, const std::string& T, const char* unit = "Kelvin") {
    return Calc<PressureWindow>(V, T, unit);
  }
  static auto& Volume(const std::string& P, const std::string& T, const char* unit = "Kelvin") {
    return Calc<VolumeWindow>(P, T, unit);
  }
  static Isochore& Range(const std::string& min, const std::string& max, const std::string& step) {
    auto& w = shared<Isochore>();
    Activate(w);
    Type(w.Field("minimum"), min);
    Type(w.Field("maximum"), max);
    Type(w.Field("interval"), step);
    return w;
  }
  static std::vector<std::string> Rows(Isochore& w) {
    std::vector<std::string> rows;
    auto& list = w.List("ListBox1");
    for (int r = 0; r < list.ListCount(); ++r) rows.push_back(list.Cell(r, 0) + ", " + list.Cell(r, 1));
    return rows;
  }
};

// A folder of its own as the working directory, for the export.
struct ExportFolder {
  fs::path previous = fs::current_path(), folder = MakeFolder();
  ExportFolder() { fs::current_path(folder); }
  ~ExportFolder() {
    fs::current_path(previous);
    fs::remove_all(folder);
  }
  static fs::path MakeFolder() {
    char pattern[] = "/tmp/pvt-export-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("no temporary folder");
    return pattern;
  }
  const fs::path& Path() const { return folder; }
  bool Empty() const { return fs::is_empty(folder); }
  std::vector<std::string> Lines(const std::string& name) const {
    std::ifstream in(folder / name, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

// ---- Pressure and temperature ----

TEST_F(PvtWindows, PressureOfNitrogenNearTheIdealGas) {
  Pure(Globals::N2);
  auto& w = Pressure("24789.7", "298.15");
  const double ideal = R * 298.15 / 24789.7;  // 0.1 MPa
  const double P = Number(w, "Result");
  // Nitrogen's second virial coefficient at 25 C is about -5 cm3/mol: Z =
  // 1 + B/V lies within 5e-4 of 1.
  EXPECT_NEAR(P / ideal, 1.0, 5e-4);
  EXPECT_LT(P, ideal);
  EXPECT_EQ(Globals::MolarVolumes[0], 24789.7);

  const std::string inKelvin = Text(w, "Result");
  Pressure("24789.7", "25", "Celsius");
  EXPECT_EQ(Text(w, "Result"), inKelvin);
  // At or below 0 K (an empty temperature in kelvin is 0 K) there is none.
  for (bool celsius : {false, true}) {
    Pressure("100", celsius ? "-300" : "", celsius ? "Celsius" : "Kelvin");
    EXPECT_EQ(Text(w, "Result"), "no solution") << celsius;
  }
}

TEST_F(PvtWindows, TemperatureGivesBackThePressuresTemperature) {
  SetMixture({{Globals::H2O, 0.5}, {Globals::CO2, 0.3}, {Globals::CH4, 0.2}});
  // Before any calculation the units show the shared 0 K.
  auto& t = shared<TemperatureWindow>();
  EXPECT_FALSE(t.isVisible());  // shown by its opener
  t.Show();
  ClickThroughWindow(t.Radio("Celsius"));
  EXPECT_EQ(Text(t, "Result"), "-273.15");

  auto& p = Pressure("150", "673.15");
  Screenshot(p, "PressureWindow-result");
  Calc<TemperatureWindow>("150", Text(p, "Result"));
  EXPECT_NEAR(Number(t, "Result"), 673.15, 1e-9);
  EXPECT_NEAR(Globals::TempKelvin, 673.15, 1e-9);
  ClickThroughWindow(t.Radio("Celsius"));
  EXPECT_NEAR(Number(t, "Result"), 400.0, 1e-9);
  EXPECT_EQ(Text(t, "StaticText4"), "\u02DACelsius");
  // The result's unit: a new calculation shows in degrees C too.
  Press(t);
  EXPECT_NEAR(Number(t, "Result"), 400.0, 1e-9);
  Screenshot(t, "TemperatureWindow-result");
}

TEST_F(PvtWindows, BelowTheCovolumeThePressureIsZeroAndNoTemperatureSolves) {
  Pure(Globals::CO2);  // b is about 29.7 cm3/mol
  auto& p = Pressure("20", "300");
  EXPECT_EQ(Text(p, "Result"), "0");
  EXPECT_EQ(Globals::MolarVolumes[0], 20.0);  // kept whatever the pressure
  EXPECT_EQ(Globals::PresMPa, 0.0);           // the pressure window stores only V
  auto& t = Calc<TemperatureWindow>("1000", Text(Pressure("1000", "300"), "Result"));
  EXPECT_NEAR(Number(t, "Result"), 300.0, 1e-9);
  Calc<TemperatureWindow>("20", "5");
  EXPECT_EQ(Text(t, "Result"), "no solution");
  EXPECT_NEAR(Globals::TempKelvin, 300.0, 1e-9);  // kept, not overwritten by a non-solution
  // The unit switches relabel; the kept 300 K is no result of V = 20, P = 5.
  for (const char* unit : {"Celsius", "Kelvin"}) {
    ClickThroughWindow(t.Radio(unit));
    EXPECT_EQ(Text(t, "StaticText4"), unit == std::string("Kelvin") ? "Kelvin" : "\u02DACelsius");
    EXPECT_EQ(Text(t, "Result"), "no solution") << unit;
  }
  // A temperature stored by another window is shown again, also one equal
  // to the temperature kept at the failure.
  Volume("10", "350");
  Calc<TemperatureWindow>("20", "5");
  Volume("10", "350");
  ClickThroughWindow(t.Radio("Celsius"));
  EXPECT_EQ(Text(t, "Result"), Str(350.0 - 273.15));
}

// A cleared composition is an ideal gas of nothing: no pressure, no
// temperature, no excess volume, no density and no isochore.
TEST_F(PvtWindows, AnEmptyCompositionHasNoSolution) {
  SetMixture({});
  EXPECT_EQ(Text(Pressure("1000", "300"), "Result"), "no solution");
  Globals::TempKelvin = 400.0;
  auto& t = Calc<TemperatureWindow>("1000", "2.4943416");
  EXPECT_EQ(Text(t, "Result"), "no solution");
  EXPECT_EQ(Globals::TempKelvin, 400.0);
  auto& v = Volume("10", "300");
  for (int k = 0; k < 3; ++k) {
    const std::string n = std::to_string(k);
    EXPECT_EQ(Text(v, ("TextChoice" + n).c_str()), "no solution") << k;  // not 0, 0 and RT/P
    ClickThroughWindow(v.Radio("Choice" + n));
    for (const char* result : {"Result", "ExcessVol", "DensityResult"}) {
      EXPECT_EQ(Text(v, result), "no solution") << k << " " << result;
    }
  }
  auto& w = Range("20", "30", "10");
  Press(w);
  EXPECT_EQ(Rows(w), (std::vector<std::string>{"20, no solution", "30, no solution"}));
}

// ---- Volume ----

TEST_F(PvtWindows, VolumeRootsOfNitrogenAtTenMegapascal) {
  Pure(Globals::N2);
  auto& w = Volume("10", "300");
  EXPECT_EQ(Globals::TempKelvin, 300.0);
  EXPECT_EQ(Globals::PresMPa, 10.0);
  // One real root, near the ideal RT/P = 249.4 cm3/mol, and a complex pair
  // with imaginary parts of opposite sign.
  const double V = Globals::MolarVolumes[0];
  EXPECT_NEAR(V / (R * 300 / 10), 1.0, 0.02);
  EXPECT_EQ(Text(w, "TextChoice0"), Str(V));
  for (const char* row : {"TextChoice1", "TextChoice2"}) {
    const std::string text = Text(w, row);
    EXPECT_NE(text.find(" and "), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 3), "\u00B7i") << text;
  }
  EXPECT_NE(Text(w, "TextChoice1").find(" and -") != std::string::npos,
            Text(w, "TextChoice2").find(" and -") != std::string::npos);
  EXPECT_EQ(Globals::MolarVolumes[1], 0.0);
  EXPECT_EQ(Globals::MolarVolumes[2], 0.0);

  ClickThroughWindow(w.Radio("Choice1"));
  for (const char* r : {"Result", "ExcessVol", "DensityResult"}) EXPECT_EQ(Text(w, r), "0") << r;
  ClickThroughWindow(w.Radio("Choice0"));
  EXPECT_EQ(Text(w, "Result"), Str(V));
  EXPECT_NEAR(Number(w, "DensityResult"), kMassN2 / V, 1e-14);
  EXPECT_EQ(Text(w, "ExcessVol"), "0");  // a pure gas has no excess
  Screenshot(w, "VolumeWindow-roots");

  // A new calculation turns the root off and empties the results.
  Press(w);
  EXPECT_FALSE(w.Radio("Choice0").Value());
  for (const char* r : {"Result", "ExcessVol", "DensityResult"}) EXPECT_EQ(Text(w, r), "") << r;
  // Clear empties the texts but a root chosen now still computes from the
  // last calculation.
  Press(w, "Clear");
  for (const char* t : {"TextChoice0", "TextChoice1", "TextChoice2", "Result"}) EXPECT_EQ(Text(w, t), "");
  ClickThroughWindow(w.Radio("Choice0"));
  EXPECT_EQ(Text(w, "Result"), Str(V));
  EXPECT_NEAR(Number(w, "DensityResult"), kMassN2 / V, 1e-14);
}

TEST_F(PvtWindows, VolumeOfAMixtureHasAnExcess) {
  SetMixture({{Globals::H2O, 0.5}, {Globals::CO2, 0.5}});
  auto& w = Volume("10", "600");
  ClickThroughWindow(w.Radio("Choice0"));
  const double V = Globals::MolarVolumes[0];
  EXPECT_GT(V, 0.0);
  const double excess = Number(w, "ExcessVol");
  EXPECT_NE(excess, 0.0);
  // Smaller than the volume itself: a correction, not a second volume.
  EXPECT_LT(std::fabs(excess), 0.5 * V);
  EXPECT_NEAR(Number(w, "DensityResult"), (0.5 * 18.01528 + 0.5 * kMassCO2) / V, 1e-14);
  Screenshot(w, "VolumeWindow-result");
}

TEST_F(PvtWindows, VolumeAtZeroKelvinStoresNoNaN) {
  Pure(Globals::N2);
  Globals::MolarVolumes = {1.0, 2.0, 3.0, 4.0};
  auto& w = Volume("10", "");  // an empty temperature in kelvin
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(Globals::MolarVolumes[k], 0.0) << k;
    EXPECT_EQ(Text(w, ("TextChoice" + std::to_string(k)).c_str()), "no solution");
  }
  EXPECT_EQ(Globals::MolarVolumes[3], 4.0);  // never touched
  ClickThroughWindow(w.Radio("Choice0"));
  EXPECT_EQ(Text(w, "DensityResult"), "0");
  // The isochore's volume, density and file name stay numbers.
  auto& iso = shared<Isochore>();
  Activate(iso);
  EXPECT_EQ(Text(iso, "ResultV"), "0");
  EXPECT_EQ(Text(iso, "ResultV1"), "0");
  // An empty pressure: Volume gives all zeros.
  Volume("", "300");
  for (int k = 0; k < 3; ++k) EXPECT_EQ(Text(w, ("TextChoice" + std::to_string(k)).c_str()), "0");
}

// ---- Isochore ----

TEST_F(PvtWindows, IsochoreOfCarbonDioxideAtUnitDensityInTableAndFile) {
  Pure(Globals::CO2);
  auto& p = Pressure("44.0098", "300");
  Press(p, "PushButton1");
  Isochore* w = existing<Isochore>();
  ASSERT_NE(w, nullptr);
  Activate(*w);
  EXPECT_EQ(Text(*w, "ResultV"), "44.0098");
  EXPECT_EQ(Text(*w, "ResultV1"), "1");

  // A step that does not add up exactly: the table and the file still have
  // the same four points.
  Range("169.9", "170.05", "0.05");
  Press(*w);
  const auto rows = Rows(*w);
  ASSERT_EQ(rows.size(), 4u);
  Screenshot(*w, "Isochore-table");
  ExportFolder folder;
  Press(*w, "Export");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 1);  // 44.0098.txt alone
  std::vector<std::string> expected{"Modified Redlich-Kwong equation of state",
                                    "reference: Brennick (1977)", "Temperature, Pressure",
                                    "(Celsius), (MPa)"};
  expected.insert(expected.end(), rows.begin(), rows.end());
  EXPECT_EQ(folder.Lines("44.0098.txt"), expected);
  // Each row is the pressure at that temperature, as the pressure window has it.
  const char* celsius[] = {"169.9", "169.95", "170", "170.05"};
  for (int i = 0; i < 4; ++i) {
    Pressure("44.0098", celsius[i], "Celsius");
    EXPECT_EQ(rows[i], celsius[i] + std::string(", ") + Text(p, "Result"));
  }
}

TEST_F(PvtWindows, IsochoreKeepsItsTableOnFaultyFieldsAndEmptiesItOnActivation) {
  Pure(Globals::CO2);
  Globals::MolarVolumes[0] = 100.0;
  auto& w = Range("20", "30", "5");
  Press(w);
  const auto before = Rows(w);
  EXPECT_EQ(before.size(), 3u);
  Range("-300", "-400", "0");
  Press(w);
  for (const char* f : {"minimum", "maximum", "interval"}) EXPECT_EQ(w.Field(f).Text(), "put number") << f;
  EXPECT_EQ(Rows(w), before);
  // Coming back from another window empties the table and shows the volume
  // stored meanwhile; the range stays.
  Activate(Volume("10", "400"));
  Activate(w);
  EXPECT_EQ(w.List("ListBox1").ListCount(), 0);
  EXPECT_EQ(Text(w, "ResultV"), Str(Globals::MolarVolumes[0]));
  EXPECT_EQ(w.Field("maximum").Text(), "put number");
}

TEST_F(PvtWindows, TableAndExportRefuseRangesThatFailOrNeverEnd) {
  Pure(Globals::CO2);
  Globals::MolarVolumes[0] = 100.0;
  ExportFolder folder;
  struct Case {
    const char *min, *max, *step, *button, *faulty;
  };
  for (const Case& c : {Case{"0", "1000", "1e-7", "calculate", "interval"},  // 1e10 rows
                        Case{"0", "1000", "1e-7", "Export", "interval"},
                        Case{"-300", "30", "5", "Export", "minimum"},  // below 0 K: NaN pressures
                        // No range: a header-only file looked like success.
                        Case{"40", "30", "5", "Export", "maximum"}}) {
    auto& w = Range(c.min, c.max, c.step);
    Press(w, c.button);
    EXPECT_EQ(w.Field(c.faulty).Text(), "put number") << c.min << ' ' << c.step << ' ' << c.button;
    EXPECT_EQ(w.List("ListBox1").ListCount(), 0);
  }
  EXPECT_TRUE(folder.Empty());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(PvtWindows, ARefusedExportSaysWhyAndWritesNothing) {
  Pure(Globals::CO2);
  ExportFolder folder;
  // A volume that is no number would name the file "nan.txt".
  Globals::MolarVolumes[0] = std::nan("");
  auto& w = Range("20", "30", "5");
  EXPECT_EQ(Text(w, "ResultV"), "no solution");
  EXPECT_EQ(Text(w, "ResultV1"), "0");
  Press(w, "Export");
  EXPECT_TRUE(folder.Empty());
  auto messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("not a number"), std::string::npos) << messages[0];
  CloseMessages();

  // A folder that takes no file. Permissions do not stop root; /proc takes
  // no new file from anybody.
  Globals::MolarVolumes[0] = 100.0;
  fs::path unwritable = folder.Path() / "locked";
  fs::create_directory(unwritable);
  fs::permissions(unwritable, fs::perms::owner_read | fs::perms::owner_exec);
  if (::geteuid() == 0) unwritable = "/proc";
  fs::current_path(unwritable);
  Press(w, "Export");
  fs::current_path(folder.Path());
  messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find((unwritable / "100.txt").string()), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("cannot create a file"), std::string::npos) << messages[0];
  EXPECT_FALSE(fs::exists(unwritable / "100.txt"));
  fs::permissions(folder.Path() / "locked", fs::perms::owner_all);
  EXPECT_TRUE(fs::is_empty(folder.Path() / "locked"));
  Screenshot(w, "Isochore-export-refused");
}

// ---- Events during a long table ----

TEST_F(PvtWindows, ASecondPressDuringALongTableRunsAfterIt) {
  Pure(Globals::N2);
  Globals::MolarVolumes[0] = 1000.0;
  auto& w = Range("0", "1000", "1");
  auto& p = shared<PressureWindow>();
  Type(p.Field("dataEntry"), "2000");
  Type(p.Field("dataEntry1"), "300");
  bool clickedInside = false;
  PressDuringFirstPass(w, "calculate", [&] {
    clickedInside = Dispatcher::InBackground() && w.List("ListBox1").ListCount() < 1001;
    w.Field("interval").setText("2");
    p.Button("calculate").click();  // writes MolarVolumes(0)
    w.Button("calculate").click();
  });
  EXPECT_TRUE(clickedInside);
  EXPECT_EQ(Globals::MolarVolumes[0], 2000.0);
  // The second table, whole and alone, at the volume it found when it ran.
  const auto rows = Rows(w);
  ASSERT_EQ(rows.size(), 501u);
  EXPECT_EQ(rows[1].substr(0, 3), "2, ");
  Screenshot(w, "Isochore-result");
  Pressure("2000", "1000", "Celsius");
  EXPECT_EQ(rows[500], "1000, " + Text(p, "Result"));
}

TEST_F(PvtWindows, ClosingTheIsochoreDuringItsTableOrExportIsSafe) {
  Pure(Globals::N2);
  Globals::MolarVolumes[0] = 1000.0;
  ExportFolder folder;
  for (const char* button : {"calculate", "Export"}) {
    auto& w = Range("0", "1000", "1");
    QPointer<Isochore> watch(&w);
    PressDuringFirstPass(w, button, [&w] { w.close(); });
    EXPECT_TRUE(watch.isNull()) << button;
  }
  // The export finished its file.
  EXPECT_EQ(folder.Lines("1000.txt").size(), 4u + 1001u);
}

}  // namespace
