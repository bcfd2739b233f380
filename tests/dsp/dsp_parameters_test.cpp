// What each parameter id does in the DSP object, including values no host should send.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ScopedHome.h"
#include "dsp/Vextoria3FX.h"

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

class DspParameters : public ::testing::Test {
protected:
    ScopedHome home;
    Vextoria3FX fx;
};

TEST_F(DspParameters, ReverbMixStartsAppliedAndValuesAreNarrowedClampedAndNaNReadsAsZero)
{
    EXPECT_FLOAT_EQ(fx.reverbDry(), 0.4f);
    EXPECT_FLOAT_EQ(fx.reverbWet(), 0.3f);
    const std::tuple<int32_t, double, float> cases[] = {
        {1, 0.3, 0.3f}, {1, 1.5, 1.0f}, {1, -3.0, 0.0f}, {7, kNaN, 0.0f}, {16, std::numeric_limits<double>::infinity(), 1.0f}};
    for (const auto& [id, value, stored] : cases) {
        fx.setParameter(id, value);
        EXPECT_EQ(fx.getParameter(id), stored) << id << " set to " << value;
    }
    const std::tuple<double, float, float> mixes[] = {{0.2, 0.5f, 0.1f}, {0.8, 0.2f, 0.4f}, {7.0, 0.0f, 0.5f}};
    for (const auto& [mix, dry, wet] : mixes) {
        fx.setParameter(25, mix);
        EXPECT_FLOAT_EQ(fx.reverbDry(), dry) << mix;
        EXPECT_FLOAT_EQ(fx.reverbWet(), wet) << mix;
    }
}

TEST_F(DspParameters, IdsThatAreNoParameterAndControllerIdsAreIgnored)
{
    float before[38];
    for (int32_t id = 0; id < 38; ++id)
        before[id] = fx.getParameter(id);
    for (const int32_t id : {-1, 38, 1000, 12, 34, 35}) {
        fx.setParameter(id, 0.7);
        EXPECT_EQ(fx.getParameter(id), id >= 0 && id < 38 ? before[id] : 0.0f) << id;
    }
    for (int32_t id = 0; id < 38; ++id)
        EXPECT_EQ(fx.getParameter(id), before[id]) << id;

    fx.setModwheel(0.8f);
    EXPECT_EQ(fx.getParameter(35), 0.0f) << "the mod wheel is not reported";
    fx.setPitchBend(0.75);
    EXPECT_EQ(fx.getParameter(34), 0.75f);
    fx.setPitchBend(kNaN);
    EXPECT_EQ(fx.getParameter(34), 0.0f);
}

TEST_F(DspParameters, ProgramNumberSelectsAProgramAndNegativeOrNaNSelectNothing)
{
    fx.loadFactoryBank();
    const std::pair<double, int32_t> cases[] = {{0.99, 15}, {1.0, 15}, {0.0624, 0}, {0.1875, 3}, {5.0, 15},
                                                {-0.1, 7},  {-1e300, 7}, {kNaN, 7}};
    for (const auto& [value, program] : cases) {
        fx.setProgram(7);
        fx.setParameter(36, value);
        EXPECT_EQ(fx.getCurrentProgram(), program) << value;
        EXPECT_EQ(fx.getParameter(36), 0.0f);
    }
}

TEST_F(DspParameters, ResumeRefusesNonsenseAndProcessReadsAMissingBusAsSilence)
{
    fx.resume(48000.0, 512);
    fx.resume(kNaN, 0);
    fx.resume(-44100.0, -5);
    EXPECT_EQ(fx.getSampleRate(), 48000.0);
    EXPECT_EQ(fx.getBlockSize(), 512);

    float left[5] = {1, 2, 3, 4, 5}, right[5] = {-1, -2, -3, -4, -5};
    float outLeft[5] = {}, outRight[5] = {};
    const float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    fx.process(inputs, outputs, 5);
    EXPECT_EQ(outLeft[4], 5.0f);
    EXPECT_EQ(outRight[4], -5.0f);
    fx.inputChannelCount = 1; // a mono input feeds both sides
    fx.process(inputs, outputs, 5);
    EXPECT_EQ(outRight[2], 3.0f);
    fx.process(nullptr, outputs, 5);
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ(outLeft[i] + outRight[i], 0.0f);
    outLeft[0] = 7.0f;
    fx.inputChannelCount = 0; // a bus without channels
    fx.process(inputs, outputs, 5);
    EXPECT_EQ(outLeft[0], 0.0f);
}
