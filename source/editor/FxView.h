// The panel that edits the effect stage: one page per effect (reverb, bit crusher, high-pass
// filter, pitch effects) behind the FX tabs, with vector knobs in RACK (style 1) or value
// sliders in LEGACY (style 0). Each control's tag is its parameter id; it reports to the
// editor, which also finds it through its control table. UI thread only.
#pragma once

#include "vstgui.h"

class TabView;

class FxView : public VSTGUI::CViewContainer
{
public:
    static constexpr int kLegacyStyle = 0;
    static constexpr int kRackStyle = 1;

    // `listener` should be the editor: the controls are registered with it and start at the
    // controller's values. Another style than 0 or 1 gives an empty panel.
    FxView(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int style);

    // Dragging `pixels` pixels sweeps a knob's whole range (style 1; style 0 has no knobs).
    void setKnobSpeed(double pixels);

    TabView* tabView = nullptr;            // a child of the panel
    VSTGUI::IControlListener* listener;    // not owned

private:
    void addPage(int page, int style, const VSTGUI::CRect& pageSize);
};
