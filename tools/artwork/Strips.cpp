#include "Strips.h"

#include <algorithm>

namespace artwork {

Picture knobStrip(std::string base, int size, int frames, const KnobLook& look)
{
    return {std::move(base), Scheme::layout, size, size, frames, [size, frames, look](cairo_t* cr, int frame) {
                paintKnob(cr, size, look, frameValue(frame, frames));
            }};
}

Picture keyStrip(std::string base, int width, int height, Box keyBox, const KeyLook& look, Glyph glyph)
{
    return {std::move(base), Scheme::layout, width, height, 2, [keyBox, look, glyph](cairo_t* cr, int frame) {
                paintKey(cr, keyBox, look, frame == 1, frame == 1, glyph);
            }};
}

Picture stillKey(std::string base, Scheme scheme, int width, int height, Box keyBox, const KeyLook& look,
                 Glyph glyph, bool lit)
{
    return {std::move(base), scheme, width, height, 1, [keyBox, look, glyph, lit](cairo_t* cr, int) {
                paintKey(cr, keyBox, look, lit, lit, glyph);
            }};
}

namespace {

// The light fades out a pixel short of the nearest edge, so that no edge of the picture cuts it.
LampPlace placeLamp(int width, int height, double centreX, double centreY, double radius)
{
    const double room = std::min({centreX, width - centreX, centreY, height - centreY});
    return {centreX, centreY, radius, room - 1};
}

} // namespace

Picture lampStrip(std::string base, int width, int height, double centreX, double centreY, double radius,
                  const LampLook& look)
{
    const LampPlace place = placeLamp(width, height, centreX, centreY, radius);
    return {std::move(base), Scheme::layout, width, height, 2,
            [place, look](cairo_t* cr, int frame) { paintLamp(cr, place, look, frame == 1); }};
}

Picture stillLamp(std::string base, int width, int height, double radius, const LampLook& look, bool lit)
{
    const LampPlace place = placeLamp(width, height, width / 2.0, height / 2.0, radius);
    return {std::move(base), Scheme::layout, width, height, 1,
            [place, look, lit](cairo_t* cr, int) { paintLamp(cr, place, look, lit); }};
}

} // namespace artwork
