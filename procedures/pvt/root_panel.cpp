#include "procedures/pvt/root_panel.h"

#include <cmath>
#include <limits>

#include "framework/runtime.h"
#include "procedures/pvt/procedure_frame.h"

namespace pvt {

using namespace framework;

namespace {
const char* const kRadios[] = {"Choice0", "Choice1", "Choice2"};
const char* const kTexts[] = {"TextChoice0", "TextChoice1", "TextChoice2"};
}  // namespace

std::string RootRowText(double re, double im) {
  // A temperature at or below 0 K gives roots that are no numbers.
  if (!std::isfinite(re) || !std::isfinite(im)) return kNoSolution;
  if (im == 0.0) return Str(re);
  return Str(re) + " and " + Str(im) + "\u00B7i";
}

double StoredRoot(double re, double im) { return im == 0.0 && std::isfinite(re) ? re : 0.0; }

void RootPanelWindow::calculate_Action() {
  NextGeneration();
  Globals::StoreTempKelvin(TypedKelvin(*this, Globals::TempKelvin));
  Globals::PresMPa = Val(Field("dataEntry").Text());
  // The inputs are copied before Volume lets other events run.
  const double T = Globals::TempKelvin, P = Globals::PresMPa;
  const Globals::GasArray x = Globals::fraction;
  const std::int32_t model = Globals::Selection;
  const Globals::CubicRoots roots = Globals::Volume(x, T, P, model);

  if (options_.when == EmptyResults::BeforeRadios) EmptyResultControls();
  // Switching a radio off runs its handler, which then does nothing.
  for (const char* radio : kRadios) Radio(radio).SetValue(false);
  SwitchOffLaterChoices();
  // Nothing present has no volume: the roots of a = b = 0 (0, 0 and RT/P)
  // are those of an ideal gas of nothing.
  const bool noGas = Globals::NoGas(x);
  for (int k = 0; k < 3; ++k) {
    const double re = roots[0][k], im = roots[1][k];
    Label(kTexts[k]).SetText(noGas ? kNoSolution : RootRowText(re, im));
    Globals::MolarVolumes[k] = noGas ? 0.0 : StoredRoot(re, im);
  }
  if (options_.when == EmptyResults::AfterRows) EmptyResultControls();
}

void RootPanelWindow::Kelvin_Action() { KelvinChosen(*this); }

void RootPanelWindow::Celsius_Action() { CelsiusChosen(*this); }

void RootPanelWindow::Clear_Action() {
  NextGeneration();
  Field("dataEntry").SetText("");
  Field("dataEntry1").SetText("");
  for (const char* text : kTexts) Label(text).SetText("");
  for (const char* radio : kRadios) Radio(radio).SetValue(false);
  SwitchOffLaterChoices();
  EmptyResultControls();
}

void RootPanelWindow::Choose(int k) {
  if (!Radio(kRadios[k]).Value()) return;
  NextGeneration();
  ChosenRoot root;
  root.k = k;
  root.V = Globals::MolarVolumes[k];
  root.T = Globals::TempKelvin;
  root.P = Globals::PresMPa;
  root.x = Globals::fraction;
  root.model = Globals::Selection;
  switch (options_.test) {
    case RootTest::NonZero: root.passes = root.V != 0.0; break;
    case RootTest::Positive: root.passes = root.V > 0.0; break;
    case RootTest::None: root.passes = true; break;
  }
  // Nothing present has no volume (the shared state is read above: the
  // test lets other events run).
  if (Globals::NoGas(root.x)) root.V = std::numeric_limits<double>::quiet_NaN();
  ShowRoot(root);
}

void RootPanelWindow::EmptyResultControls() {
  for (const std::string& name : options_.results) {
    Control* c = FindControl(name);
    if (auto* label = dynamic_cast<StaticTextControl*>(c)) {
      label->SetText("");
    } else if (auto* field = dynamic_cast<EditFieldControl*>(c)) {
      field->SetText("");
    } else if (auto* list = dynamic_cast<ListboxControl*>(c)) {
      list->DeleteAllRows();
    } else {
      throw NilObjectException("no result control " + name);
    }
  }
}

Spec RootPanelWindow::RootRadio(int k) { return RadioButton(kRadios[k]); }

Spec RootPanelWindow::RootText(int k) { return StaticText(kTexts[k]).Size(14).Italic(); }

Spec RootPanelWindow::RootGroup() {
  return GroupBox("GroupBox2").Caption("select mathematical solution*").Size(16).Italic();
}

Spec RootPanelWindow::Footnote(const std::string& name) {
  return StaticText(name)
      .Text("* cubic equatons have three solutions, of which two may be complex numbers")
      .Size(10)
      .Italic()
      .Multiline();
}

Spec RootPanelWindow::ClearButton() { return PushButton("Clear").Caption("clear").Size(10); }

}  // namespace pvt
