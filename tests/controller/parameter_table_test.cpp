// The parameters as a host lists them: order, titles, units, steps, defaults, flags, entries.
#include "ControllerHarness.h"

#include <cmath>

namespace ControllerTest {
namespace {

struct ExpectedInfo {
    ParamID id;
    const char* title;
    const char* units;
    int32 stepCount;
    double hostDefault;
    double initialValue;
    int32 flags;
};

// Written out from the published table, not from the code's own.
const ExpectedInfo kExpected[] = {
    {0, "Active", "", 1, 0, 0, 9}, {1, "GateSize", "%", 0, 0.85, 0.85, 1}, {2, "Reverse Amt", "%", 0, 0.4, 0.4, 1},
    {3, "FX Amt", "%", 0, 0, 0, 1}, {4, "Pitch Amt", "%", 0, 0.35, 0.35, 1}, {5, "Pan Amt", "%", 0, 0, 0, 1},
    {6, "Roll Amt", "%", 0, 0.5, 0.5, 1}, {7, "SliceSize", "", 0, 0.5, 0.5, 1}, {8, "Slice Amt", "%", 0, 1, 1, 1},
    {9, "Pitch Range", "semitones", 12, 0.5, 0.5, 9}, {10, "Up", "", 1, 0, 0, 9}, {11, "Down", "", 1, 0, 1, 9},
    {13, "Freeze", "", 1, 0, 0, 9}, {14, "Trig Mode", "", 1, 0, 0, 9}, {15, "Stretch", "", 1, 0, 0, 9},
    {16, "FX Select", "", 4, 0, 1, 9}, {17, "No Direct", "", 1, 0, 0, 9}, {18, "Filter Cut", "%", 0, 0.4, 0.4, 1},
    {19, "Filter Res", "%", 0, 0.45, 0.45, 1}, {20, "Filter Env", "%", 0, 1, 1, 1},
    {21, "Reduce Rate", "%", 0, 0.65, 0.65, 1}, {22, "Reduce D/W", "%", 0, 0.95, 0.95, 1},
    {23, "Room Size", "%", 0, 0.5, 0.5, 1}, {24, "Damping", "%", 0, 0.5, 0.5, 1},
    {25, "Reverb D/W", "%", 0, 0.6, 0.6, 1}, {26, "PitchFx Id", "", 2, 0, 0, 9}, {27, "Pitch Set", "", 1, 0, 0, 9},
    {28, "Reverb Active", "", 1, 0, 1, 9}, {29, "BitCrush Active", "", 1, 0, 1, 9},
    {30, "Filter Active", "", 1, 0, 1, 9}, {31, "PitchFX Active", "", 1, 0, 1, 9},
    {32, "Replay Rnd Seq", "", 2, 0, 0, 9}, {33, "Scope Speed", "%", 0, 0.5, 0.5, 1},
    {34, "PitchBend", "", 0, 0.5, 0.5, 0x12}, {35, "ModWheel", "", 0, 0.5, 0.5, 0x12},
    {36, "Factory Presets", "", 15, 0, 0, 0x8008}, {37, "Bypass", "", 1, 0, 0, 0x10001},
};

using ParameterTableTest = ControllerFixture;

TEST_F(ParameterTableTest, host_lists_37_parameters_in_id_order_with_their_infos)
{
    ASSERT_EQ(controller->getParameterCount(), 37);
    for (int32 index = 0; index < 37; ++index) {
        const ExpectedInfo& expected = kExpected[index];
        ParameterInfo info {};
        ASSERT_EQ(controller->getParameterInfo(index, info), kResultOk) << index;
        SCOPED_TRACE(expected.title);
        EXPECT_EQ(info.id, expected.id);
        EXPECT_EQ(narrow(info.title), expected.title);
        EXPECT_EQ(narrow(info.units), expected.units);
        EXPECT_EQ(narrow(info.shortTitle), "");
        EXPECT_EQ(info.stepCount, expected.stepCount);
        EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, expected.hostDefault);
        EXPECT_EQ(info.flags, expected.flags);
        EXPECT_EQ(info.unitId, kRootUnitId);
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(expected.id), expected.initialValue);

        ParameterInfo byTag {};
        ASSERT_EQ(controller->getParameterInfoByTag(expected.id, byTag), kResultOk);
        EXPECT_EQ(byTag.id, expected.id);
    }
}

