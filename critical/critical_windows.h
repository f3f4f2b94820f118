// The windows of the stability analysis: the spinodal at a typed molar
// volume, the critical point with the pseudo-critical conditions, the table
// of the analysis over 250 molar volumes, and the page that explains the
// pseudo-critical conditions. Each composition is copied once per handler.
#pragma once

#include "framework/window.h"

namespace critical {

// The spinodal temperature and pressure at a typed molar volume.
class SpinodalWindow : public framework::Window {
 public:
  void calculate_Action();
  void Kelvin_Action();
  void Celsius_Action();
  void Clear_Action();

 protected:
  void Layout() override;
  void CreateControls() override;

 private:
  bool calculated_ = false;  // a unit switch shows a failure only after a calculation
};

// The pseudo-critical conditions (on every activation) and the critical
// point search from two first-guess molar volumes.
class CriticalPointWindow : public framework::Window {
 public:
  void calculate_Action();
  void Kelvin_Action();
  void Celsius_Action();
  void Analysis_Action();
  void pseudo_Action();
  void Event_Activate();

 protected:
  void Layout() override;
  void CreateControls() override;

 private:
  bool calculated_ = false;  // a unit switch shows a failure only after a calculation
};

// Spinodal temperature, pressure and critical function over 250 molar
// volumes from a little above the co-volume.
class MathAnal : public framework::Window {
 public:
  void calculate_Action();
  void Event_Activate();

 protected:
  void Layout() override;
  void CreateControls() override;
};

// A static page of formulas.
class Explain : public framework::Window {
 protected:
  void Layout() override;
  void CreateControls() override;
};

}  // namespace critical
