#pragma once

#include "Paint.h"

#include <functional>

// The painters of the controls: one each for knobs, fader caps, keys and lamps, shared by
// both faces of the instrument, which differ only in the looks passed in.
namespace artwork {

struct KnobLook
{
    double arcRadius;   // centre of the value arc, pixels from the knob centre
    double arcWidth;
    double bodyRadius;
    Colour arcTrack;    // the unlit part of the arc
    Colour arcValue;    // the part from the minimum to the value
    Colour bodyTop, bodyBottom, rim, pointer, shadow;
};

// A knob filling a size x size square at the origin, showing value 0..1 by pointer and arc.
void paintKnob(cairo_t* cr, double size, const KnobLook& look, double value);

struct CapLook
{
    Colour top, bottom, rim, line; // line: the grip mark across the cap
};

// A fader cap in box; its grip mark runs across the cap's longer side.
void paintFaderCap(cairo_t* cr, Box box, const CapLook& look);

struct KeyLook
{
    double radius;
    Colour faceTop, faceBottom, rim, glyphOff, glyphOn, litFace; // litFace: the face tint when lit
};

// Draws a symbol into its box in the given colour.
using Glyph = std::function<void(cairo_t*, Box, Colour)>;

// A push key with its symbol: lit shows the "on" look, pressed sinks the key by a pixel.
void paintKey(cairo_t* cr, Box box, const KeyLook& look, bool lit, bool pressed, const Glyph& glyph);

struct LampLook
{
    Colour off, on, rim;
};

// Where a lamp sits in its picture, and how far its light may reach.
struct LampPlace
{
    double centreX, centreY, radius;
    double glowRadius; // from the centre; the light is gone there
};

// A round indicator lamp; lit it glows around itself.
void paintLamp(cairo_t* cr, const LampPlace& place, const LampLook& look, bool lit);

} // namespace artwork
