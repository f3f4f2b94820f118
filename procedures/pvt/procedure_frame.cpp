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


void ShowInField(Window& w, const char* field, const std::string& text) {
  EditFieldControl& f = w.Field(field);
  f.SetText(text);
  f.setCursorPosition(0);
}

void ScrollContent(Window& w) {
  Control& content = w.Get<Control>("Rectangle1");
  content.SetTop(-w.Scroll("ScrollBar1").Value());
  content.Widget().update();
}

void FitScrollBar(Window& w, int contentHeight) {
  const int h = w.Content().height();
  ScrollBarControl& bar = w.Scroll("ScrollBar1");
  bar.SetHeight(h - 15);
  bar.SetMaximum(contentHeight - h);
}

Spec KelvinRadio() { return RadioButton("Kelvin").Caption(kInK).Size(12).On(); }
Spec CelsiusRadio() { return RadioButton("Celsius").Caption(kInCelsius).Size(12); }

}  // namespace pvt
