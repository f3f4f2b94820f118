// The two phase-equilibrium windows. Both scroll their content, one white
// rectangle taller than the window, and share the first-approach
// compositions (xgas, ygas) and distribution coefficients (K_liq_vap).
#pragma once

#include "framework/window.h"

namespace phase {

// What the two windows handle alike: the first-approach cells, the unit
// radios and the scrolled content of `contentHeight` pixels.
class PhaseWindow : public framework::Window {
 public:
  bool ListBoxPhaseX_CellClick(int row, int column, int x, int y);
  void ListBoxPhaseX_CellTextChange(int row, int column);
  bool ListBoxPhaseY_CellClick(int row, int column, int x, int y);
  void ListBoxPhaseY_CellTextChange(int row, int column);
  void Kelvin_Action();
  void Celsius_Action();
  void ScrollBar1_ValueChanged();
  void Event_Resizing();

 protected:
  explicit PhaseWindow(int contentHeight) : contentHeight_(contentHeight) {}

 private:
  int contentHeight_;
};

// "Bubble-Dew point": the homogenisation pressure at a given temperature, or
// temperature at a given pressure, into the liquid (bubble) or the vapour
// (dew).
class BubbleDewPoint : public PhaseWindow {
 public:
  BubbleDewPoint();
  void RadioButtonTh_Action();
  void RadioButtonPh_Action();
  void calculate_Action();
  void Vapour1_Action();
  void Liquid1_Action();
  void FirstApproach_Action();
  void Clear_Action();

 protected:
  void Layout() override;
  void CreateControls() override;

 private:
  // The temperature (K) and pressure (MPa) of this window's last first
  // approach: the given value of its search, whatever other windows have
  // stored in TempKelvin and PresMPa since.
  double approachT_ = 0.0, approachP_ = 0.0;
};

// "Liquid-Vapour Equilibrium": the pressure and the two phases of the
// mixture at a given molar volume and temperature.
class LiquidVapourEq : public PhaseWindow {
 public:
  LiquidVapourEq();
  void calculate_Action();
  void CalFirstApproach_Action();
  void Clear_Action();

 protected:
  void Layout() override;
  void CreateControls() override;
};

}  // namespace phase
