#include "engine/dsp/FeedbackHistory.h"
#include "engine/dsp/FeedbackHistoryPair.h"

#include <cmath>

#include <gtest/gtest.h>

TEST(FeedbackHistory, ModeAndWeightFollowRateAndFactor)
{
    struct Case
    {
        int rate, factor, mode;
        double weight;
    };
    const Case cases[] = {
        {96000, 1, 2, 0.0},   {96000, 2, 4, 0.5},   {96000, 4, 8, 0.25},  {96000, 6, 12, 1.0 / 6},
        {50000, 2, 4, 0.5},   {44100, 2, 2, 0.0},   {44100, 4, 4, 0.5},   {44100, 8, 8, 0.25},
        {48000, 12, 12, 1.0 / 6}, {49999, 2, 2, 0.0},
    };
    FeedbackHistory h;
    for (const Case& c : cases)
    {
        h.Configure(c.rate, c.factor);
        EXPECT_EQ(h.Mode(), c.mode) << c.rate << " x" << c.factor;
        EXPECT_DOUBLE_EQ(h.Weight(), c.weight) << c.rate << " x" << c.factor;
    }
}

// Every mode's terms are averages whose weights sum to one, so a constant
// input settles on that constant in h and all three history terms.
TEST(FeedbackHistory, ConstantInputGivesConstantOutputInEveryMode)
{
    for (int factor : {1, 4, 8, 12})
    {
        FeedbackHistory h;
        h.Configure(44100, factor);
        for (int i = 0; i < 5000; ++i)
            h.Update(false, 9.0, 9.0, 0.3, -0.2, 0.7, 0.1);
        for (int i = 0; i < 5; ++i)
        {
            h.Update(false, 9.0, 9.0, 0.3, -0.2, 0.7, 0.1);
            const auto& m = h.Mid();
            const auto& s = h.Side();
            EXPECT_NEAR(m.h, 0.3, 1e-12) << "mode " << h.Mode();
            EXPECT_NEAR(s.h, -0.2, 1e-12) << "mode " << h.Mode();
            for (double f : {m.f1, m.f2, m.f3})
                EXPECT_NEAR(f, 0.7, 1e-12) << "mode " << h.Mode();
            for (double f : {s.f1, s.f2, s.f3})
                EXPECT_NEAR(f, 0.1, 1e-12) << "mode " << h.Mode();
        }
    }
}

TEST(FeedbackHistory, ModeTwoIsAShiftRegisterAndExtPicksTheSidechain)
{
    FeedbackHistory h;
    h.Configure(44100, 2);
    h.Update(true, 5.0, 6.0, 0.0, 0.0, 1.0, 0.0);
    h.Update(true, 5.0, 6.0, 0.0, 0.0, 2.0, 0.0);
    h.Update(true, 5.0, 6.0, 0.0, 0.0, 3.0, 0.0);
    EXPECT_EQ(h.Mid().h, 5.0);
    EXPECT_EQ(h.Side().h, 6.0);
    EXPECT_EQ(h.Mid().f1, 3.0);
    EXPECT_EQ(h.Mid().f2, 2.0);
    EXPECT_EQ(h.Mid().f3, 1.0);

    // Reconfiguring clears the current terms but keeps the lists.
    h.Configure(44100, 12);
    EXPECT_EQ(h.Mid().h, 0.0);
    EXPECT_EQ(h.Mid().f1, 0.0);
}

// Each lane of the paired history must be bit-identical to the matching
// channel of FeedbackHistory, through every mode (switched mid-stream, which
// keeps the lists of past values), with ext picking the sidechain or not.
TEST(FeedbackHistoryPair, LanesMatchTheSingleChannelsExactly)
{
    FeedbackHistoryPair pair;
    FeedbackHistory single;
    const int settings[][2] = {{44100, 4}, {96000, 6}, {44100, 8}, {44100, 1}, {48000, 12}, {96000, 4}, {96000, 2}};
    int n = 0;
    for (const auto& rf : settings)
    {
        pair.Configure(rf[0], rf[1]);
        single.Configure(rf[0], rf[1]);
        ASSERT_EQ(pair.Mode(), single.Mode());
        for (int i = 0; i < 400; ++i, ++n)
        {
            const bool ext = (n / 150) % 2 == 1;
            const double scM = std::sin(0.11 * n), scS = 0.5 * std::cos(0.07 * n);
            const double outM = std::sin(0.013 * n) * 0.9, outS = -0.3 * std::sin(0.029 * n);
            const double tM = std::fabs(std::sin(0.05 * n)), tS = std::fabs(std::cos(0.017 * n)) * 0.2;
            single.Update(ext, scM, scS, outM, outS, tM, tS);
            pair.Update(ext ? LanePair(scM, scS) : LanePair(outM, outS), LanePair(tM, tS));
            const FeedbackHistory::Channel* lanes[2] = {&single.Mid(), &single.Side()};
            const __m128d got[4] = {pair.H(), pair.F1(), pair.F2(), pair.F3()};
            for (int lane = 0; lane < 2; ++lane)
            {
                const FeedbackHistory::Channel& c = *lanes[lane];
                const double expect[4] = {c.h, c.f1, c.f2, c.f3};
                for (int term = 0; term < 4; ++term)
                {
                    const double value = lane == 0 ? LaneMid(got[term]) : LaneSide(got[term]);
                    ASSERT_EQ(value, expect[term]) << "sample " << n << " lane " << lane << " term " << term;
                }
            }
        }
    }
}
