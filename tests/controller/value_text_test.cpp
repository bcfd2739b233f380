// Texts of values and values of texts, including what a host should never send.
#include "ControllerHarness.h"

#include <cmath>
#include <limits>

namespace ControllerTest {
namespace {

using ValueTextTest = ControllerFixture;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

TEST_F(ValueTextTest, values_show_the_text_of_their_parameter_class)
{
    const std::tuple<ParamID, double, const char*> cases[] = {
        // slice size: beat fractions, the first with its trailing blank
        {7, 0.0, "1 BEAT "}, {7, 0.49, "1 BEAT "}, {7, 0.5, "1/2 BEAT"}, {7, 0.99, "1/2 BEAT"}, {7, 1.0, "1/4 BEAT"},
        // plain values: four decimals, units shown by the host
        {1, 0.85, "0.8500"}, {33, 0.0, "0.0000"}, {2, 1.0, "1.0000"}, {34, 0.12345, "0.1235"},
        // one step: Off up to one half
        {37, 0.5, "Off"}, {37, 0.51, "On"}, {37, 0.0, "Off"},
        // lists by min(steps, trunc(v * (steps + 1)))
        {16, 1.0, "Random"}, {16, 0.5, "HP Filter"}, {16, 0.19, "Reverb"}, {16, 0.2, "BitCrush"}, {0, 0.49, "Off"},
        {0, 0.5, "On"}, {32, 0.34, "On Play"}, {36, 1.0, "Golden Gate"},
        // semitones: min(12, trunc(v * 13))
        {9, 0.5, "6"}, {9, 1.0, "12"}, {9, 0.0, "0"}, {9, 0.99, "12"},
        // SliceSize: trunc(2v) other than 0, 1 or 2 (NaN and infinities too) has no text
        {7, kNaN, ""}, {7, 2.0, ""}, {7, -1.0, ""}, {7, 1.5, ""}, {7, -0.5, ""}, {7, kInfinity, ""}, {7, -1e300, ""},
        {7, 1.2, "1/4 BEAT"}, {7, -0.4, "1 BEAT "},
        // out of range and NaN are clamped (NaN reads 0) rather than failing
        {1, kNaN, "0.0000"}, {1, 1.7, "1.0000"},
        {1, -0.5, "0.0000"}, {1, kInfinity, "1.0000"}, {16, kNaN, "Reverb"}, {16, -0.5, "Reverb"},
        {16, 3.0, "Random"}, {36, -kInfinity, "Default"}, {9, kNaN, "0"}, {9, -1.0, "0"}, {9, 5.0, "12"},
        {37, kNaN, "Off"},
    };
    for (auto [id, value, text] : cases)
        EXPECT_EQ(valueText(*controller, id, value), text) << "id " << id << " value " << value;
}

TEST_F(ValueTextTest, texts_convert_back_only_when_they_name_a_value_in_range)
{
    const double kRefused = -1;
    const std::tuple<ParamID, const char16_t*, double> cases[] = {
        // numbers for plain parameters, blanks around them allowed
        {7, u"0.5", 0.5}, {1, u"0.8500", 0.85}, {1, u" 0.25  ", 0.25}, {1, u"1", 1.0}, {1, u"+0.5", 0.5},
        {37, u"1", 1.0}, {7, u"1/2 BEAT", kRefused}, {7, u"1 BEAT ", kRefused}, {1, u"0.5x", kRefused},
        {1, u"", kRefused}, {1, u"   ", kRefused}, {1, u"1.5", kRefused}, {1, u"-0.1", kRefused},
        {1, u"nan", kRefused}, {1, u"inf", kRefused}, {1, u"0,5", kRefused}, {1, u"+-0.5", kRefused},
        {37, u"On", kRefused},
        // list entries exactly, case and blanks count
        {16, u"Pitch FX", 0.75}, {16, u"Reverb", 0.0}, {0, u"On", 1.0}, {26, u"Tape Stop", 0.5},
        {36, u"Golden Gate", 1.0}, {16, u"pitch fx", kRefused}, {16, u"Pitch FX ", kRefused}, {16, u"3", kRefused},
        // whole semitones
        {9, u"6", 0.5}, {9, u"12", 1.0}, {9, u"0", 0.0}, {9, u"3.0", 0.25}, {9, u"13", kRefused},
        {9, u"-1", kRefused}, {9, u"6.5", kRefused}, {9, u"6 semitones", kRefused},
    };
    for (auto [id, text, expected] : cases) {
        std::u16string writable(text);
        ParamValue value = kRefused; // a refusal leaves it as it was
        const tresult result = controller->getParamValueByString(id, writable.data(), value);
        EXPECT_EQ(result, expected == kRefused ? kResultFalse : kResultOk) << id << " '" << narrow(text) << "'";
        EXPECT_DOUBLE_EQ(value, expected) << id << " '" << narrow(text) << "'";
    }
}

TEST_F(ValueTextTest, missing_or_overlong_texts_are_refused)
{
    for (ParamID id : {1u, 7u, 9u, 16u, 36u})
        EXPECT_EQ(controller->getParamStringByValue(id, 0.5, nullptr), kInvalidArgument) << id;
    std::u16string text(5000, u'1');
    ParamValue value = 0.0;
    EXPECT_EQ(controller->getParamValueByString(1, text.data(), value), kResultFalse);
    EXPECT_EQ(controller->getParamValueByString(1, nullptr, value), kResultFalse);
    EXPECT_EQ(controller->getParamValueByString(16, nullptr, value), kResultFalse);
}

TEST_F(ValueTextTest, stored_values_are_clamped_and_non_finite_values_refused)
{
    EXPECT_EQ(controller->setParamNormalized(1, 1.7), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 1.0);
    EXPECT_EQ(controller->setParamNormalized(2, -3.0), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(2), 0.0);

    for (double bad : {kNaN, kInfinity, -kInfinity}) {
        EXPECT_EQ(controller->setParamNormalized(6, bad), kResultFalse);
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(6), 0.5);
        EXPECT_EQ(controller->setParamNormalized(36, bad), kResultFalse);
    }
    EXPECT_EQ(controller->getCurrentProgram(), 0);
    EXPECT_TRUE(handler.restarts.empty());
}

} // namespace
} // namespace ControllerTest
