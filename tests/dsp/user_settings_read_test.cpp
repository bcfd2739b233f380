// The user settings file: the defaults the DSP object takes, number formats, and the lines a write changes.
#include <gtest/gtest.h>

#include <array>
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

// The saved-default parameters of a DSP object built under a fresh home holding the given settings text.
std::vector<float> savedDefaults(const std::string& settings)
{
    ScopedHome home;
    std::filesystem::create_directories(home.settingsFolder());
    std::ofstream(home.settingsFolder() + "/Vextoria3.conf") << settings;
    Vextoria3FX fx;
    return {fx.getParameter(15), fx.getParameter(17), fx.getParameter(27), fx.getParameter(32), fx.getParameter(33)};
}
} // namespace

TEST(Settings, AnOpenGateAppliesSavedDefaultsReadLikeNumbers)
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
}

TEST(Settings, AWriteChangesOnlyTheLinesOfValuesSetAndPutsNewKeysAfterTheirSectionsLastKey)
{
    struct Case { std::string before; std::vector<std::array<const char*, 3>> set; std::string after; }; // section, key, value
    const Case cases[] = {
        // Comments (the one after the last key too), spacing, blank lines and other sections stay.
        {"; kept\n[Other]\nkeep = yes\n\n[Plugin]\nfoo = bar\n  uiid = 0  \n\n; last\n", {{"Plugin", "uiid", "1"}},
         "; kept\n[Other]\nkeep = yes\n\n[Plugin]\nfoo = bar\n  uiid=1\n\n; last\n"},
        // New keys after the section's last key, in the order set, ending as the file's lines do.
        {"\xEF\xBB\xBF[Plugin]\r\nuiid=0\r\n\r\n[Other]\r\nx=1", {{"Plugin", "active", "1.000000"}, {"Plugin", "size", "0.5"}},
         "\xEF\xBB\xBF[Plugin]\r\nuiid=0\r\nactive=1.000000\r\nsize=0.5\r\n\r\n[Other]\r\nx=1"},
        // A value already there changes nothing; a new section goes at the end, before an open header.
        {"[Other]\nuiid = 1\n[Plugin]\nuiid = 1\n[Empty]\n[", {{"Plugin", "uiid", "1"}, {"Empty", "k", "v"}, {"New", "k", "v"}},
         "[Other]\nuiid = 1\n[Plugin]\nuiid = 1\n[Empty]\nk=v\n[New]\nk=v\n["},
        // The reader takes the last repeated key or section; a header without "]" names nothing.
        {"[Plugin]\nuiid=0\n[Plugin\nuiid=0\n[ Plugin ] x\nuiid=0\n[Other]\n", {{"Plugin", "uiid", "1"}, {"Plugin", "active", "1"}},
         "[Plugin]\nuiid=0\n[Plugin\nuiid=0\n[ Plugin ] x\nuiid=1\nactive=1\n[Other]\n"},
    };
    ScopedHome home;
    const std::string path = home.path() + "/test.conf";
    SettingsFile settings, again;
    for (const Case& test : cases) {
        std::ofstream(path, std::ios::binary) << test.before;
        ASSERT_TRUE(settings.load(path));
        for (const auto& [section, key, value] : test.set)
            settings.setText(section, key, value);
        ASSERT_TRUE(settings.save(path) && again.load(path));
        EXPECT_EQ(readFile(path), test.after) << test.before;
        for (const auto& [section, key, value] : test.set)
            EXPECT_EQ(again.text(section, key), value) << test.before;
    }
    EXPECT_FALSE(again.load(home.path() + "/missing.conf"));
    EXPECT_EQ(again.text("Plugin", "uiid"), std::nullopt);
}
