#pragma once
// Renders the engine as it was before its blocks were optimised: the
// straightforward per-sample code, kept as the reference that the optimised
// engine's output is compared with. Both sides are driven by the same
// scenario code (OstrandScenario.h).
#include "tests/engine/ostrand/reference/OstrandScenario.h"

ostrand_scenario::Output RenderWithReference(const ostrand_scenario::Scenario& scenario,
                                             const ostrand_scenario::Signal& signal);
