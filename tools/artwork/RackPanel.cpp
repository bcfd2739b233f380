#include "Catalogue.h"
#include "Looks.h"
#include "Panel.h"

namespace artwork {

namespace {

constexpr int width = 860, height = 300;
// Where the layout puts its controls; the labels and recesses are placed by them.
const Box screen = edges(236, 18, 772, 174);
const Box power = edges(36, 8, 76, 58), freeze = edges(36, 132, 74, 178);
const Box sizeFader = edges(84, 24, 140, 172), amountFader = edges(148, 24, 208, 172);
const Box lcd = edges(58, 208, 128, 240);
// Right of the lamps, clear of their light.
constexpr double captionColumn = rack::lampColumn + 12;
const KnobRow knobs{.lefts = {244, 344, 440, 542, 640, 734}, .top = 202, .size = 54};
const char* knobNames[] = {"GATE", "REVERSE", "FX", "PITCH", "PAN", "ROLL"};

void paintRackEars(cairo_t* cr)
{
    for (double left : {0.0, width - 26.0})
    {
        cairo_rectangle(cr, left, 0, 26, height);
        setColour(cr, rgb(0, 0, 0, 0.22));
        cairo_fill(cr);
        cairo_move_to(cr, left == 0 ? 25.5 : left + 0.5, 0);
        cairo_line_to(cr, left == 0 ? 25.5 : left + 0.5, height);
        strokePath(cr, rgb(0, 0, 0, 0.5), 1);
        for (double y : {36.0, 264.0})
            paintScrew(cr, left + 13, y, 5, rgb(140, 143, 150));
    }
}

void paintRackLabels(cairo_t* cr)
{
    std::vector<PanelLabel> labels{
        {"POWER", labelBelow(power, -10, 10)},
        {"FREEZE", labelBelow(freeze, -10, 10)},
        {"SIZE", labelAbove(sizeFader, 2, 10)},
        {"AMOUNT", labelAbove(amountFader, 2, 10)},
        {"PITCH RANGE", labelAbove(lcd, 3, 10)},
        {"UP", {captionColumn, rack::upRow - 5, 36, 10}, Align::left},
        {"DOWN", {captionColumn, rack::downRow - 5, 36, 10}, Align::left},
    };
    for (int index = 0; index < KnobRow::count; ++index)
        labels.push_back({knobNames[index], labelBelow(knobs.knob(index), 3, 10)});
    paintLabels(cr, labels, {.size = 8.5, .colour = rack::labelText, .letterSpacing = 0.9}, rack::labelShadow);
    drawEngravedText(cr, productTitle, edges(560, 282, 804, 296),
                     {.size = 10.5, .colour = withAlpha(rack::labelText, 0.55), .letterSpacing = 3.5},
                     rack::labelShadow, Align::right);
}

void paintRackBackground(cairo_t* cr)
{
    paintPlateFill(cr, {0, 0, width, height}, rack::panelTop, rack::panelBottom, 0.05);
    paintRackEars(cr);
    const Colour shade = rgb(0, 0, 0, 0.2), edge = rgb(255, 255, 255, 0.07);
    paintRecesses(cr, {edges(30, 4, 216, 184), edges(48, 188, 236, 292), edges(236, 180, 800, 278)}, 6, shade, edge);
    paintScreen(cr, screen, rgb(24, 26, 30), rack::glassTop, rack::glassBottom);
    paintKnobSeats(cr, knobs, knobs.size / 2 - 0.5, rgb(0, 0, 0, 0.25));
    paintRackLabels(cr);
    // Top and bottom edges of the unit catch the light.
    cairo_rectangle(cr, 0, 0, width, 1);
    setColour(cr, rgb(255, 255, 255, 0.12));
    cairo_fill(cr);
    cairo_rectangle(cr, 0, height - 1, width, 1);
    setColour(cr, rgb(0, 0, 0, 0.6));
    cairo_fill(cr);
}

} // namespace

Picture rackBackground()
{
    return {"vxp_background", Scheme::layout, width, height, 1, [](cairo_t* cr, int) { paintRackBackground(cr); }};
}

} // namespace artwork
