#include "Controls.h"

#include <cmath>

namespace artwork {

namespace {

constexpr double pi = 3.14159265358979323846;
// The knob sweeps 270 degrees, from down-left (minimum) clockwise to down-right.
constexpr double sweepStart = 0.75 * pi;
constexpr double sweep = 1.5 * pi;

void circle(cairo_t* cr, double x, double y, double radius)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, radius, 0, 2 * pi);
}

void strokeArc(cairo_t* cr, double centre, double radius, double from, double to, double width, Colour colour)
{
    cairo_new_path(cr);
    cairo_arc(cr, centre, centre, radius, from, to);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    strokePath(cr, colour, width);
}

} // namespace

void paintKnob(cairo_t* cr, double size, const KnobLook& look, double value)
{
    const double centre = size / 2;
    const double angle = sweepStart + sweep * value;
    strokeArc(cr, centre, look.arcRadius, sweepStart, sweepStart + sweep, look.arcWidth, look.arcTrack);
    if (value > 0)
    {
        strokeArc(cr, centre, look.arcRadius, sweepStart, angle, look.arcWidth * 2.2, withAlpha(look.arcValue, 0.22));
        strokeArc(cr, centre, look.arcRadius, sweepStart, angle, look.arcWidth, look.arcValue);
    }
    // Shadow, then the body lit from above, then its rim.
    cairo_new_path(cr);
    circle(cr, centre, centre + 1.5, look.bodyRadius + 0.5);
    setColour(cr, look.shadow);
    cairo_fill(cr);
    circle(cr, centre, centre, look.bodyRadius);
    fillVertical(cr, {0, centre - look.bodyRadius, size, 2 * look.bodyRadius}, look.bodyTop, look.bodyBottom);
    strokePath(cr, look.rim, 1);
    circle(cr, centre, centre, look.bodyRadius * 0.72);
    fillVertical(cr, {0, centre - look.bodyRadius, size, 2 * look.bodyRadius}, look.bodyBottom,
                 mix(look.bodyTop, look.bodyBottom, 0.3));
    cairo_new_path(cr);
    // The pointer, from near the middle out to the body's edge.
    const double dx = std::cos(angle), dy = std::sin(angle);
    cairo_move_to(cr, centre + dx * look.bodyRadius * 0.3, centre + dy * look.bodyRadius * 0.3);
    cairo_line_to(cr, centre + dx * (look.bodyRadius - 2), centre + dy * (look.bodyRadius - 2));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    strokePath(cr, look.pointer, 2.2);
}

namespace {

// A line across the cap at offset from its middle, along the cap's longer side.
void gripLine(cairo_t* cr, Box cap, double offset, double margin)
{
    if (cap.width >= cap.height)
    {
        cairo_move_to(cr, cap.x + margin, cap.centreY() + offset);
        cairo_line_to(cr, cap.right() - margin, cap.centreY() + offset);
    }
    else
    {
        cairo_move_to(cr, cap.centreX() + offset, cap.y + margin);
        cairo_line_to(cr, cap.centreX() + offset, cap.bottom() - margin);
    }
}

} // namespace

void paintFaderCap(cairo_t* cr, Box box, const CapLook& look)
{
    cairo_new_path(cr);
    roundedRect(cr, box.moved(0, 1.5), 2.5);
    setColour(cr, rgb(0, 0, 0, 0.45));
    cairo_fill(cr);
    roundedRect(cr, box, 2.5);
    fillVertical(cr, box, look.top, look.bottom);
    strokePath(cr, look.rim, 1);
    // Ridges either side of the grip mark, then the mark itself.
    for (double offset : {-4.0, -2.0, 2.0, 4.0})
        gripLine(cr, box, offset, 3);
    strokePath(cr, withAlpha(look.rim, 0.5), 0.8);
    gripLine(cr, box, 0, 2);
    strokePath(cr, look.line, 1.6);
}

void paintKey(cairo_t* cr, Box box, const KeyLook& look, bool lit, bool pressed, const Glyph& glyph)
{
    const Box face = pressed ? box.inset(0.5).moved(0, 1) : box.inset(0.5);
    cairo_new_path(cr);
    if (!pressed)
    {
        roundedRect(cr, face.moved(0, 1.5), look.radius);
        setColour(cr, rgb(0, 0, 0, 0.5));
        cairo_fill(cr);
    }
    roundedRect(cr, face, look.radius);
    const Colour top = lit ? mix(look.faceTop, look.litFace, 0.55) : look.faceTop;
    const Colour bottom = lit ? mix(look.faceBottom, look.litFace, 0.35) : look.faceBottom;
    fillVertical(cr, face, pressed ? bottom : top, pressed ? top : bottom);
    strokePath(cr, lit ? mix(look.rim, look.glyphOn, 0.6) : look.rim, 1);
    if (lit)
        glow(cr, face.centreX(), face.centreY(), std::min(face.width, face.height) * 0.55,
             withAlpha(look.glyphOn, 0.35));
    if (glyph)
        glyph(cr, face, lit ? look.glyphOn : look.glyphOff);
}

void paintLamp(cairo_t* cr, const LampPlace& place, const LampLook& look, bool lit)
{
    const auto [centreX, centreY, radius, glowRadius] = place;
    cairo_new_path(cr);
    if (lit)
        glow(cr, centreX, centreY, glowRadius, withAlpha(look.on, 0.85), radius);
    circle(cr, centreX, centreY, radius);
    const Colour face = lit ? look.on : look.off;
    cairo_pattern_t* lens = cairo_pattern_create_radial(centreX - radius * 0.35, centreY - radius * 0.35, 0,
                                                        centreX, centreY, radius);
    const Colour highlight = mix(face, rgb(255, 255, 255), lit ? 0.75 : 0.25);
    cairo_pattern_add_color_stop_rgba(lens, 0, highlight.red, highlight.green, highlight.blue, 1);
    cairo_pattern_add_color_stop_rgba(lens, 1, face.red, face.green, face.blue, 1);
    cairo_set_source(cr, lens);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(lens);
    strokePath(cr, look.rim, 1);
}

} // namespace artwork
