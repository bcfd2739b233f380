// The FX panel's value texts at the values its controls show most.
#include "controls/ValueConverter.h"
#include "editor/FxConverters.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(FxConverters, TextsAtTheirEndsMiddlesAndSteps)
{
    struct Case {
        ValueConverter converter;
        float value;
        const char* text;
    };
    const Case cases[] = {
        {convertRoom, 0.f, "1"},       {convertRoom, 1.f, "800"},         {convertRoom, 0.5f, "400"},
        {convertHz, 0.f, "40"},        {convertHz, 1.f, "10000"},         {convertHz, 0.5f, "5020"},
        {convertDryWet, 0.25f, "75/25"}, {convertDryWet, 0.6f, "40/60"},  {convertDryWet, 0.f, "100/0"},
        {convertDryWet, 1.f, "0/100"}, {convertPitchFx, 0.4f, "scratch"}, {convertPitchFx, 0.5f, "tapestop "},
        {convertPitchFx, 1.f, "vibrato"}, {convertPitchFx, 1.5f, ""},     {convertPitchFx, -0.1f, ""},
        {convertPitchFx, std::nanf(""), ""}, {convertPercent, 0.999f, "99"},
    };
    for (const Case& each : cases)
        EXPECT_EQ(each.converter(each.value), each.text) << each.value;
    for (int step = 0; step <= 100; ++step) {
        const std::string text = convertDryWet(step / 100.f);
        const size_t slash = text.find('/');
        EXPECT_EQ(std::stoi(text.substr(0, slash)) + std::stoi(text.substr(slash + 1)), 100) << text;
    }
}
