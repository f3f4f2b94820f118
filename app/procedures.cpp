#include "app/procedures.h"

#include "critical/critical_windows.h"
#include "framework/window.h"
#include "phase/phase_windows.h"
#include "procedures/fugacity/fugacity_windows.h"
#include "procedures/pvt/pvt_windows.h"
#include "procedures/thermo/chem_pot_window.h"
#include "procedures/thermo/thermo_windows.h"

namespace app {

namespace {

// Each procedure window is the shared instance of its class, brought to the
// front: opens it as `[] { framework::shared<VolumeWindow>().Show(); }`.
constexpr std::array<Procedure, 15> kProcedures = {{
    {"MolarVolumes", [] { framework::shared<pvt::VolumeWindow>().Show(); }},
    {"Pressures", [] { framework::shared<pvt::PressureWindow>().Show(); }},
    {"Temperatures", [] { framework::shared<pvt::TemperatureWindow>().Show(); }},
    {"Fugacities", [] { framework::shared<fugacity::FugacityWindow>().Show(); }},
    {"Activities", [] { framework::shared<fugacity::ActivityWindow>().Show(); }},
    {"Homogenisation", [] { framework::shared<phase::BubbleDewPoint>().Show(); }},
    {"LiquidVapour", [] { framework::shared<phase::LiquidVapourEq>().Show(); }},
    {"Spinodal", [] { framework::shared<critical::SpinodalWindow>().Show(); }},
    {"CriticalPoint", [] { framework::shared<critical::CriticalPointWindow>().Show(); }},
    {"InternalEnergy", [] { framework::shared<thermo::EnergyWindow>().Show(); }},
    {"Enthalpy", [] { framework::shared<thermo::EnthalpyWindow>().Show(); }},
    {"Entropy", [] { framework::shared<thermo::EntropyWindow>().Show(); }},
    {"HelmholtzEnergy", [] { framework::shared<thermo::HelmholtzWindow>().Show(); }},
    {"GibbsEnergy", [] { framework::shared<thermo::GibbsWindow>().Show(); }},
    {"ChemicalPotentials", [] { framework::shared<thermo::ChemPotWindow>().Show(); }},
}};

}  // namespace

const std::array<Procedure, 15>& Procedures() { return kProcedures; }

}  // namespace app
