// The four windows of the set-up sequence: the start screen, the parameter
// set for a, the composition, and the list of procedures.
#pragma once

#include <string>

#include "framework/window.h"

namespace app {

class Start1Window : public framework::Window {
 public:
  void continue1_Action();

 protected:
  void Layout() override;
  void CreateControls() override;
};

class Start1aWindow : public framework::Window {
 public:
  void PushButton1_Action();

 protected:
  void Layout() override;
  void CreateControls() override;
};

class Start2Window : public framework::Window {
 public:
  void H2Onumber_TextChange() { FractionChanged("H2Onumber", 0); }
  void CO2number_TextChange() { FractionChanged("CO2number", 1); }
  void CH4number_TextChange() { FractionChanged("CH4number", 9); }
  void N2number_TextChange() { FractionChanged("N2number", 2); }
  void C2H6number_TextChange() { FractionChanged("C2H6number", 10); }
  void H2Snumber_TextChange() { FractionChanged("H2Snumber", 3); }
  void NH3number_TextChange() { FractionChanged("NH3number", 4); }
  void H2number_TextChange() { FractionChanged("H2number", 5); }
  void O2number_TextChange() { FractionChanged("O2number", 6); }
  void COnumber_TextChange() { FractionChanged("COnumber", 7); }
  void continue2_Action();
  void Clear_Action();
  void Arnumber_TextChange() { FractionChanged("Arnumber", 8); }

 protected:
  void Layout() override;
  void CreateControls() override;

 private:
  // The one TextChange handler of the eleven fields.
  void FractionChanged(const char* field, int gas);
};

class Start3Window : public framework::Window {
 public:
  void PushButton1_Action();

 protected:
  void Layout() override;
  void CreateControls() override;
};

// The text of the sum box when the fractions cannot be taken.
inline const std::string kAdjustFractions = "adjust fractions!";

}  // namespace app
