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

TEST_F(DspParameters, StartWithTheProgramDefaults)
{
    const Vextoria3Preset defaults;
    for (int32_t id = 0; id < 38; ++id) {
        const float expected = (id == 12 || id == 35 || id == 36) ? 0.0f : defaults.params[id].load();
        EXPECT_EQ(fx.getParameter(id), expected) << id;
    }
    EXPECT_EQ(fx.getCurrentProgram(), 0);
    EXPECT_FLOAT_EQ(fx.reverbDry(), 0.4f); // the reverb gets the default mix from the start
    EXPECT_FLOAT_EQ(fx.reverbWet(), 0.3f);
}

TEST_F(DspParameters, StoreTheValueNarrowedToFloat)
{
    fx.setParameter(1, 0.3);
    EXPECT_EQ(fx.getParameter(1), 0.3f);
    fx.setParameter(37, 1.0);
    EXPECT_EQ(fx.getParameter(37), 1.0f);
    fx.setParameter(33, 0.125);
    EXPECT_EQ(fx.getParameter(33), 0.125f);
}

TEST_F(DspParameters, ClampValuesOutsideTheRangeAndReadNaNAsZero)
{
    fx.setParameter(1, 1.5);
    EXPECT_EQ(fx.getParameter(1), 1.0f);
    fx.setParameter(1, -3.0);
    EXPECT_EQ(fx.getParameter(1), 0.0f);
    fx.setParameter(7, kNaN);
    EXPECT_EQ(fx.getParameter(7), 0.0f);
    fx.setParameter(16, std::numeric_limits<double>::infinity());
    EXPECT_EQ(fx.getParameter(16), 1.0f);
    fx.setParameter(25, 7.0);
    EXPECT_FLOAT_EQ(fx.reverbDry(), 0.0f);
    EXPECT_FLOAT_EQ(fx.reverbWet(), 0.5f);
    fx.setPitchBend(kNaN);
    EXPECT_EQ(fx.getParameter(34), 0.0f);
}

TEST_F(DspParameters, IgnoreIdsThatAreNoParameter)
{
    float before[38];
    for (int32_t id = 0; id < 38; ++id)
        before[id] = fx.getParameter(id);
    for (const int32_t id : {-1, 38, 1000, 12}) {
        fx.setParameter(id, 0.7);
        EXPECT_EQ(fx.getParameter(id), 0.0f) << id;
    }
    for (int32_t id = 0; id < 38; ++id)
        EXPECT_EQ(fx.getParameter(id), before[id]) << id;
}

TEST_F(DspParameters, ReverbMixGivesDryAndWet)
{
    fx.setParameter(25, 0.2);
    EXPECT_FLOAT_EQ(fx.reverbDry(), 0.5f);
    EXPECT_FLOAT_EQ(fx.reverbWet(), 0.1f);
    fx.setParameter(25, 0.8);
    EXPECT_FLOAT_EQ(fx.reverbDry(), 0.2f);
    EXPECT_FLOAT_EQ(fx.reverbWet(), 0.4f);
}

TEST_F(DspParameters, PitchBendIsReportedAndModWheelIsNot)
{
    fx.setModwheel(0.8f);
    EXPECT_EQ(fx.getParameter(35), 0.0f);
    fx.setPitchBend(0.75);
    EXPECT_EQ(fx.getParameter(34), 0.75f);
    fx.setParameter(34, 0.1); // the setters alone store these two
    fx.setParameter(35, 0.1);
    EXPECT_EQ(fx.getParameter(34), 0.75f);
}

TEST_F(DspParameters, ProgramNumberSelectsAProgram)
{
    fx.loadFactoryBank();
    struct Case {
        double value;
        int32_t program;
    };
    for (const Case entry : {Case{0.99, 15}, Case{1.0, 15}, Case{0.0624, 0}, Case{0.1875, 3}, Case{5.0, 15}}) {
        fx.setProgram(7);
        fx.setParameter(36, entry.value);
        EXPECT_EQ(fx.getCurrentProgram(), entry.program) << entry.value;
        EXPECT_EQ(fx.getParameter(36), 0.0f);
    }
    for (const double nothing : {-0.1, -1.0, -1e300, kNaN}) {
        fx.setProgram(7);
        fx.setParameter(36, nothing);
        EXPECT_EQ(fx.getCurrentProgram(), 7) << nothing;
    }
}

TEST_F(DspParameters, ResumeTakesTheRateAndBlockSizeAndRefusesNonsense)
{
    fx.resume(48000.0, 512);
    EXPECT_EQ(fx.getSampleRate(), 48000.0);
    EXPECT_EQ(fx.getBlockSize(), 512);
    fx.resume(kNaN, 0);
    fx.resume(-44100.0, -5);
    EXPECT_EQ(fx.getSampleRate(), 48000.0);
    EXPECT_EQ(fx.getBlockSize(), 512);
}

TEST_F(DspParameters, ProcessPassesInputAndReadsAMissingBusAsSilence)
{
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
