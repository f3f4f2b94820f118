#include "phase/window_parts.h"

#include <cmath>

#include "framework/runtime.h"
#include "phase/phase_windows.h"
#include "procedures/pvt/procedure_frame.h"
#include "procedures/pvt/texts.h"

namespace phase {

using namespace framework;

std::string Shown(double v) { return std::isfinite(v) ? Str(v) : std::string(); }

std::string Shown(const std::optional<double>& v) { return v ? Shown(*v) : std::string(); }

Spec TwoColumnList(const std::string& name) {
  return Listbox(name)
      .Size(14)
      .Italic()
      .Set("ColumnCount", 2)
      .Set("ColumnWidths", std::string("40%, 60%"))
      .Set("GridLinesVertical", 1);
}

Spec OneColumnList(const std::string& name) {
  return Listbox(name).Size(16).Set("ScrollBarVertical", false);
}

void EmptyList(Window& w, const char* list) {
  ListboxControl& l = w.List(list);
  l.CloseCellEditor();
  l.DeleteAllRows();
}

void ShowSingle(Window& w, const char* list, const std::string& text) {
  EmptyList(w, list);
  w.List(list).AddRow(text);
}

namespace {

template <class Value>
void Rows(Window& w, const char* list, const Globals::GasArray& z, const Value& value) {
  ListboxControl& l = w.List(list);
  for (int i = 0; i < Globals::kGases; ++i) {
    // A negative fraction is listed too.
    if (z[i] != 0.0) {
      l.AddRow(" ");
      l.SetCell(l.LastIndex(), 0, pvt::kGasNames[i]);
      l.SetCell(l.LastIndex(), 1, Shown(value(i)));
    }
    RuntimeBackgroundTask();
  }
}

}  // namespace

void ShowPerGas(Window& w, const char* list, const Globals::GasArray& z,
                const std::array<std::optional<double>, Globals::kGases>& values) {
  Rows(w, list, z, [&values](int i) { return values[i]; });
}

void ShowPerGas(Window& w, const char* list, const Globals::GasArray& z, const Globals::GasArray& values) {
  Rows(w, list, z, [&values](int i) { return values[i]; });
}

void FillFirstApproachLists(Window& w) {
  EmptyList(w, "ListBoxPhaseX");
  EmptyList(w, "ListBoxPhaseY");
  ShowPerGas(w, "ListBoxPhaseX", Globals::fraction, Globals::xgas);
  ShowPerGas(w, "ListBoxPhaseY", Globals::fraction, Globals::ygas);
}

void OpenValueCell(Window& w, const char* list, int row) {
  ListboxControl& l = w.List(list);
  if (row < 0 || row >= l.ListCount()) return;
  l.SetCellEditable(row, 1);
  l.EditCell(row, 1);
}

void TakeEditedValue(Window& w, const char* list, int row, Globals::GasArray& phase) {
  ListboxControl& l = w.List(list);
  // The list may have been rebuilt since the editor opened.
  if (row < 0 || row >= l.ListCount()) return;
  const std::string name = l.Cell(row, 0);
  for (int i = 0; i < Globals::kGases; ++i) {
    if (name == pvt::kGasNames[i]) {
      phase[i] = Val(l.Cell(row, 1));
      return;
    }
  }
}

// ---- The handlers both windows share ----

bool PhaseWindow::ListBoxPhaseX_CellClick(int row, int, int, int) {
  OpenValueCell(*this, "ListBoxPhaseX", row);
  return false;
}

void PhaseWindow::ListBoxPhaseX_CellTextChange(int row, int) {
  TakeEditedValue(*this, "ListBoxPhaseX", row, Globals::xgas);
}

bool PhaseWindow::ListBoxPhaseY_CellClick(int row, int, int, int) {
  OpenValueCell(*this, "ListBoxPhaseY", row);
  return false;
}

void PhaseWindow::ListBoxPhaseY_CellTextChange(int row, int) {
  TakeEditedValue(*this, "ListBoxPhaseY", row, Globals::ygas);
}

void PhaseWindow::Kelvin_Action() { pvt::KelvinChosen(*this); }

void PhaseWindow::Celsius_Action() { pvt::CelsiusChosen(*this); }

void PhaseWindow::ScrollBar1_ValueChanged() { pvt::ScrollContent(*this); }

void PhaseWindow::Event_Resizing() { pvt::FitScrollBar(*this, contentHeight_); }

}  // namespace phase
