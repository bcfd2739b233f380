#pragma once

#include "Paint.h"

#include <array>
#include <initializer_list>
#include <vector>

// Parts of a face plate that both backgrounds are built from.
namespace artwork {

// The whole plate: a vertical gradient with a fine horizontal grain.
void paintPlateFill(cairo_t* cr, Box plate, Colour top, Colour bottom, double grain);

// Shallow recesses that group controls, painted in the order given.
void paintRecesses(cairo_t* cr, std::initializer_list<Box> boxes, double radius, Colour shade, Colour lowerEdge);

// The six knobs of a face: one size, their tops level.
struct KnobRow
{
    static constexpr int count = 6;
    std::array<double, count> lefts;
    double top, size;

    Box knob(int index) const { return {lefts[index], top, size, size}; }
};

// A soft disc of radius behind each knob of the row.
void paintKnobSeats(cairo_t* cr, const KnobRow& row, double radius, Colour colour);

// The screen: a bezel around the glass, the glass itself and a faint reflection. The glass
// fills exactly the screen rectangle that the panels draw into.
void paintScreen(cairo_t* cr, Box glass, Colour bezel, Colour glassTop, Colour glassBottom);

// A slotted screw head.
void paintScrew(cairo_t* cr, double centreX, double centreY, double radius, Colour metal);

struct PanelLabel
{
    const char* text;
    Box box;
    Align align = Align::centre;
};

void paintLabels(cairo_t* cr, const std::vector<PanelLabel>& labels, const TextStyle& style, Colour shadow);

// The label box centred under (or over) a control rectangle.
Box labelBelow(Box control, double gap, double height);
Box labelAbove(Box control, double gap, double height);

} // namespace artwork
