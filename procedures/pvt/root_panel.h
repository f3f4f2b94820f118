// The molar-volume root panel: a pressure and a temperature in, the three
// roots of the cubic in V out, stored in MolarVolumes and offered for choice
// by three radios. Windows that carry it derive from RootPanelWindow, place
// its controls in their own tables (the records below give the settings they
// share), and say which controls hold their results, which test a chosen
// root must pass before it is computed with, and what a chosen root shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/globals.h"
#include "framework/spec.h"
#include "framework/window.h"

namespace pvt {

// The test a root handler makes of MolarVolumes(k) before it computes.
enum class RootTest {
  NonZero,   // any value but 0.0 (a complex root is stored as 0.0)
  Positive,  // above 0
  None,      // every root is computed with
};

// When calculate empties the window's result controls: after the three rows
// are written, or right after the roots come back, before the root radios
// are switched off. Either way the window ends up showing the same thing.
enum class EmptyResults { AfterRows, BeforeRadios };

struct RootPanelOptions {
  // Emptied by calculate and by clear: a static text or an edit field gets
  // the empty text, a list box loses its rows.
  std::vector<std::string> results;
  RootTest test = RootTest::NonZero;
  EmptyResults when = EmptyResults::AfterRows;
};

// The chosen root and the state it is computed at, read once when the root
// handler starts, so that every step of a choice uses the same values.
struct ChosenRoot {
  int k = 0;
  double V = 0.0;  // MolarVolumes(k), cm3/mol
  double T = 0.0;  // TempKelvin, K
  double P = 0.0;  // PresMPa, MPa
  Globals::GasArray x{};
  std::int32_t model = 0;
  bool passes = false;  // the window's RootTest
};

// The text of root row k and the value stored for it. A real root (imaginary
// part exactly 0) shows its value; a complex one "re and im·i" and is stored
// as 0.0; a root that is not a finite number shows "no solution" and is stored
// as 0.0 too.
std::string RootRowText(double re, double im);
double StoredRoot(double re, double im);

class RootPanelWindow : public framework::Window {
 public:
  void calculate_Action();
  void Kelvin_Action();
  void Celsius_Action();
  void Choice0_Action() { Choose(0); }
  void Choice2_Action() { Choose(2); }
  void Choice1_Action() { Choose(1); }
  void Clear_Action();

 protected:
  explicit RootPanelWindow(RootPanelOptions options) : options_(std::move(options)) {}

  // Shows what root `root.k` gives; runs only when its radio is on.
  virtual void ShowRoot(const ChosenRoot& root) = 0;
  // Choices made after the root (a window may have more): calculate and
  // clear switch them off right after the root radios.
  virtual void SwitchOffLaterChoices() {}

  // Counts the presses and choices that change what the window shows
  // (calculate, clear, a root; a window adds its own). A handler whose
  // computation let events through lists its rows only if nothing else ran
  // meanwhile: what ran later has the last word.
  unsigned Generation() const { return generation_; }
  void NextGeneration() { ++generation_; }

  // Settings every carrier of the panel shares; the window adds the place.
  static framework::Spec RootRadio(int k);           // "Choice<k>", no caption
  static framework::Spec RootText(int k);            // "TextChoice<k>", 14 pt italic
  static framework::Spec RootGroup();                // "GroupBox2" with its caption
  static framework::Spec Footnote(const std::string& name);  // 10 pt italic, multi-line
  static framework::Spec ClearButton();              // "Clear", 10 pt

 private:
  void Choose(int k);
  void EmptyResultControls();

  RootPanelOptions options_;
  unsigned generation_ = 0;
};

}  // namespace pvt
