#include "app/procedures.h"

#include "critical/critical_windows.h"
#include "framework/window.h"
#include "procedures/pvt/pvt_windows.h"

namespace app {

namespace {

// Each procedure window is the shared instance of its class, brought to the
// front: opens it as `[] { framework::shared<VolumeWindow>().Show(); }`.
constexpr std::array<Procedure, 15> kProcedures = {{
    {"MolarVolumes", [] { framework::shared<pvt::VolumeWindow>().Show(); }},
    {"Pressures", [] { framework::shared<pvt::PressureWindow>().Show(); }},
    {"Temperatures", [] { framework::shared<pvt::TemperatureWindow>().Show(); }},
    {"Fugacities", nullptr},          // FugacityWindow
    {"Activities", nullptr},          // ActivityWindow
    {"Homogenisation", nullptr},      // BubbleDewPoint
    {"LiquidVapour", nullptr},        // LiquidVapourEq
    {"Spinodal", [] { framework::shared<critical::SpinodalWindow>().Show(); }},
    {"CriticalPoint", [] { framework::shared<critical::CriticalPointWindow>().Show(); }},
    {"InternalEnergy", nullptr},      // EnergyWindow
    {"Enthalpy", nullptr},            // EnthalpyWindow
    {"Entropy", nullptr},             // EntropyWindow
    {"HelmholtzEnergy", nullptr},     // HelmholtzWindow
    {"GibbsEnergy", nullptr},         // GibbsWindow
    {"ChemicalPotentials", nullptr},  // ChemPotWindow
}};

}  // namespace

const std::array<Procedure, 15>& Procedures() { return kProcedures; }

}  // namespace app
