#include "ReferencePrelude.h"
#include "tests/engine/ostrand/reference/OstrandScenario.h"

namespace tarvo_reference {
#include "engine/ostrand/Ostrand.h"
}

#include "tests/engine/ostrand/reference/ReferenceRender.h"

//------------------------------------------------------------------------
ostrand_scenario::Output RenderWithReference(const ostrand_scenario::Scenario& scenario,
                                             const ostrand_scenario::Signal& signal)
{
    return ostrand_scenario::Render<tarvo_reference::Ostrand>(scenario, signal);
}
