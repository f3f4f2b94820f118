#include "procedures/pvt/procedure_frame.h"

#include "framework/runtime.h"

namespace pvt {

using namespace framework;

double TypedKelvin(const Window& w, double unchanged, const char* field) {
  double T = unchanged;
  if (w.Radio("Celsius").Value()) T = Val(w.Field(field).Text()) + kCelsiusOffset;
  if (w.Radio("Kelvin").Value()) T = Val(w.Field(field).Text());
  return T;
}

void KelvinChosen(const Window& w, const char* label) {
  if (w.Radio("Kelvin").Value()) w.Label(label).SetText(kKelvinText);
}

void CelsiusChosen(const Window& w, const char* label) {
  if (w.Radio("Celsius").Value()) w.Label(label).SetText(kCelsiusText);
}

Spec KelvinRadio() { return RadioButton("Kelvin").Caption(kInK).Size(12).On(); }
Spec CelsiusRadio() { return RadioButton("Celsius").Caption(kInCelsius).Size(12); }

}  // namespace pvt
