// The chemical potential of every present gas at a chosen molar-volume root.
#pragma once

#include "procedures/pvt/root_panel.h"

namespace thermo {

class ChemPotWindow : public pvt::RootPanelWindow {
 public:
  ChemPotWindow();
  void Event_Activate();

 protected:
  void Layout() override;
  void CreateControls() override;
  void ShowRoot(const pvt::ChosenRoot& root) override;
};

}  // namespace thermo
