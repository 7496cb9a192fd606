// The optimised engine against the straightforward reference code: whole
// renders (several Juice settings, both styles, two rates, with and without
// sidechain, glides and a silent gap included) must agree within 1e-12 of
// the signal's peak level.
#include "engine/ostrand/Ostrand.h"
#include "tests/engine/ostrand/reference/ReferenceRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

using ostrand_scenario::Output;
using ostrand_scenario::Scenario;

double Peak(const Output& o)
{
    double peak = 0.0;
    for (std::size_t i = 0; i < o.left.size(); ++i)
        peak = std::max({peak, std::fabs(o.left[i]), std::fabs(o.right[i])});
    return peak;
}

class OstrandEquivalence : public ::testing::TestWithParam<Scenario> {};

TEST_P(OstrandEquivalence, MatchesReferenceWithinTolerance)
{
    const Scenario s = GetParam();
    const ostrand_scenario::Signal signal = ostrand_scenario::SignalFor(s);
    const Output fast = ostrand_scenario::Render<Ostrand>(s, signal);
    const Output reference = RenderWithReference(s, signal);
    ASSERT_EQ(fast.left.size(), reference.left.size());

    const double peak = Peak(reference);
    ASSERT_GT(peak, 0.05); // the scenario really produces sound
    double worst = 0.0;
    std::size_t worstAt = 0;
    for (std::size_t i = 0; i < fast.left.size(); ++i) {
        const double d = std::max(std::fabs(fast.left[i] - reference.left[i]),
                                  std::fabs(fast.right[i] - reference.right[i]));
        ASSERT_TRUE(std::isfinite(fast.left[i]) && std::isfinite(fast.right[i])) << "at " << i;
        if (d > worst) {
            worst = d;
            worstAt = i;
        }
    }
    std::printf("rate %d juice %d %s sc %d: max deviation %.3g of peak\n", s.rate, s.juice,
                s.clear ? "Clear" : "Regular", s.sidechain ? 1 : 0, worst / peak);
    EXPECT_LE(worst / peak, 1e-12) << "worst at sample " << worstAt;
}

std::vector<Scenario> Scenarios()
{
    std::vector<Scenario> list;
    for (int rate : {44100, 96000})
        for (int juice : {0, 1, 3, 5})
            for (bool clear : {false, true})
                for (bool sidechain : {false, true})
                    list.push_back(Scenario{rate, juice, clear, sidechain, 2.0});
    return list;
}

std::string Name(const ::testing::TestParamInfo<Scenario>& info)
{
    const Scenario& s = info.param;
    return "rate" + std::to_string(s.rate) + "_juice" + std::to_string(s.juice) +
           (s.clear ? "_clear" : "_regular") + (s.sidechain ? "_sc" : "_nosc");
}

INSTANTIATE_TEST_SUITE_P(Renders, OstrandEquivalence, ::testing::ValuesIn(Scenarios()), Name);

} // namespace
