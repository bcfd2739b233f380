// The user settings file as the editor writes and reads it, in a temporary home: the twelve
// keys of a save, the reset's closed gate, the layout key, and files that must be neither
// waited for nor overwritten.
#include "EditorHarness.h"

#include "editor/UserDefaults.h"
#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/stat.h>

using namespace EditorTest;

namespace {

class UserDefaultsTest : public ControllerFixture {
protected:
    std::string path() const { return home.settingsFolder() + "/Vextoria3.conf"; }
    std::string text() const
    {
        std::ifstream file(path());
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    PluginWrapper wrapper() const { return PluginWrapper(controller); }
};

} // namespace

TEST_F(UserDefaultsTest, SaveWritesTheTwelveKeysInOrderResetClosesOnlyTheGateAndTheLayoutComesFirst)
{
    writeSettings("");
    for (auto [index, value] : {std::pair{0, 1.0 / 3.0}, {2, 0.5}, {5, 1.0}})
        controller->getHiddenParameters().setParamValue(index, value);
    for (auto [id, value] : {std::pair{33, 0.25}, {15, 1.0}, {27, 1.0}, {32, 0.5}})
        controller->setParamNormalized(Steinberg::Vst::ParamID(id), value);
    ASSERT_TRUE(UserDefaults::save(wrapper()));
    std::string saved = "[Plugin]\nactive=1.000000\nsize=0.333333\ndarkmode=0.000000\nknobspeed=1.000000\n"
                        "scopestyle=0.500000\nmovetoast=0.000000\neditfx=1.000000\nscopespeed=0.250000\n"
                        "stretch=1.000000\nnodirect=0.000000\npitchset=1.000000\nreplayseq=0.500000\n";
    EXPECT_EQ(text(), saved);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.settingsFolder()), {}), 1) << "no temporary file left";
    ASSERT_TRUE(UserDefaults::closeGate());
    EXPECT_EQ(text(), saved.replace(saved.find("active=1"), 8, "active=0"));
    ASSERT_TRUE(UserDefaults::writeLayout(0));
    EXPECT_EQ(text(), saved + "uiid=0\n");

    writeSettings("; mine\n[Other]\nkey = kept\n");
    chmod(path().c_str(), 0640);
    ASSERT_TRUE(UserDefaults::writeLayout(0));
    EXPECT_NE(text().find("; mine\n"), std::string::npos);
    EXPECT_LT(text().find("[Other]\nkey=kept\n"), text().find("[Plugin]\nuiid=0\n")) << "other sections are kept, before ours";
    struct stat info {};
    stat(path().c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the file keeps its permissions";
    ASSERT_TRUE(UserDefaults::save(wrapper()));
    EXPECT_EQ(text().find("[Plugin]\nuiid=0\nactive=1.000000\nsize="), text().find("[Plugin]"));
}

TEST_F(UserDefaultsTest, OnlyExactlyZeroChoosesLegacy)
{
    const std::pair<const char*, int32> cases[] = {
        {"1", kUiRack},     {"0", kUiLegacy},   {"", kUiRack},           {"2", kUiRack},                   {"-1", kUiRack},
        {"abc", kUiLegacy}, {" 0x", kUiLegacy}, {"4294967296", kUiRack}, {"99999999999999999999", kUiRack},
    };
    for (const auto& [value, style] : cases) {
        writeSettings(std::string("[Plugin]\nuiid=") + value + "\n");
        EXPECT_EQ(UserDefaults::readLayout(), style) << value;
    }
    std::filesystem::remove(path());
    EXPECT_EQ(UserDefaults::readLayout(), kUiRack);
}

TEST_F(UserDefaultsTest, FilesThatAreNoPlainSmallFileAreNeitherWaitedForNorOverwritten)
{
    writeSettings("");
    std::filesystem::remove(path());
    ASSERT_EQ(mkfifo(path().c_str(), 0600), 0);
    auto attempt = std::async(std::launch::async, [this] {
        SettingsFile::prepare(home.path()); // as the processor and the controller start
        SettingsFile().load(path());
        return std::pair(UserDefaults::readLayout(), UserDefaults::writeLayout(0));
    });
    const bool finished = attempt.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!finished)
        close(open(path().c_str(), O_WRONLY | O_NONBLOCK)); // let a blocked reader go
    ASSERT_TRUE(finished) << "a FIFO must not hold the host";
    EXPECT_EQ(attempt.get(), std::pair(int32(kUiRack), false));
    EXPECT_TRUE(std::filesystem::is_fifo(path()));
    std::filesystem::remove(path());

    const std::string oversized = "[Plugin]\nuiid=0\n;" + std::string(SettingsFile::kMaxBytes, 'x') + "\n";
    writeSettings(oversized);
    EXPECT_EQ(UserDefaults::readLayout(), kUiRack);
    EXPECT_FALSE(UserDefaults::save(wrapper()));
    EXPECT_EQ(text(), oversized);
    std::filesystem::remove(path());

    std::filesystem::create_directory(path()); // unreadable as a file
    EXPECT_FALSE(UserDefaults::closeGate());
    EXPECT_TRUE(std::filesystem::is_directory(path()));
    std::filesystem::remove(path());
}

TEST_F(UserDefaultsTest, AnEmptyHomeIsNoHomeAndNotANumberKeepsTheGateShut)
{
    setenv("HOME", "", 1);
    EXPECT_EQ(SettingsFile::homeFolder(), std::nullopt);
    EXPECT_FALSE(UserDefaults::writeLayout(0));
    EXPECT_EQ(UserDefaults::readLayout(), kUiRack);
    EXPECT_FALSE(std::filesystem::exists("/.harlowmint")) << "nothing made at the root";
    SettingsFile file;
    for (const char* active : {"nan", "-NAN(1)", "0", "abc", "0.0e5"}) {
        file.setText("Plugin", "active", active);
        EXPECT_FALSE(file.defaultsEnabled()) << active;
    }
    file.setText("Plugin", "active", "1");
    EXPECT_TRUE(file.defaultsEnabled());
}
