#include "UserDefaults.h"

#include "PluginWrapper.h"
#include "settings/SettingsFile.h"

#include <cstdlib>
#include <string>

namespace {

constexpr const char* kSection = "Plugin";
constexpr int32_t kLegacy = 0;
constexpr int32_t kRack = 1;

// Reads the file for a rewrite, lets `change` edit it and writes it back; nothing when there
// is no home or an existing file cannot be read.
template <typename Change>
bool rewrite(Change change)
{
    const std::optional<std::string> home = SettingsFile::homeFolder();
    if (!home)
        return false;
    const std::string path = SettingsFile::settingsPath(*home);
    SettingsFile file;
    if (!file.loadForRewrite(path))
        return false;
    change(file);
    return file.save(path);
}

} // namespace

const UserDefaults::Entry UserDefaults::kEntries[11] = {
    {"size", true, 0, 0.0},        {"darkmode", true, 1, 0.0},    {"knobspeed", true, 3, 1.0},
    {"scopestyle", true, 2, 0.0},  {"movetoast", true, 4, 0.0},   {"editfx", true, 5, 0.0},
    {"scopespeed", false, 33, 0.5}, {"stretch", false, 15, 0.0},  {"nodirect", false, 17, 0.0},
    {"pitchset", false, 27, 0.0},  {"replayseq", false, 32, 0.0},
};

int32_t UserDefaults::readLayout()
{
    const std::optional<std::string> home = SettingsFile::homeFolder();
    if (!home)
        return kRack;
    SettingsFile file;
    file.load(SettingsFile::settingsPath(*home));
    const std::optional<std::string> text = file.text(kSection, "uiid");
    if (!text)
        return kRack;
    // A long, not cut to 32 bits: only exactly 0 or 1 choose.
    const long layout = std::strtol(text->c_str(), nullptr, 10);
    return layout == kLegacy ? kLegacy : kRack;
}

bool UserDefaults::writeLayout(int32_t style)
{
    return rewrite([style](SettingsFile& file) { file.setText(kSection, "uiid", std::to_string(style)); });
}

bool UserDefaults::save(const PluginWrapper& wrapper)
{
    double values[std::size(kEntries)];
    for (size_t i = 0; i < std::size(kEntries); ++i)
        values[i] = kEntries[i].hidden ? wrapper.getHiddenParameter(kEntries[i].index) : wrapper.getParameter(kEntries[i].index);
    return rewrite([&values](SettingsFile& file) {
        file.setNumber(kSection, "active", 1.0);
        for (size_t i = 0; i < std::size(kEntries); ++i)
            file.setNumber(kSection, kEntries[i].key, values[i]);
    });
}

bool UserDefaults::closeGate()
{
    return rewrite([](SettingsFile& file) { file.setNumber(kSection, "active", 0.0); });
}
