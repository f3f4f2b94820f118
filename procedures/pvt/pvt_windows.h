// The procedure windows of pressure, temperature and molar volumes, and the
// isochore window that the pressure window opens.
#pragma once

#include <optional>

#include "framework/window.h"
#include "procedures/pvt/isochore_points.h"
#include "procedures/pvt/root_panel.h"

namespace pvt {

// The pressure at a typed molar volume and temperature; the volume is kept in
// MolarVolumes(0) for the isochore, which PushButton1 opens.
class PressureWindow : public framework::Window {
 public:
  void calculate_Action();
  void Kelvin_Action();
  void Celsius_Action();
  void Clear_Action();
  void PushButton1_Action();

 protected:
  void Layout() override;
  void CreateControls() override;
};

// The temperature at a typed molar volume and pressure, kept in TempKelvin
// and shown in the unit its radio pair selects; a unit switch shows the
// temperature kept last, by whichever window, except that a failure of this
// window's calculation stays until a temperature is stored again.
class TemperatureWindow : public framework::Window {
 public:
  void Kelvin_Action();
  void Celsius_Action();
  void calculate_Action();
  void Clear_Action();

 protected:
  void Layout() override;
  void CreateControls() override;

 private:
  void ShowTemperature();

  // Globals::TempKelvinStores when the last calculation solved nothing.
  std::optional<std::uint64_t> storesAtFailure_;
};

// The three molar-volume roots at a typed pressure and temperature, and the
// molar volume, excess molar volume and density of the chosen one.
class VolumeWindow : public RootPanelWindow {
 public:
  VolumeWindow();

 protected:
  void Layout() override;
  void CreateControls() override;
  void ShowRoot(const ChosenRoot& root) override;
};

// The pressure along the isochore of MolarVolumes(0) over a range of
// temperatures, as a table and as a text file.
class Isochore : public framework::Window {
 public:
  void calculate_Action();
  void Export_Action();
  void Event_Activate();

 protected:
  void Layout() override;
  void CreateControls() override;

 private:
  // Writes "put number" into each field that failed its check.
  void MarkFaults(const RangeFaults& faults);
  // The range of the three fields, or nothing (and the faulty fields marked).
  std::optional<IsochoreRange> CheckedRange();
};

}  // namespace pvt
