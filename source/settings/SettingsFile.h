#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The per-user INI file: home + "/.harlowmint/Vextoria3/Vextoria3.conf". Names are
// case-sensitive; writing back changes only the lines of the values set, and adds lines for
// keys and sections that are new (IniLineEditor). Numbers are read and written independently
// of the process locale.
class SettingsFile {
public:
    SettingsFile();
    ~SettingsFile();

    // HOME unchanged when set, else the password database; nullopt when neither gives one
    // (an empty HOME counts as none: nothing is read or created).
    static std::optional<std::string> homeFolder();
    static std::string settingsFolder(const std::string& home); // home + "/.harlowmint/Vextoria3"
    static std::string settingsPath(const std::string& home);   // the file in that folder
    // Creates the folders (mode 0775) and an empty file when nothing is at the file's path;
    // prints one line on standard output for each folder that cannot be created.
    static void prepare(const std::string& home);

    static constexpr long kMaxBytes = 64 * 1024; // larger files are not read

    // Reads the file without blocking: false (and empty) when it is missing, is no regular
    // file (a FIFO, a folder), is larger than kMaxBytes or cannot be read.
    bool load(const std::string& path);
    // Reads settings text, as load reads the file's; false (and empty) when it cannot be parsed.
    bool loadText(std::string text);
    // Reads the file to write it back: true when it was read or does not exist yet (then
    // empty); false when a file is there that load refuses, which must not be overwritten.
    bool loadForRewrite(const std::string& path);
    // Writes the text read with the values set since, whole (replaceSmallFile): a failed write
    // leaves the old file whole, and a symbolic link at `path` keeps leading to the new file.
    // False when nothing could be written.
    bool save(const std::string& path) const;

    // The text of a key, only when present and not empty.
    std::optional<std::string> text(std::string_view section, std::string_view key) const;
    // The leading number of a non-empty text (parseLeadingNumber); a text without one reads as 0.
    std::optional<double> number(std::string_view section, std::string_view key) const;
    void setText(std::string_view section, std::string_view key, std::string_view value);
    void setNumber(std::string_view section, std::string_view key, double value); // six decimals

    // The saved defaults apply only when [Plugin] "active" reads as a number other than 0.
    bool defaultsEnabled() const;

private:
    // Whole file into the structure; false (and empty) otherwise, with `missing` set when
    // nothing is at the path.
    bool read(const std::string& path, bool& missing);

    struct Ini;
    std::unique_ptr<Ini> ini;
};

// The leading number of text as strtod reads it in the C locale, whatever the process locale:
// decimal or hexadecimal, exponents, "inf", an overflow as infinity; 0 when the text starts
// with no number, and for NaN.
double parseLeadingNumber(std::string_view text);
// Fixed point with six decimals, '.' as the decimal point.
std::string formatFixedSix(double value);
