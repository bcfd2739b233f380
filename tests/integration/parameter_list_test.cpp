// The host's parameter list, as the command prints it, against the controller's table.

#include "BundleUnderTest.h"

#include "controller/ParameterTable.h"
#include "host/ParameterList.h"

#include <cstdio>

using namespace VextoriaHost;
using namespace VextoriaTest;
using Vextoria3Params::ParameterKind;

namespace {

int32_t expectedSteps(const Vextoria3Params::ParameterSpec& spec)
{
    switch (spec.kind) {
    case ParameterKind::list: return static_cast<int32_t>(spec.entries.size()) - 1;
    case ParameterKind::programList: return 15;
    default: return spec.stepCount;
    }
}

// Lists keep the host default 0, whatever value they start from.
double expectedDefault(const Vextoria3Params::ParameterSpec& spec)
{
    return spec.kind == ParameterKind::list || spec.kind == ParameterKind::programList ? 0.0 : spec.initialValue;
}

std::string fourDecimals(double value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

}  // namespace

TEST(ParameterList, HostListsEveryParameterOfTheTableInOrderWithTheTextOfItsDefault)
{
    const auto host = loadBundle();
    ASSERT_NE(host->controller(), nullptr);
    const std::vector<ParameterLine> lines = listParameters(*host->controller());
    const auto table = Vextoria3Params::parameterTable();
    ASSERT_EQ(lines.size(), table.size());
    for (size_t index = 0; index < lines.size(); ++index) {
        const ParameterLine& line = lines[index];
        const Vextoria3Params::ParameterSpec& spec = table[index];
        SCOPED_TRACE("id " + std::to_string(spec.id));
        EXPECT_EQ(line.id, static_cast<Steinberg::Vst::ParamID>(spec.id));
        EXPECT_EQ(line.title, spec.title);
        EXPECT_EQ(line.units, spec.units);
        EXPECT_EQ(line.stepCount, expectedSteps(spec));
        EXPECT_NEAR(line.defaultValue, expectedDefault(spec), 1e-12);
        switch (spec.kind) {
        case ParameterKind::list: EXPECT_EQ(line.defaultText, spec.entries[0]); break;
        case ParameterKind::plain:
            EXPECT_EQ(line.defaultText, spec.stepCount == 1 ? "Off" : fourDecimals(spec.initialValue));
            break;
        case ParameterKind::sliceSize: EXPECT_EQ(line.defaultText, "1/2 BEAT"); break;
        case ParameterKind::semitones: EXPECT_EQ(line.defaultText, "6"); break;
        case ParameterKind::programList: EXPECT_FALSE(line.defaultText.empty()); break;
        }
    }
}

TEST(ParameterList, LineKeepsEmptyFieldsAndTrailingBlanks)
{
    const ParameterLine slice {7, "SliceSize", "", 0, 0.25, "1 BEAT "};
    EXPECT_EQ(formatParameterLine(slice), "7\tSliceSize\t\t0\t0.25\t1 BEAT ");
    const ParameterLine range {9, "Pitch Range", "semitones", 12, 0.5, "6"};
    EXPECT_EQ(formatParameterLine(range), "9\tPitch Range\tsemitones\t12\t0.5\t6");
}
