// The thermodynamic-function windows: internal energy, enthalpy, entropy,
// Helmholtz and Gibbs energy of the mixture at a chosen molar-volume root,
// with their ideal-mixture and excess parts. One window class over one
// control table; each member supplies its function, texts, names and
// geometry.
#pragma once

#include <string>

#include "framework/picture.h"
#include "procedures/pvt/root_panel.h"
#include "procedures/thermo/thermo_values.h"

namespace thermo {

// The literature credit under the formula, and the note on the standard state
// (three lines joined by carriage returns), of every window of this folder.
inline const std::string kCredit = "see Kellavan et al. (1986)";
inline const std::string kStandardState =
    "Standard state conditions: 298.15 K and 0.1 MPa\r"
    "between 298.15 and T (at 0.1 MPa): Ideal Gas Mixture\r"
    "Thermomdynamic data Vennick et al. (1979)";

struct Point {
  int left, top;
};

// What one window of the five has of its own.
struct ThermoMember {
  ThermoFunction function;

  // Texts.
  const char* title;
  const char* heading;      // names the kind of formula the picture shows
  const char* labels[3];    // beside Result1, Result2, Result3
  const char* unit;         // of Result1 to Result3
  bool delta;               // "∆" before the first label: a relative function

  // Names that differ by member.
  const char* labelNames[3];
  const char* unitNames[2];  // units of Result2 and Result3 (Result1's is StaticText9)
  const char* noteName;      // the standard-state note
  const char* footnoteName;  // the root group's footnote

  // Window and picture.
  int width, height;
  framework::PicturePtr (*picture)();
  int canvasLeft, canvasWidth, canvasHeight;

  // Geometry.
  int headingWidth;
  Point credit;
  int pressureTop, temperatureTop;
  int unitGroupTop, kelvinTop;  // GroupBox1 and the Kelvin radio
  Point calculate;
  Point rootGroup;              // GroupBox2
  int radiosLeft;
  int footnoteTop;
  int boxTop, boxWidth;         // RoundRectangle1
  int rowTops[4];               // molar volume, total, ideal, excess
  int label1Left, label1Width;
  int labelWidth;               // labels of Result2 and Result3
  int molarVolumeWidth;         // label "Molar Volume"
  int valueLeft;
  int unitLeft, cm3Width, unitWidth;
  Point note;
  int lowHeight;                // Result2 and the units of Result2 and Result3
};

const ThermoMember& MemberOf(ThermoFunction f);

class ThermoWindow : public pvt::RootPanelWindow {
 protected:
  explicit ThermoWindow(const ThermoMember& member);

  void Layout() override;
  void CreateControls() override;
  void ShowRoot(const pvt::ChosenRoot& root) override;

 private:
  const ThermoMember& m_;
};

// One class, and so one shared instance, per function.
template <ThermoFunction F>
class FunctionWindow final : public ThermoWindow {
 public:
  FunctionWindow() : ThermoWindow(MemberOf(F)) {}
};

using EnergyWindow = FunctionWindow<ThermoFunction::Energy>;
using EnthalpyWindow = FunctionWindow<ThermoFunction::Enthalpy>;
using EntropyWindow = FunctionWindow<ThermoFunction::Entropy>;
using HelmholtzWindow = FunctionWindow<ThermoFunction::Helmholtz>;
using GibbsWindow = FunctionWindow<ThermoFunction::Gibbs>;

}  // namespace thermo
