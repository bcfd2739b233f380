// The parameters as a host lists them, their texts at each edge read back; the host's name as the editor reads it.
#include "ControllerHarness.h"
#include "editor/PluginWrapper.h"

namespace ControllerTest {
namespace {

using TableTest = ControllerFixture;

TEST_F(TableTest, parameters_come_in_id_order_flagged_by_kind_and_show_their_texts_up_to_each_edge)
{
    // Ids 0 to 37: List or range, Plain, MIDI target (read-only, hidden), proGram list, Bypass.
    const std::string kinds = "LPPPPPPPPLLL-LLLLLPPPPPPPPLLLLLLLPMMGB", kindNames = "LPMGB";
    const int32 kindFlags[] = {9, 1, 0x12, 0x8008, 0x10001};
    for (int32 index = 0; index < 37; ++index) {
        ParameterInfo info {};
        ASSERT_EQ(controller->getParameterInfo(index, info), kResultOk);
        ASSERT_EQ(info.id, ParamID(index < 12 ? index : index + 1));
        EXPECT_EQ(info.flags, kindFlags[kindNames.find(kinds[info.id])]) << "id " << info.id;
    }
    const std::tuple<ParamID, double, const char*> texts[] = {
        {7, 0.0, "1 BEAT "}, {7, 0.49, "1 BEAT "}, {7, 0.5, "1/2 BEAT"}, {7, 0.99, "1/2 BEAT"}, {7, 1.0, "1/4 BEAT"},
        {37, 0.5, "Off"}, {37, 0.51, "On"}, {13, 0.49, "Off"}, {13, 0.5, "On"}, {1, 0.85, "0.8500"},
        {25, 0.00005, "0.0001"}, {9, 0.5, "6"}, {9, 0.99, "12"}, {16, 0.5, "HP Filter"}, {16, 0.75, "Pitch FX"},
        {14, 1.0, "Midi Slice"}, {32, 0.5, "On Play"}, {36, 0.5, "DefaultMidiSlicer"}, {36, 1.0, "Golden Gate"},
    };
    for (auto [id, value, expected] : texts) {
        String128 text {}, again {};
        ParamValue back = -1;
        EXPECT_EQ(controller->getParamStringByValue(id, value, text), kResultOk);
        EXPECT_EQ(narrow(text), expected) << "id " << id << " at " << value;
        if (id == 7 || id == 37)
            continue; // texts that are only shown; every other text reads back to itself
        EXPECT_TRUE(controller->getParamValueByString(id, text, back) == kResultOk &&
                    controller->getParamStringByValue(id, back, again) == kResultOk && narrow(again) == expected)
            << "id " << id << " '" << expected << "' read back as " << back;
    }
}

TEST(HostName, a_name_that_fills_the_whole_buffer_without_an_end_is_read_no_further)
{
    struct : HostApplication {
        tresult PLUGIN_API getName(String128 name) override { return std::fill_n(name, 128, u'r'), kResultOk; }
    } host;
    auto plain = owned(new EditController);
    ASSERT_EQ(plain->initialize(&host), kResultOk);
    const std::string name = PluginWrapper(plain).getHostName();
    EXPECT_TRUE(name.size() <= 128 && name.substr(0, 127) == std::string(127, 'r')) << name;
}

} // namespace
} // namespace ControllerTest
