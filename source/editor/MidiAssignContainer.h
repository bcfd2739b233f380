// A panel listing twenty sound functions with the MIDI controller number assigned to each,
// in two columns. The numbers are shown, not edited; no layout places the panel. UI thread only.
#pragma once

#include "vstgui.h"
#include <array>

class SpinBox;

class MidiAssignContainer : public VSTGUI::CViewContainer, public VSTGUI::IControlListener
{
public:
    static constexpr int kRows = 20;

    explicit MidiAssignContainer(const VSTGUI::CRect& size);

    void valueChanged(VSTGUI::CControl*) override {}

    std::array<VSTGUI::CTextLabel*, kRows> labels {};   // row order; the container owns them
    std::array<SpinBox*, kRows> spinBoxes {};
};
