// The fugacity and activity procedure windows. Both carry the molar-volume
// root panel; the fugacity window lists fugacities as soon as a root is
// chosen, the activity window once a standard state is chosen as well and
// "continue" is pressed.
#pragma once

#include <optional>

#include "procedures/fugacity/activity.h"
#include "procedures/pvt/root_panel.h"

namespace fugacity {

// Adds one row per component to `list`: the gas, its value and its
// coefficient.
void ListRows(framework::ListboxControl& list, const std::vector<ComponentRow>& rows);

// Fugacity (MPa) and fugacity coefficient of every present gas at the chosen
// root.
class FugacityWindow : public pvt::RootPanelWindow {
 public:
  FugacityWindow();
  void Event_Activate();

 protected:
  void Layout() override;
  void CreateControls() override;
  void ShowRoot(const pvt::ChosenRoot& root) override;
};

// Activity and activity coefficient of every present gas against one of
// three standard states. The content (800 high) lies in one rectangle that a
// scroll bar moves.
class ActivityWindow : public pvt::RootPanelWindow {
 public:
  ActivityWindow();
  void StandardChoice0_Action();
  void StandardChoice2_Action();
  void StandardChoice1_Action();
  void PushButton1_Action();
  void ScrollBar1_ValueChanged();
  void Event_Activate();
  void Event_Resizing();

  static constexpr int kContentHeight = 800;

 protected:
  void Layout() override;
  void CreateControls() override;
  void ShowRoot(const pvt::ChosenRoot& root) override;
  void SwitchOffLaterChoices() override;

 private:
  std::optional<StandardState> ChosenState() const;
};

}  // namespace fugacity
