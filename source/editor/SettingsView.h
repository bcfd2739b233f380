// The settings overlay's panel: a dark rounded rectangle with a bar under the title, over the
// whole window; the panel and everything in it are drawn at 76 % opacity. It is opaque to the
// mouse: presses and wheel steps on it never reach the views under it. UI thread only.
#pragma once

#include "vstgui.h"

class SettingsView : public VSTGUI::CViewContainer
{
public:
    static constexpr float kOpacity = 0.76f;

    explicit SettingsView(const VSTGUI::CRect& size);
    // The panel, then the container's background and children; `updateRect` in the parent's
    // coordinates.
    void drawRect(VSTGUI::CDrawContext* context, const VSTGUI::CRect& updateRect) override;
};
