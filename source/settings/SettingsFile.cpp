#include "SettingsFile.h"

#include "IniLineEditor.h"
#include "SmallFile.h"

// Bytes are kept as they are: the file is UTF-8 and only read and written as char.
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

struct SettingsFile::Ini {
    CSimpleIniCaseA data; // what the readers look up
    IniLineEditor lines;  // what a save writes
};

namespace {

constexpr const char* kMakerFolder = "/.harlowmint";
constexpr const char* kProductFolder = "/Vextoria3";
constexpr const char* kFileName = "/Vextoria3.conf";

bool isDirectory(const std::string& path)
{
    DIR* directory = opendir(path.c_str());
    if (directory == nullptr)
        return false;
    closedir(directory);
    return true;
}

// Creates an empty file only where nothing is: whatever is at the path (a FIFO included) is
// left unopened.
void createEmptyFileIfMissing(const std::string& path)
{
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0)
        close(descriptor);
}

} // namespace

SettingsFile::SettingsFile() : ini(std::make_unique<Ini>()) {}
SettingsFile::~SettingsFile() = default;

std::optional<std::string> SettingsFile::homeFolder()
{
    if (const char* home = std::getenv("HOME"))
        return *home != '\0' ? std::optional<std::string>(home) : std::nullopt;
    const passwd* entry = getpwuid(getuid());
    if (entry == nullptr || entry->pw_dir == nullptr)
        return std::nullopt;
    return std::string(entry->pw_dir);
}

std::string SettingsFile::settingsFolder(const std::string& home)
{
    return home + kMakerFolder + kProductFolder;
}

std::string SettingsFile::settingsPath(const std::string& home)
{
    return settingsFolder(home) + kFileName;
}

void SettingsFile::prepare(const std::string& home)
{
    const std::string folder = settingsFolder(home);
    if (!isDirectory(folder)) {
        if (mkdir((home + kMakerFolder).c_str(), 0775) != 0)
            std::puts("Vextoria3FX > Error Can't Create settings configuration folder ");
        if (mkdir(folder.c_str(), 0775) != 0)
            std::puts("Vextoria3FX > Error Can't Create settings configuration file ");
        std::fflush(stdout);
    }
    createEmptyFileIfMissing(settingsPath(home));
}

bool SettingsFile::load(const std::string& path)
{
    bool missing = false;
    return read(path, missing);
}

bool SettingsFile::loadForRewrite(const std::string& path)
{
    bool missing = false;
    return read(path, missing) || missing;
}

bool SettingsFile::read(const std::string& path, bool& missing)
{
    std::string text;
    const ReadOutcome outcome = readSmallFile(path, kMaxBytes, text);
    missing = outcome == ReadOutcome::missing;
    if (outcome == ReadOutcome::read && loadText(std::move(text)))
        return true;
    loadText({});
    return false;
}

bool SettingsFile::loadText(std::string text)
{
    ini->data.Reset();
    const bool parsed = ini->data.LoadData(text) == SI_OK;
    if (!parsed)
        ini->data.Reset();
    ini->lines = IniLineEditor(parsed ? std::move(text) : std::string());
    return parsed;
}

bool SettingsFile::save(const std::string& path) const
{
    return replaceSmallFile(path, ini->lines.text());
}

std::optional<std::string> SettingsFile::text(std::string_view section, std::string_view key) const
{
    const char* value = ini->data.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

std::optional<double> SettingsFile::number(std::string_view section, std::string_view key) const
{
    const std::optional<std::string> value = text(section, key);
    if (!value)
        return std::nullopt;
    return parseLeadingNumber(*value);
}

void SettingsFile::setText(std::string_view section, std::string_view key, std::string_view value)
{
    ini->data.SetValue(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str());
    ini->lines.set(section, key, value);
}

void SettingsFile::setNumber(std::string_view section, std::string_view key, double value)
{
    setText(section, key, formatFixedSix(value));
}

bool SettingsFile::defaultsEnabled() const
{
    const std::optional<double> active = number("Plugin", "active");
    return active.has_value() && *active != 0.0;
}

double parseLeadingNumber(std::string_view text)
{
    // strtod in the C locale, made once: the process locale may use another decimal point.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string terminated(text);
    const double value = cLocale != nullptr ? strtod_l(terminated.c_str(), nullptr, cLocale) : 0.0;
    return std::isnan(value) ? 0.0 : value;
}

std::string formatFixedSix(double value)
{
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    if (error != std::errc())
        return "0.000000";
    return std::string(buffer, end);
}
