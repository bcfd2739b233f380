#include "Panel.h"

#include <cstdint>

namespace artwork {

void paintPlateFill(cairo_t* cr, Box plate, Colour top, Colour bottom, double grain)
{
    cairo_rectangle(cr, plate.x, plate.y, plate.width, plate.height);
    fillVertical(cr, plate, top, bottom);
    cairo_new_path(cr);
    // A fixed pseudo-random grain, so that every build draws the same plate.
    uint32_t seed = 0x2545F491u;
    for (double y = plate.y + 0.5; y < plate.bottom(); y += 1)
    {
        seed = seed * 1664525u + 1013904223u;
        const double strength = (seed >> 8) / double(1u << 24);
        cairo_move_to(cr, plate.x, y);
        cairo_line_to(cr, plate.right(), y);
        const Colour line = strength > 0.5 ? rgb(255, 255, 255, grain * (strength - 0.5)) : rgb(0, 0, 0, grain * strength);
        strokePath(cr, line, 1);
    }
}

void paintRecesses(cairo_t* cr, std::initializer_list<Box> boxes, double radius, Colour shade, Colour lowerEdge)
{
    for (const Box& box : boxes)
    {
        roundedRect(cr, box.moved(0, 1), radius);
        setColour(cr, lowerEdge);
        cairo_fill(cr);
        roundedRect(cr, box, radius);
        setColour(cr, shade);
        cairo_fill(cr);
    }
}

void paintKnobSeats(cairo_t* cr, const KnobRow& row, double radius, Colour colour)
{
    for (int index = 0; index < KnobRow::count; ++index)
    {
        const Box knob = row.knob(index);
        cairo_arc(cr, knob.centreX(), knob.centreY(), radius, 0, 6.283185307179586);
        setColour(cr, colour);
        cairo_fill(cr);
    }
}

void paintScreen(cairo_t* cr, Box glass, Colour bezel, Colour glassTop, Colour glassBottom)
{
    const Box frame = glass.inset(-5);
    roundedRect(cr, frame.moved(0, 1), 7);
    setColour(cr, rgb(255, 255, 255, 0.12));
    cairo_fill(cr);
    roundedRect(cr, frame, 7);
    fillVertical(cr, frame, mix(bezel, rgb(0, 0, 0), 0.35), bezel);
    cairo_new_path(cr);
    cairo_rectangle(cr, glass.x, glass.y, glass.width, glass.height);
    fillVertical(cr, glass, glassTop, glassBottom);
    cairo_new_path(cr);
    // Reflection over the upper part of the glass.
    const Box reflection{glass.x, glass.y, glass.width, glass.height * 0.45};
    cairo_rectangle(cr, reflection.x, reflection.y, reflection.width, reflection.height);
    fillVertical(cr, reflection, rgb(255, 255, 255, 0.06), rgb(255, 255, 255, 0.0));
    cairo_new_path(cr);
    cairo_rectangle(cr, glass.x + 0.5, glass.y + 0.5, glass.width - 1, glass.height - 1);
    strokePath(cr, rgb(0, 0, 0, 0.8), 1);
}

void paintScrew(cairo_t* cr, double centreX, double centreY, double radius, Colour metal)
{
    cairo_new_path(cr);
    cairo_arc(cr, centreX, centreY + 0.8, radius, 0, 6.283185307179586);
    setColour(cr, rgb(0, 0, 0, 0.45));
    cairo_fill(cr);
    cairo_arc(cr, centreX, centreY, radius, 0, 6.283185307179586);
    fillVertical(cr, {centreX - radius, centreY - radius, 2 * radius, 2 * radius}, mix(metal, rgb(255, 255, 255), 0.35),
                 mix(metal, rgb(0, 0, 0), 0.4));
    cairo_new_path(cr);
    cairo_move_to(cr, centreX - radius * 0.65, centreY - radius * 0.3);
    cairo_line_to(cr, centreX + radius * 0.65, centreY + radius * 0.3);
    strokePath(cr, rgb(0, 0, 0, 0.7), 1.2);
}

void paintLabels(cairo_t* cr, const std::vector<PanelLabel>& labels, const TextStyle& style, Colour shadow)
{
    for (const PanelLabel& label : labels)
        drawEngravedText(cr, label.text, label.box, style, shadow, label.align);
}

Box labelBelow(Box control, double gap, double height)
{
    return {control.centreX() - 50, control.bottom() + gap, 100, height};
}

Box labelAbove(Box control, double gap, double height)
{
    return {control.centreX() - 50, control.y - gap - height, 100, height};
}

} // namespace artwork
