// A row of numbered pads, one per slice of the bar, over the scope: pressing a pad chooses
// that slice on the processor at once (through the editor), dragging moves the choice pad by
// pad, and every end of the press gives the choice back. The editor lights the pad that an
// incoming MIDI key selects. UI thread only.
#pragma once

#include "vstgui.h"

class Vextoria3Editor;

class MidiSlicerView : public VSTGUI::CView
{
public:
    MidiSlicerView(const VSTGUI::CRect& size, Vextoria3Editor* owner);
    ~MidiSlicerView() override;

    // 4, 8 or 16 pads for parameter 7 (0..1); a lit pad keeps its place in the bar.
    void setNbSlice2(float value);
    // Pads given directly (at least 1); a lit pad keeps its place in the bar.
    void setNbSlice(int count);
    // -1 (or any index outside the pads) lights none.
    void highLightSlice(int index);
    void clearHighLight();

    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    // The press ends without a release (grab lost, view removed, window closed): the slice
    // goes back as on a release.
    VSTGUI::CMouseEventResult onMouseCancel() override;

    VSTGUI::int32 nbSlice = 8;            // pads
    VSTGUI::int32 highlightedSlice = -1;  // lit pad
    VSTGUI::int32 smallFontSize = 7;      // number size with 16 pads
    Vextoria3Editor* owner;               // not owned; may be null

private:
    void changePadCount(VSTGUI::int32 count);
    VSTGUI::int32 padAt(const VSTGUI::CPoint& where) const;
    void choose(VSTGUI::int32 pad);
    // Gives the chosen slice back once per press.
    void giveBack();

    bool holding = false; // a press chose a slice that is not given back yet
};
