// The editor's side of the user settings file: the layout it opens with, and the user's
// defaults that the settings overlay saves or switches off. Each call reads the whole file
// and, when it writes, writes it whole; a file that is there but cannot be read is never
// written. UI thread only.
#pragma once

#include <cstdint>

class PluginWrapper;

class UserDefaults
{
public:
    // [Plugin] "uiid": 0 LEGACY (also text without leading digits), 1 RACK; anything else,
    // or no file, RACK.
    static int32_t readLayout();
    // Records the layout as "uiid" at once; false when the file was not written.
    static bool writeLayout(int32_t style);
    // Saves the six hidden settings and five sound parameters with the gate open.
    static bool save(const PluginWrapper& wrapper);
    // Sets only "active" to 0: the saved texts stay but no longer apply.
    static bool closeGate();

    struct Entry
    {
        const char* key;
        bool hidden;    // a hidden setting, else a parameter
        int32_t index;  // HiddenParamIndex or parameter id
        double factory; // the value a reset puts back
    };
    static const Entry kEntries[11]; // in the order they are saved and reset
};
