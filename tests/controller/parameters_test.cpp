// The texts of the parameters' values and the values of texts, and what a host should never send.
#include "ControllerHarness.h"

#include <limits>

namespace ControllerTest {
namespace {

using ParametersTest = ControllerFixture;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

TEST_F(ParametersTest, values_show_the_text_of_their_parameter_class_clamped_into_range)
{
    const std::tuple<ParamID, double, const char*> cases[] = {
        // slice size by trunc(2v), the first with its trailing blank; other values have no text
        {7, 0.0, "1 BEAT "}, {7, 0.49, "1 BEAT "}, {7, 0.5, "1/2 BEAT"}, {7, 0.99, "1/2 BEAT"}, {7, 1.0, "1/4 BEAT"},
        {7, 1.2, "1/4 BEAT"}, {7, -0.4, "1 BEAT "}, {7, kNaN, ""}, {7, 2.0, ""}, {7, -1.0, ""}, {7, 1.5, ""},
        {7, -0.5, ""}, {7, kInfinity, ""}, {7, -1e300, ""},
        // four decimals, units shown by the host; one step: Off up to one half
        {1, 0.85, "0.8500"}, {33, 0.0, "0.0000"}, {34, 0.12345, "0.1235"}, {37, 0.5, "Off"}, {37, 0.51, "On"},
        // lists by min(steps, trunc(v * (steps + 1))), semitones by min(12, trunc(v * 13))
        {16, 1.0, "Random"}, {16, 0.5, "HP Filter"}, {16, 0.19, "Reverb"}, {16, 0.2, "BitCrush"}, {0, 0.49, "Off"},
        {0, 0.5, "On"}, {32, 0.34, "On Play"}, {14, 1.0, "Midi Slice"}, {26, 0.5, "Tape Stop"}, {36, 1.0, "Golden Gate"},
        {9, 0.5, "6"}, {9, 1.0, "12"}, {9, 0.0, "0"}, {9, 0.99, "12"},
        // out of range and NaN are clamped (NaN reads 0) rather than failing
        {1, kNaN, "0.0000"}, {1, 1.7, "1.0000"}, {1, -0.5, "0.0000"}, {1, kInfinity, "1.0000"}, {16, kNaN, "Reverb"},
        {16, 3.0, "Random"}, {36, -kInfinity, "Default"}, {9, kNaN, "0"}, {9, -1.0, "0"}, {9, 5.0, "12"},
        {37, kNaN, "Off"},
    };
    for (auto [id, value, expected] : cases) {
        String128 text {};
        EXPECT_EQ(controller->getParamStringByValue(id, value, text), kResultOk) << id << " " << value;
        EXPECT_EQ(narrow(text), expected) << "id " << id << " value " << value;
    }
}

TEST_F(ParametersTest, texts_convert_back_only_when_they_name_a_value_in_range)
{
    const double kRefused = -1;
    const std::tuple<ParamID, const char16_t*, double> cases[] = {
        // numbers for plain parameters, blanks around them allowed
        {7, u"0.5", 0.5}, {1, u"0.8500", 0.85}, {1, u" 0.25  ", 0.25}, {1, u"1", 1.0}, {1, u"+0.5", 0.5},
        {37, u"1", 1.0}, {7, u"1/2 BEAT", kRefused}, {7, u"1 BEAT ", kRefused}, {1, u"0.5x", kRefused},
        {1, u"", kRefused}, {1, u"   ", kRefused}, {1, u"1.5", kRefused}, {1, u"-0.1", kRefused},
        {1, u"nan", kRefused}, {1, u"inf", kRefused}, {1, u"0,5", kRefused}, {1, u"+-0.5", kRefused},
        {37, u"On", kRefused}, {1, nullptr, kRefused}, {16, nullptr, kRefused},
        // list entries exactly, case and blanks count
        {16, u"Pitch FX", 0.75}, {16, u"Reverb", 0.0}, {0, u"On", 1.0}, {26, u"Tape Stop", 0.5},
        {36, u"Golden Gate", 1.0}, {16, u"pitch fx", kRefused}, {16, u"Pitch FX ", kRefused}, {16, u"3", kRefused},
        // whole semitones
        {9, u"6", 0.5}, {9, u"12", 1.0}, {9, u"0", 0.0}, {9, u"3.0", 0.25}, {9, u"13", kRefused},
        {9, u"-1", kRefused}, {9, u"6.5", kRefused}, {9, u"6 semitones", kRefused},
    };
    for (auto [id, text, expected] : cases) {
        std::u16string writable(text ? text : u"");
        ParamValue value = kRefused; // a refusal leaves it as it was
        const tresult result = controller->getParamValueByString(id, text ? writable.data() : nullptr, value);
        EXPECT_EQ(result, expected == kRefused ? kResultFalse : kResultOk) << id << " '" << narrow(text) << "'";
        EXPECT_DOUBLE_EQ(value, expected) << id << " '" << narrow(text) << "'";
    }
    ParamValue value = 0;
    EXPECT_EQ(controller->getParamValueByString(1, std::u16string(5000, u'1').data(), value), kResultFalse);
}

TEST_F(ParametersTest, ids_indexes_and_values_a_host_should_never_send_are_refused)
{
    ParameterInfo info {};
    UnitInfo unit {};
    ProgramListInfo list {};
    String128 text {u'x', 0};
    ASSERT_EQ(controller->getParameterCount(), 37);
    for (int32 index : {-1, 37})
        EXPECT_EQ(controller->getParameterInfo(index, info), kResultFalse) << index;
    for (int32 index : {-1, 1})
        EXPECT_EQ(controller->getUnitInfo(index, unit), kResultFalse) << index;
    for (int32 program : {-1, 16})
        EXPECT_EQ(controller->getProgramName(36, program, text), kResultFalse) << program;
    EXPECT_EQ(controller->getProgramListInfo(1, list), kResultFalse);
    for (ParamID id : {12u, 38u, 1000u}) { // 12 is retired
        ParamValue value = -1;
        TChar number[] = u"0.5";
        EXPECT_EQ(controller->getParameterInfoByTag(id, info), kResultFalse) << id;
        EXPECT_EQ(controller->getParamStringByValue(id, 0.5, text), kResultFalse) << id;
        EXPECT_EQ(controller->getParamValueByString(id, number, value), kResultFalse) << id;
        EXPECT_EQ(controller->setParamNormalized(id, 0.5), kResultFalse) << id;
        EXPECT_EQ(controller->getParamNormalized(id), 0.0) << id;
    }
    EXPECT_EQ(text[0], u'x') << "untouched";
    EXPECT_EQ(controller->getParamStringByValue(1, 0.5, nullptr), kInvalidArgument);

    // Stored values are clamped; values that are not finite are refused.
    EXPECT_EQ(controller->setParamNormalized(1, 1.7), kResultOk);
    EXPECT_EQ(controller->setParamNormalized(2, -3.0), kResultOk);
    EXPECT_EQ(std::pair(controller->getParamNormalized(1), controller->getParamNormalized(2)), std::pair(1.0, 0.0));
    for (double bad : {kNaN, kInfinity, -kInfinity}) {
        EXPECT_EQ(controller->setParamNormalized(6, bad), kResultFalse);
        EXPECT_EQ(controller->setParamNormalized(36, bad), kResultFalse);
    }
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(6), 0.5);
    EXPECT_EQ(controller->getCurrentProgram(), 0);
    EXPECT_TRUE(handler.restarts.empty());
}

} // namespace
} // namespace ControllerTest
