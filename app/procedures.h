// The procedures of the procedure list, in screen order: the radio button
// that chooses each one and how its window is opened. A procedure whose
// window is not part of the program yet opens nothing.
#pragma once

#include <array>

namespace app {

struct Procedure {
  const char* radio;   // the radio button of the procedure list
  void (*open)();      // shows the procedure's window; nullptr: none yet
};

const std::array<Procedure, 15>& Procedures();

}  // namespace app