TEST_F(ParameterTableTest, list_entries_read_in_order_at_multiples_of_one_step)
{
    std::vector<std::pair<ParamID, std::vector<std::string>>> lists {
        {14, {"Auto Trig", "Midi Slice"}},
        {16, {"Reverb", "BitCrush", "HP Filter", "Pitch FX", "Random"}},
        {26, {"Scratch", "Tape Stop", "Vibratox"}},
        {32, {"Never", "On Play", "On Active"}},
        {36, {"Default", "Rythmrepeat", "esreveR", "RollWarfare", "Blast N Break", "Glitch Patrol", "Lightbreaker",
              "Snoop Scratchy Scratch", "DefaultMidiSlicer", "Pure Dynamite", "TurboSlicer", "Banana Break",
              "RollPitchCopter", "Filtrogater", "Dr Feelgood", "Golden Gate"}},
    };
    for (ParamID id : {0, 10, 11, 13, 15, 17, 27, 28, 29, 30, 31})
        lists.push_back({id, {"Off", "On"}});
    for (const auto& [id, names] : lists) {
        const auto steps = static_cast<double>(names.size() - 1);
        for (size_t index = 0; index < names.size(); ++index)
            EXPECT_EQ(valueText(*controller, id, index / steps), names[index]) << "id " << id;
    }
}

TEST_F(ParameterTableTest, id_12_and_ids_past_37_are_answered_as_unregistered)
{
    for (ParamID id : {12u, 38u, 1000u}) {
        SCOPED_TRACE(id);
        ParameterInfo info {};
        EXPECT_EQ(controller->getParameterInfoByTag(id, info), kResultFalse);
        String128 text {u'x', 0};
        EXPECT_EQ(controller->getParamStringByValue(id, 0.5, text), kResultFalse);
        EXPECT_EQ(text[0], u'x'); // untouched
        ParamValue value = -1;
        TChar number[] = u"0.5";
        EXPECT_EQ(controller->getParamValueByString(id, number, value), kResultFalse);
        EXPECT_EQ(controller->setParamNormalized(id, 0.5), kResultFalse);
        EXPECT_EQ(controller->getParamNormalized(id), 0.0);
    }
}

TEST_F(ParameterTableTest, root_unit_holds_the_factory_program_list_and_refuses_other_indexes)
{
    ASSERT_EQ(controller->getUnitCount(), 1);
    UnitInfo unit {};
    ASSERT_EQ(controller->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.id, kRootUnitId);
    EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
    EXPECT_EQ(narrow(unit.name), "Root");
    EXPECT_EQ(unit.programListId, 36);
    ASSERT_EQ(controller->getProgramListCount(), 1);
    ProgramListInfo list {};
    ASSERT_EQ(controller->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, 36);
    EXPECT_EQ(narrow(list.name), "Factory Presets");
    EXPECT_EQ(list.programCount, 16);
    String128 name {};
    ASSERT_EQ(controller->getProgramName(36, 7, name), kResultOk);
    EXPECT_EQ(narrow(name), "Snoop Scratchy Scratch");

    ParameterInfo info {};
    EXPECT_EQ(controller->getParameterInfo(-1, info), kResultFalse);
    EXPECT_EQ(controller->getParameterInfo(37, info), kResultFalse);
    EXPECT_EQ(controller->getUnitInfo(-1, unit), kResultFalse);
    EXPECT_EQ(controller->getUnitInfo(1, unit), kResultFalse);
    EXPECT_EQ(controller->getProgramListInfo(1, list), kResultFalse);
    EXPECT_EQ(controller->getProgramName(36, 16, name), kResultFalse);
    EXPECT_EQ(controller->getProgramName(36, -1, name), kResultFalse);
}

TEST_F(ParameterTableTest, plain_values_follow_each_class_and_stay_in_range_for_bad_input)
{
    const std::tuple<ParamID, double, double> cases[] = {
        {9, 0.5, 6.0}, {9, 1.0, 12.0}, {16, 0.5, 2.0}, {36, 1.0, 15.0}, {1, 0.3, 0.3}, {36, std::nan(""), 0.0},
        {16, -3.0, 0.0}, {9, 7.0, 12.0},
    };
    for (auto [id, normalised, plain] : cases)
        EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(id, normalised), plain) << id << " " << normalised;
    EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(9, 3.0), 0.25);
}

} // namespace
} // namespace ControllerTest
