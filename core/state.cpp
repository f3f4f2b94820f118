#include "core/globals.h"

namespace Globals {

GasArray fraction{};
GasArray Ttrip{}, Tcrit{}, Pcrit{}, Vcrit{}, Acentric{};
GasArray MM{};
PairTable a{};
GasArray b{};
std::array<double, 4> MolarVolumes{};
GasArray Fugacity{}, Coefficient{}, Activity{};
GasArray K_liq_vap{}, xgas{}, ygas{};
IntegerArray IntegerFraction{};
std::int64_t PrecisionFactor = 1000000000000;
std::int32_t Selection = 0;
double TempKelvin = 0.0, PresMPa = 0.0, Vexcess = 0.0;
std::uint64_t TempKelvinStores = 0;

namespace {
void ClearArrays() {
  fraction = {};
  Tcrit = {};
  Pcrit = {};
  Vcrit = {};
  a = {};
  b = {};
  MolarVolumes = {};
  MM = {};
  Fugacity = {};
  Coefficient = {};
  Activity = {};
  Ttrip = {};
  K_liq_vap = {};
  Acentric = {};
  xgas = {};
  ygas = {};
  IntegerFraction = {};
}
}  // namespace

void InitProperties() {
  ClearArrays();
  PrecisionFactor = 1000000000000;
  Selection = 0;
  TempKelvin = 0.0;
  PresMPa = 0.0;
  Vexcess = 0.0;
}

void ExitProperties() { ClearArrays(); }

}  // namespace Globals
