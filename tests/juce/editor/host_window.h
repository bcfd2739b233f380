#pragma once
// A JUCE host's window around a plug-in's editor, as a JUCE-based host shows one: a document
// window sized to the editor that follows the editor's size requests. Message thread only.

#include "editor/x_display.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace probe::testing {

class HostWindow : public juce::DocumentWindow {
public:
    // Asks the plug-in for its editor and shows it with its top-left corner at (x, y) on the screen.
    HostWindow(juce::AudioPluginInstance& plugin, int x, int y);
    ~HostWindow() override;

    bool hasEditor() const { return getContentComponent() != nullptr; }
    // The host's own X window (0 before it is shown).
    XWindowId nativeWindow() const;
    void closeButtonPressed() override {}
};

}  // namespace probe::testing
