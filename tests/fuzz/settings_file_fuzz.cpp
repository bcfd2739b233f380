// The user settings file as the DSP object and the controller read it: any bytes in the
// file give each key's text and number, or none, and the controller's hidden settings stay
// inside 0..1.
#include "FuzzInput.h"

#include "controller/HiddenDefaults.h"
#include "controller/HiddenParameters.h"
#include "settings/SettingsFile.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

const char* const kKeys[] = {"active", "size", "darkmode", "knobspeed", "scopestyle", "movetoast", "editfx",
                             "scopespeed", "stretch", "nodirect", "pitchset", "replayseq"};


// The file where the DSP object and, in the test's home folder, the controller look.
std::string settingsPath()
{
    const auto home = SettingsFile::homeFolder();
    if (!home)
        std::abort();
    SettingsFile::prepare(*home);
    return SettingsFile::settingsPath(*home);
}
} // namespace

std::vector<FuzzSeed> fuzzSeeds()
{
    const std::string saved = "; saved by the editor\n[Plugin]\nactive=1.000000\nsize=0.250000\ndarkmode=1\n"
                              "knobspeed=0x1p-1\nscopestyle=inf\nnodirect= 7.5e-1junk\n[Other]\nsize=2\n";
    const std::string broken = "[Plugin\nactive\n=1\n[Plugin]]\nsize==0.5\n\xff\xfe[\n";
    return {FuzzSeed().raw(saved.data(), saved.size()), FuzzSeed().raw(broken.data(), broken.size())};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = settingsPath();
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    SettingsFile settings;
    settings.load(path);
    settings.defaultsEnabled();
    for (const char* key : kKeys) {
        settings.text("Plugin", key);
        if (const auto number = settings.number("Plugin", key); number && std::isnan(*number))
            std::abort();
    }
    HiddenParameters hidden;
    readHiddenDefaults(hidden);
    for (int32_t index = 0; index < HiddenParameters::count; ++index)
        if (!(hidden.getParamValue(index) >= 0.0 && hidden.getParamValue(index) <= 1.0))
            std::abort();
    parseLeadingNumber(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
