#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The per-user INI file: home + "/.harlowmint/Vextoria3/Vextoria3.conf". Names are
// case-sensitive; writing back keeps the file's sections, keys and comments in their order.
// Numbers are read and written independently of the process locale.
class SettingsFile {
public:
    SettingsFile();
    ~SettingsFile();

    // HOME unchanged (also when empty), else the password database; nullopt when neither.
    static std::optional<std::string> homeFolder();
    static std::string settingsFolder(const std::string& home); // home + "/.harlowmint/Vextoria3"
    static std::string settingsPath(const std::string& home);   // the file in that folder
    // Creates the folders (mode 0775) and an empty file when missing; prints one line on
    // standard output for each folder that cannot be created.
    static void prepare(const std::string& home);

    bool load(const std::string& path);       // false (and empty) when missing or unreadable
    bool save(const std::string& path) const; // false when the file cannot be written

    // The text of a key, only when present and not empty.
    std::optional<std::string> text(std::string_view section, std::string_view key) const;
    // The leading number of a non-empty text (parseLeadingNumber); a text without one reads as 0.
    std::optional<double> number(std::string_view section, std::string_view key) const;
    void setText(std::string_view section, std::string_view key, std::string_view value);
    void setNumber(std::string_view section, std::string_view key, double value); // six decimals

    // The saved defaults apply only when [Plugin] "active" reads as a number other than 0.
    bool defaultsEnabled() const;

private:
    struct Ini;
    std::unique_ptr<Ini> ini;
};

// The leading number of text as strtod reads it in the C locale, whatever the process locale:
// decimal or hexadecimal, exponents, "inf", an overflow as infinity; 0 when the text starts
// with no number, and for NaN.
double parseLeadingNumber(std::string_view text);
// Fixed point with six decimals, '.' as the decimal point.
std::string formatFixedSix(double value);
