#include "HiddenDefaults.h"

#include "settings/SettingsFile.h"

void readHiddenDefaults(HiddenParameters& hidden)
{
    struct Key {
        const char* name;
        int32_t index;
    };
    // The order in which the editor's save writes them.
    static constexpr Key kKeys[] = {
        {"size", HiddenParamIndex::size},           {"darkmode", HiddenParamIndex::darkmode},
        {"knobspeed", HiddenParamIndex::knobspeed}, {"scopestyle", HiddenParamIndex::scopestyle},
        {"movetoast", HiddenParamIndex::movetoast}, {"editfx", HiddenParamIndex::editfx},
    };
    const auto home = SettingsFile::homeFolder();
    if (!home)
        return;
    SettingsFile file;
    file.load(SettingsFile::settingsPath(*home));
    if (!file.defaultsEnabled())
        return;
    for (const Key& key : kKeys)
        if (const auto value = file.number("Plugin", key.name))
            hidden.setParamValue(key.index, *value);
}
