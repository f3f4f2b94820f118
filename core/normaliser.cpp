#include "core/globals.h"
#include "framework/runtime.h"

namespace Globals {

double Normaliser(GasArray& x) {
  // The counts live in a private array: IntegerFraction holds the fractions
  // the user typed and must survive a phase calculation.
  IntegerArray counts{};
  std::int64_t s = 0;
  bool valid = true;
  const double scale = RuntimeCvtSInt64ToReal64(PrecisionFactor);
  for (int i = 0; i < kGases; ++i) {
    const double product = scale * x[i];
    // A product outside the int64 range has no count (a NaN counts 0, as the
    // conversion has it).
    if (product >= 9223372036854775808.0 || product < -9223372036854775808.0) valid = false;
    counts[i] = RuntimeCvtReal64ToSInt64(product);
    if (__builtin_add_overflow(s, counts[i], &s)) valid = false;
    RuntimeBackgroundTask();
  }
  if (!valid || s <= 0) return 0.0;

  if (s != PrecisionFactor) {
    const double sum = RuntimeCvtSInt64ToReal64(s);
    for (int i = 0; i < kGases; ++i) {
      x[i] = RuntimeCvtSInt64ToReal64(counts[i]) / sum;
      RuntimeBackgroundTask();
    }
  }
  return RuntimeCvtSInt64ToReal64(s) / RuntimeCvtSInt64ToReal64(PrecisionFactor);
}

}  // namespace Globals
