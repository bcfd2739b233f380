// Builds the settings overlay of the current face: the UI settings (view size, scope speed,
// knob speed, toast motion, the LEGACY/RACK switch), the sound settings, and the buttons that
// save or switch off the user's defaults. Each arrangement is a column of the row table; the
// overlay starts hidden. UI thread only.
#pragma once

class Vextoria3Editor;

class SettingsOverlay
{
public:
    // Builds the overlay for `editor`'s uiStyle into its frame (nothing for other styles),
    // entering its controls in the editor's tables and `settingsView`.
    static void build(Vextoria3Editor& editor);
};
