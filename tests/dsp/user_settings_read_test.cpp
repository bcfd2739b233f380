// The user settings file: where it lives, how it is prepared, which saved defaults the DSP
// object takes, and how numbers are read and written.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(Settings, HomeIsTakenUnchangedElseFromThePasswordDatabase)
{
    ScopedHome home;
    EXPECT_EQ(SettingsFile::homeFolder(), home.path());
    setenv("HOME", "", 1);
    EXPECT_EQ(SettingsFile::homeFolder(), std::nullopt) << "an empty home is none";
    EXPECT_EQ(SettingsFile::settingsPath(""), "/.harlowmint/Vextoria3/Vextoria3.conf");
    unsetenv("HOME");
    const passwd* entry = getpwuid(getuid());
    EXPECT_EQ(SettingsFile::homeFolder(), entry != nullptr && entry->pw_dir != nullptr
                                              ? std::optional<std::string>(entry->pw_dir) : std::nullopt);
}

TEST(Settings, FoldersAndAnEmptyFileAreCreatedAndFailuresOnlyPrinted)
{
    const std::string folderMessage = "Vextoria3FX > Error Can't Create settings configuration folder \n";
    const std::string fileMessage = "Vextoria3FX > Error Can't Create settings configuration file \n";
    // what is in the way at ~/.harlowmint: nothing, the folder, a file
    for (const auto& [inTheWay, printed, fileMade] : {std::tuple{"", std::string(), true}, {"folder", folderMessage, true},
                                                      {"file", folderMessage + fileMessage, false}}) {
        ScopedHome home;
        if (std::string(inTheWay) == "folder")
            mkdir((home.path() + "/.harlowmint").c_str(), 0775);
        if (std::string(inTheWay) == "file")
            std::ofstream(home.path() + "/.harlowmint") << "not a folder";
        testing::internal::CaptureStdout();
        Vextoria3FX fx;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), printed) << inTheWay;
        struct stat info {};
        EXPECT_EQ(stat((home.settingsFolder() + "/Vextoria3.conf").c_str(), &info) == 0, fileMade) << inTheWay;
        EXPECT_EQ(readFile(home.settingsFolder() + "/Vextoria3.conf"), "") << inTheWay;
        EXPECT_EQ(fx.getParameter(33), 0.5f) << "construction goes on: " << inTheWay;
    }
}

TEST(Settings, AnOpenGateAppliesTheSavedDefaultsReadLikeNumbersAndClamped)
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

TEST(Settings, WritingKeepsOrderAndCommentsAndAddsKeysWithoutBlanks)
{
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
