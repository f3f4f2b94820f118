#include "procedures/fugacity/activity.h"

#include <cmath>
#include <limits>

#include "framework/runtime.h"
#include "properties/properties.h"

namespace fugacity {

using Globals::GasArray;

namespace {

constexpr double kNoNumber = std::numeric_limits<double>::quiet_NaN();

// Whether the mixture has an attraction constant at T. Without one
// Globals::Fugacities meets a logarithm that is no number; so the rows ask
// first. At T <= 0 no state is computed anyway, so only T > 0 is asked. A
// state that Fugacities cannot compute (V <= b, an empty or complex root
// stored as 0, P = 0) falls back to a coefficient of 1 and a fugacity of 0
// there, with ln phi no number: the rows show no number for it.
bool AttractionDefined(const GasArray& x, double T, std::int32_t model) {
  return !(T > 0) || std::isfinite(Globals::aMixture(x, T, model));
}

// f°_i (MPa) of pure gas i at T and the standard pressure Ps: vapour-like
// root strictly below the saturation pressure, liquid-like at or above it
// (also where the saturation line has fallen below 0, as argon's does below
// about 81.9 K). No number where the pure state cannot be computed: no root
// above the co-volume, or a coefficient out of the double range.
double PureFugacity(int i, double T, double Ps, std::int32_t model) {
  const double psat = Globals::SaturationPressure(i, T);
  GasArray e{};
  e[i] = 1.0;
  Globals::CubicRoots roots = Globals::Volume(e, T, Ps, model);
  const double V = Globals::VolumeChoice(roots, Ps < psat ? Globals::LargestRoot : Globals::SmallestRoot);
  Globals::Fugacities(e, T, Ps, V, model);
  const double f = Globals::Fugacity[i];
  if (std::isnan(Globals::LnCoefficient[i]) || !std::isfinite(f) || f == 0.0) return kNoNumber;
  return f;
}

// a = f / f°; no number where either fugacity was not computed. An ideal
// standard state of an absent gas (f° = 0 x Pref) gives 0.
double Ratio(double f, double fStandard) {
  if (!std::isfinite(f) || !std::isfinite(fStandard)) return kNoNumber;
  return fStandard != 0.0 ? f / fStandard : 0.0;
}

}  // namespace

std::vector<ComponentRow> FugacityRows(const GasArray& x, double T, double P, double V, std::int32_t model) {
  const bool defined = AttractionDefined(x, T, model);
  Globals::Fugacities(x, T, P, V, model);
  const GasArray f = Globals::Fugacity;
  const GasArray phi = Globals::Coefficient;
  const GasArray lnPhi = Globals::LnCoefficient;

  std::vector<ComponentRow> rows;
  for (int i = 0; i < Globals::kGases; ++i) {
    if (x[i] > 0.0) {
      const bool computed = defined && !std::isnan(lnPhi[i]);
      rows.push_back({i, computed ? f[i] : kNoNumber, computed ? phi[i] : kNoNumber});
    }
    RuntimeBackgroundTask();
  }
  return rows;
}

bool IsReferencePressure(std::string_view text) { return IsNumber(text) && Val(text) > 0; }

std::vector<ComponentRow> ActivityRows(const GasArray& x, double T, double P, double Vm, std::int32_t model,
                                       StandardState state, double Pref) {
  if (state != StandardState::PureRealAtP && !(Pref > 0 && std::isfinite(Pref))) return {};

  const bool defined = AttractionDefined(x, T, model);
  Globals::Fugacities(x, T, P, Vm, model);
  GasArray fmix = Globals::Fugacity;
  for (int i = 0; i < Globals::kGases; ++i) {
    if (std::isnan(Globals::LnCoefficient[i])) fmix[i] = kNoNumber;
  }

  GasArray activity{};
  if (defined && state == StandardState::PureIdealAtPref) {
    // f°_i = x_i Pref: with Pref = P the activity is the fugacity coefficient.
    for (int i = 0; i < Globals::kGases; ++i) {
      Globals::Fugacity[i] = x[i] * Pref;
      activity[i] = Ratio(fmix[i], Globals::Fugacity[i]);
      Globals::Activity[i] = activity[i];
      RuntimeBackgroundTask();
    }
  } else if (defined) {
    const double Ps = state == StandardState::PureRealAtP ? P : Pref;
    // Exactly 0 is absent here; the fugacity list counts x_i > 0 instead.
    for (int i = 0; i < Globals::kGases; ++i) {
      if (x[i] != 0.0) {
        activity[i] = Ratio(fmix[i], PureFugacity(i, T, Ps, model));
        Globals::Activity[i] = activity[i];
      }
      RuntimeBackgroundTask();
    }
  }

  std::vector<ComponentRow> rows;
  for (int i = 0; i < Globals::kGases; ++i) {
    if (x[i] != 0.0) {
      const double a = defined ? activity[i] : kNoNumber;
      rows.push_back({i, a, a / x[i]});
    }
    RuntimeBackgroundTask();
  }
  return rows;
}

}  // namespace fugacity
