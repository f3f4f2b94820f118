// The presence test of a component, on the fixed-point scale of the
// composition window (one conversion for the whole program).
#pragma once

#include <cstdint>

#include "core/globals.h"
#include "framework/runtime.h"

namespace Globals::detail {

using Globals::FixedPoint;

// Entropy, Helmholtz, Gibbs, IdealGas and ChemicalPotential count a
// component when its count is positive (Excess counts any non-zero one).
inline bool Present(double fraction) { return FixedPoint(fraction) > 0; }

}  // namespace Globals::detail
