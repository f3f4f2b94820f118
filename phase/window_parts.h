// What the two phase windows share: their list kinds, the first-approach
// lists and their cell editing, and the result lists.
#pragma once

#include <optional>
#include <string>

#include "core/globals.h"
#include "framework/spec.h"
#include "framework/window.h"

namespace phase {

// A computed number as shown; nothing for a value that is none or no
// number (the message line says why).
std::string Shown(double v);
std::string Shown(const std::optional<double>& v);

// Two columns (gas, value) of 40 % and 60 %, 14 pt italic; one column of a
// single value, 16 pt.
framework::Spec TwoColumnList(const std::string& name);
framework::Spec OneColumnList(const std::string& name);

// Empties `list` (closing an open cell editor first) and adds one row.
void ShowSingle(framework::Window& w, const char* list, const std::string& text);

// One row per component with z_i != 0, in GasIndex order: the gas name and
// its value, or an empty cell where there is none.
void ShowPerGas(framework::Window& w, const char* list, const Globals::GasArray& z,
                const std::array<std::optional<double>, Globals::kGases>& values);
void ShowPerGas(framework::Window& w, const char* list, const Globals::GasArray& z,
                const Globals::GasArray& values);

// Rows deleted, any open cell editor closed first.
void EmptyList(framework::Window& w, const char* list);

// The first-approach lists ListBoxPhaseX/ListBoxPhaseY from xgas and ygas.
void FillFirstApproachLists(framework::Window& w);

// A click anywhere in a row opens its value cell for editing; rows outside
// the list are ignored.
void OpenValueCell(framework::Window& w, const char* list, int row);
// The edited value of the row's gas into `phase`; rows outside the list and
// unknown names change nothing.
void TakeEditedValue(framework::Window& w, const char* list, int row, Globals::GasArray& phase);

}  // namespace phase
