#include "editor/host_window.h"

namespace probe::testing {

HostWindow::HostWindow(juce::AudioPluginInstance& plugin, int x, int y)
    : juce::DocumentWindow(plugin.getName(), juce::Colours::black, 0)
{
    // No window manager runs under Xvfb: the window is exactly its content, at (x, y).
    setUsingNativeTitleBar(true);
    if (auto* editor = plugin.createEditorIfNeeded())
        setContentOwned(editor, true);
    setTopLeftPosition(x, y);
    setVisible(true);
}

HostWindow::~HostWindow()
{
    // The editor goes first, while the window it is embedded in still exists.
    clearContentComponent();
}

XWindowId HostWindow::nativeWindow() const
{
    auto* peer = getPeer();
    return peer != nullptr ? reinterpret_cast<XWindowId>(peer->getNativeHandle()) : 0;
}

}  // namespace probe::testing
