// What the procedure windows share: reading a typed temperature in the unit
// that the Kelvin/Celsius pair selects, relabelling its unit, and the pair's
// records.
#pragma once

#include <string>

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

// The records of the unit pair, 12 pt, Kelvin on at start.
framework::Spec KelvinRadio();
framework::Spec CelsiusRadio();

}  // namespace pvt
