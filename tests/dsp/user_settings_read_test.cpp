// The user settings file: where it lives, how it is prepared, which saved defaults the DSP
// object takes, and how numbers are read and written.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "ScopedHome.h"
#include "dsp/Vextoria3FX.h"
#include "settings/SettingsFile.h"

namespace {

const std::string kFolderMessage = "Vextoria3FX > Error Can't Create settings configuration folder \n";
const std::string kFileMessage = "Vextoria3FX > Error Can't Create settings configuration file \n";

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

std::string readFile(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// A DSP object constructed under a fresh home holding the given settings text.
struct SavedDefaults {
    explicit SavedDefaults(const std::string& settings)
    {
        mkdir((home.path() + "/.harlowmint").c_str(), 0775);
        mkdir(home.settingsFolder().c_str(), 0775);
        writeFile(home.settingsFolder() + "/Vextoria3.conf", settings);
        fx.emplace();
    }
    ScopedHome home;
    std::optional<Vextoria3FX> fx;
};

} // namespace

TEST(SettingsLocation, HomeIsTakenUnchangedElseFromThePasswordDatabase)
{
    ScopedHome home;
    EXPECT_EQ(SettingsFile::homeFolder(), home.path());
    setenv("HOME", "", 1);
    EXPECT_EQ(SettingsFile::homeFolder(), std::nullopt) << "an empty home is none";
    EXPECT_EQ(SettingsFile::settingsPath(""), "/.harlowmint/Vextoria3/Vextoria3.conf");
    unsetenv("HOME");
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr)
        EXPECT_EQ(SettingsFile::homeFolder(), std::string(entry->pw_dir));
    else
        EXPECT_EQ(SettingsFile::homeFolder(), std::nullopt);
}

TEST(SettingsPreparation, FoldersAndFileAreCreatedAndFailuresOnlyPrinted)
{
    struct Case {
        const char* name;
        void (*prepare)(const ScopedHome&);
        std::string printed;
        bool fileMade;
    };
    const Case cases[] = {
        {"first start", [](const ScopedHome&) {}, "", true},
        {"maker folder exists", [](const ScopedHome& h) { mkdir((h.path() + "/.harlowmint").c_str(), 0775); },
         kFolderMessage, true},
        {"a file in the way", [](const ScopedHome& h) { writeFile(h.path() + "/.harlowmint", "not a folder"); },
         kFolderMessage + kFileMessage, false},
    };
    for (const Case& c : cases) {
        ScopedHome home;
        c.prepare(home);
        testing::internal::CaptureStdout();
        Vextoria3FX fx;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed) << c.name;
        struct stat info {};
        EXPECT_EQ(stat((home.settingsFolder() + "/Vextoria3.conf").c_str(), &info) == 0, c.fileMade) << c.name;
        EXPECT_EQ(readFile(home.settingsFolder() + "/Vextoria3.conf"), "") << c.name;
        EXPECT_EQ(fx.getParameter(33), 0.5f) << "construction goes on: " << c.name;
    }
}

TEST(SettingsSavedDefaults, OpenGateAppliesTheFiveSoundKeysAndAClosedOneNothing)
{
    const SavedDefaults open("[Plugin]\nactive=1.000000\nsize=0.333333\nscopespeed=0.250000\nstretch=1.000000\n"
                             "nodirect=1.000000\npitchset=1.000000\nreplayseq=0.500000\n");
    EXPECT_EQ(open.fx->getParameter(33), 0.25f);
    EXPECT_EQ(open.fx->getParameter(15), 1.0f);
    EXPECT_EQ(open.fx->getParameter(17), 1.0f);
    EXPECT_EQ(open.fx->getParameter(27), 1.0f);
    EXPECT_EQ(open.fx->getParameter(32), 0.5f);

    for (const char* gate : {"active=0.000000\n", "active=abc\n", "active=\n", "active=0\n", ""}) {
        const SavedDefaults closed(std::string("[Plugin]\n") + gate + "stretch=1.000000\nscopespeed=0.1\n");
        EXPECT_EQ(closed.fx->getParameter(15), 0.0f) << gate;
        EXPECT_EQ(closed.fx->getParameter(33), 0.5f) << gate;
    }
}

TEST(SettingsSavedDefaults, HandWrittenValuesAreReadLikeNumbersAndClamped)
{
    const SavedDefaults saved("; kept by hand\n[Other]\nstretch=1\n[Plugin]\nactive = 1\nstretch=abc\nnodirect= 7.5\n"
                              "pitchset=\nreplayseq=0.5junk\nSTRETCH=1\nscopespeed=0x1p-2\n");
    EXPECT_EQ(saved.fx->getParameter(15), 0.0f) << "\"abc\" reads as 0";
    EXPECT_EQ(saved.fx->getParameter(17), 1.0f) << "out of range: clamped";
    EXPECT_EQ(saved.fx->getParameter(27), 0.0f) << "empty: skipped, default kept";
    EXPECT_EQ(saved.fx->getParameter(32), 0.5f);
    EXPECT_EQ(saved.fx->getParameter(33), 0.25f) << "hexadecimal, as strtod reads it";

    const std::pair<const char*, double> numbers[] = {{"1.000000", 1.0}, {"  0.5abc", 0.5}, {"+0.25", 0.25},
                                                      {"-2", -2.0},      {"1e-1", 0.1},     {"abc", 0.0},
                                                      {"", 0.0},         {"0,5", 0.0},      {"0x1", 1.0},
                                                      {"0X1P-2", 0.25},  {"+-1", 0.0},      {"1e-999", 0.0},
                                                      {"nan", 0.0},      {"-nan(7)", 0.0},  {"inf", HUGE_VAL},
                                                      {" -Infinity", -HUGE_VAL}, {"1e999", HUGE_VAL}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(parseLeadingNumber(text), value) << text;
    EXPECT_EQ(formatFixedSix(1.0), "1.000000");
    EXPECT_EQ(formatFixedSix(1.0 / 3.0), "0.333333");
}

TEST(SettingsWriting, KeepsOrderAndCommentsAndAddsKeysWithoutBlanks)
{
    ScopedHome home;
    const std::string path = home.path() + "/test.conf";
    writeFile(path, "; comment\n[Other]\nkeep=yes\n[Plugin]\nuiid=0\n");
    SettingsFile settings;
    ASSERT_TRUE(settings.load(path));
    settings.setNumber("Plugin", "active", 1.0);
    settings.setText("Plugin", "uiid", "1");
    ASSERT_TRUE(settings.save(path));

    const std::string text = readFile(path);
    EXPECT_NE(text.find("; comment"), std::string::npos);
    EXPECT_LT(text.find("[Other]"), text.find("[Plugin]"));
    EXPECT_LT(text.find("uiid=1"), text.find("active=1.000000"));
    EXPECT_EQ(text.find(" = "), std::string::npos);

    SettingsFile again;
    ASSERT_TRUE(again.load(path));
    EXPECT_TRUE(again.defaultsEnabled());
    EXPECT_EQ(again.text("Other", "keep"), "yes");
    EXPECT_EQ(again.text("plugin", "uiid"), std::nullopt) << "names are case-sensitive";
    EXPECT_FALSE(again.load(home.path() + "/missing.conf"));
    EXPECT_EQ(again.text("Other", "keep"), std::nullopt);
}
