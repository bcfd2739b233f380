// The user's saved UI defaults, read at initialisation from the settings file under HOME.
#include "ControllerHarness.h"

#include <cstdlib>

namespace ControllerTest {
namespace {

using SettingsTest = ControllerFixture;

TEST_F(SettingsTest, saved_defaults_apply_only_behind_an_open_gate)
{
    struct Case {
        const char* what;
        std::string file;
        std::vector<double> hidden;
    };
    const std::string keys = "size=0.5\ndarkmode=1\nscopestyle=0.5\nknobspeed=0.25\nmovetoast=1\neditfx=1\n";
    const Case cases[] = {
        {"no file", "", {0, 0, 0, 1, 0, 0, 0}},
        {"gate open", "[Plugin]\nactive=1.000000\n" + keys, {0.5, 1, 0.5, 0.25, 1, 1, 0}},
        {"gate written by hand", "[Plugin]\nactive=1\nsize=0.333333\n", {0.333333, 0, 0, 1, 0, 0, 0}},
        {"gate closed", "[Plugin]\nactive=0.000000\n" + keys, {0, 0, 0, 1, 0, 0, 0}},
        {"gate no number", "[Plugin]\nactive=abc\n" + keys, {0, 0, 0, 1, 0, 0, 0}},
        {"gate missing", "[Plugin]\n" + keys, {0, 0, 0, 1, 0, 0, 0}},
        {"gate empty", "[Plugin]\nactive=\n" + keys, {0, 0, 0, 1, 0, 0, 0}},
        {"other section", "[Other]\nactive=1\n" + keys, {0, 0, 0, 1, 0, 0, 0}},
        {"values out of range refused one by one", "[Plugin]\nactive=1\nknobspeed=2\nsize=-0.5\ndarkmode=1\n",
         {0, 1, 0, 1, 0, 0, 0}},
        {"empty value skipped, text reads 0", "[Plugin]\nactive=1\nknobspeed=\nsize=abc\neditfx=nan\n",
         {0, 0, 0, 1, 0, 0, 0}},
        {"the FX tab has no key", "[Plugin]\nactive=1\nfxtab=0.75\n", {0, 0, 0, 1, 0, 0, 0}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        writeSettings(test.file);
        initialise();
        const auto values = hiddenValues(*controller);
        for (int32_t index = 0; index < 7; ++index)
            EXPECT_NEAR(values[index], test.hidden[index], 1e-9) << index;
    }
}

TEST_F(SettingsTest, an_empty_home_reads_from_the_root_folder_and_initialises)
{
    setenv("HOME", "", 1);
    initialise();
    EXPECT_EQ(hiddenValues(*controller), (std::vector<double>{0, 0, 0, 1, 0, 0, 0}));
}

} // namespace
} // namespace ControllerTest
