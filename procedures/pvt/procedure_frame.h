// What the procedure windows share: reading a typed temperature in the unit
// that the Kelvin/Celsius pair selects, relabelling its unit, the pair's
// records, a number shown in a field, and content that scrolls.
#pragma once

#include <string>

#include "core/globals.h"
#include "framework/spec.h"
#include "framework/window.h"
#include "procedures/pvt/texts.h"

namespace pvt {

// The temperature in K typed into `field`, by two independent tests in this
// order: Celsius on gives Val + 273.15, then Kelvin on gives Val. With neither
// on, `unchanged` is returned.
double TypedKelvin(const framework::Window& w, double unchanged, const char* field = "dataEntry1");

// The unit radios' handlers: relabel `label` for the radio that is on. Nothing
// typed or shown is converted.
void KelvinChosen(const framework::Window& w, const char* label = "StaticText3");
void CelsiusChosen(const framework::Window& w, const char* label = "StaticText3");

// Writes a number into an edit field so that it shows from its first digit.
void ShowInField(framework::Window& w, const char* field, const std::string& text);

// A content taller than its window lies in "Rectangle1", which "ScrollBar1"
// moves; on resizing the bar takes the window's height less 15 and scrolls
// over what the window cannot show of `contentHeight`.
void ScrollContent(framework::Window& w);
void FitScrollBar(framework::Window& w, int contentHeight);

// The records of the unit pair, 12 pt, Kelvin on at start.
framework::Spec KelvinRadio();
framework::Spec CelsiusRadio();

}  // namespace pvt
