// The user settings file: which saved defaults the DSP object takes, and how numbers are
// read and written.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScopedHome.h"
#include "dsp/Vextoria3FX.h"
#include "settings/SettingsFile.h"

namespace {
std::string readFile(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// The saved-default parameters (stretch, no direct, pitch set, replay, scope speed) of a DSP
// object constructed under a fresh home holding the given settings text.
std::vector<float> savedDefaults(const std::string& settings)
{
    ScopedHome home;
    std::filesystem::create_directories(home.settingsFolder());
    std::ofstream(home.settingsFolder() + "/Vextoria3.conf") << settings;
    Vextoria3FX fx;
    return {fx.getParameter(15), fx.getParameter(17), fx.getParameter(27), fx.getParameter(32), fx.getParameter(33)};
}
} // namespace

TEST(Settings, AnOpenGateAppliesSavedDefaultsReadLikeNumbersAndWritingKeepsOrderAndComments)
{
    EXPECT_EQ(savedDefaults("[Plugin]\nactive=1.000000\nsize=0.333333\nscopespeed=0.250000\nstretch=1.000000\n"
                            "nodirect=1.000000\npitchset=1.000000\nreplayseq=0.500000\n"),
              (std::vector<float>{1.0f, 1.0f, 1.0f, 0.5f, 0.25f}));
    for (const char* gate : {"active=0.000000\n", "active=abc\n", "active=\n", "active=0\n", "", "active=nan\n"})
        EXPECT_EQ(savedDefaults(std::string("[Plugin]\n") + gate + "stretch=1.000000\nscopespeed=0.1\n"),
                  (std::vector<float>{0.0f, 0.0f, 0.0f, 0.0f, 0.5f})) << "a closed gate: " << gate;
    // "abc" reads as 0, out of range is clamped, empty is skipped, hexadecimal as strtod reads it.
    EXPECT_EQ(savedDefaults("; kept by hand\n[Other]\nstretch=1\n[Plugin]\nactive = 1\nstretch=abc\nnodirect= 7.5\n"
                            "pitchset=\nreplayseq=0.5junk\nSTRETCH=1\nscopespeed=0x1p-2\n"),
              (std::vector<float>{0.0f, 1.0f, 0.0f, 0.5f, 0.25f}));

    const std::pair<const char*, double> numbers[] = {
        {"1.000000", 1.0}, {"  0.5abc", 0.5}, {"+0.25", 0.25}, {"-2", -2.0}, {"1e-1", 0.1}, {"abc", 0.0}, {"", 0.0},
        {"0,5", 0.0}, {"0x1", 1.0}, {"0X1P-2", 0.25}, {"+-1", 0.0}, {"1e-999", 0.0}, {"nan", 0.0}, {"-nan(7)", 0.0},
        {"inf", HUGE_VAL}, {" -Infinity", -HUGE_VAL}, {"1e999", HUGE_VAL}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(parseLeadingNumber(text), value) << text;
    EXPECT_EQ(formatFixedSix(1.0) + " " + formatFixedSix(1.0 / 3.0), "1.000000 0.333333");

    // Writing keeps the order and the comments and adds keys without blanks.
    ScopedHome home;
    const std::string path = home.path() + "/test.conf";
    std::ofstream(path) << "; comment\n[Other]\nkeep=yes\n[Plugin]\nuiid=0\nsigns=+-5\n";
    SettingsFile settings;
    ASSERT_TRUE(settings.load(path));
    settings.setNumber("Plugin", "active", 1.0);
    settings.setText("Plugin", "uiid", "1");
    ASSERT_TRUE(settings.save(path));
    const std::string text = readFile(path);
    EXPECT_LT(text.find("; comment"), text.find("[Other]"));
    EXPECT_LT(text.find("[Other]"), text.find("[Plugin]"));
    EXPECT_LT(text.find("uiid=1"), text.find("active=1.000000"));
    EXPECT_EQ(text.find(" = "), std::string::npos);
    SettingsFile again;
    ASSERT_TRUE(again.load(path));
    EXPECT_TRUE(again.defaultsEnabled());
    EXPECT_EQ(again.text("Other", "keep"), "yes");
    EXPECT_EQ(again.number("Plugin", "signs"), 0.0) << "as strtod reads it";
    EXPECT_EQ(again.text("plugin", "uiid"), std::nullopt) << "names are case-sensitive";
    EXPECT_FALSE(again.load(home.path() + "/missing.conf"));
    EXPECT_EQ(again.text("Other", "keep"), std::nullopt);
}
