// The scrolling trace of the processor's output: signed bytes from "AudioData" folded into
// points (the minimum and maximum of a fixed number of samples), as many as fit across the
// view, drawn as bars, lines or a smoothed envelope. UI thread only.
#pragma once

#include "dsp/CParamSmooth.h"
#include "vstgui.h"
#include <cstdint>
#include <vector>

class Oscilloscope : public VSTGUI::CView
{
public:
    static constexpr VSTGUI::int32 kCapacity = 1600; // points held at most

    explicit Oscilloscope(const VSTGUI::CRect& size);
    Oscilloscope(const Oscilloscope& other) = default;

    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject*, VSTGUI::IdStringPtr) override { return VSTGUI::kMessageUnknown; }
    VSTGUI::CView* newCopy() const override { return new Oscilloscope(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    // The scope has no value of its own.
    virtual void setValue(float) {}

    // Folds `count` samples into points; a point not yet complete carries over to the next
    // call. Always asks for a redraw. Never allocates.
    void process(const int8_t* data, int count);
    // Appends one point, dropping the oldest once the view is full; a view too narrow for one
    // point drops the point.
    void addValues(float min, float max);
    // int(2 * value): 0 bars every 9 px, 1 one line per pixel, 2 smoothed envelope. Each of
    // them empties the trace; any other value changes nothing.
    void setStyle(double value);

    float currentMax = 0;                // of the point being gathered, -1..1
    float currentMin = 0;
    std::vector<float> minValues;        // oldest first, kCapacity entries
    std::vector<float> maxValues;
    VSTGUI::int32 capacity = kCapacity;
    VSTGUI::int32 pointCount = 0;
    VSTGUI::int32 samplesPerPoint = 88;  // samples folded into one point
    VSTGUI::int32 sampleCount = 0;       // samples in the point being gathered
    VSTGUI::int32 pointStep = 9;         // pixels per point
    VSTGUI::CColor traceColor{12, 255, 4, 255};
    bool smooth = false;
    CParamSmooth minSmoother;            // point to point, not sample to sample
    CParamSmooth maxSmoother;

private:
    // Where the trace lies, in whole pixels as the drawing rounds them.
    struct Placement
    {
        VSTGUI::int32 left;
        VSTGUI::int32 top;
        VSTGUI::int32 centre; // top + half the height
        double scale;         // pixels for a sample of 1.0
    };
    void drawBars(VSTGUI::CDrawContext* context, const Placement& at) const;
    void drawEnvelope(VSTGUI::CDrawContext* context, const Placement& at) const;
};
