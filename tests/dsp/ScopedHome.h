#pragma once
#include <cstdlib>
#include <optional>
#include <string>

// Points HOME at a fresh empty folder for one test, so settings reads see only what the test writes.
class ScopedHome {
public:
    ScopedHome()
    {
        if (const char* home = std::getenv("HOME"))
            previous = home;
        std::string pattern = std::string(VEXTORIA_TEST_OUTPUT) + "/home-XXXXXX";
        folder = mkdtemp(pattern.data()) != nullptr ? pattern : std::string(VEXTORIA_TEST_OUTPUT);
        setenv("HOME", folder.c_str(), 1);
    }
    ~ScopedHome()
    {
        if (previous)
            setenv("HOME", previous->c_str(), 1);
        else
            unsetenv("HOME");
    }
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

    const std::string& path() const { return folder; }
    std::string settingsFolder() const { return folder + "/.harlowmint/Vextoria3"; }

private:
    std::optional<std::string> previous;
    std::string folder;
};
