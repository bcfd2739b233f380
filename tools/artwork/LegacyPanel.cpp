#include "Catalogue.h"
#include "Looks.h"
#include "Panel.h"

namespace artwork {

namespace {

constexpr int width = 600, height = 400;
// Where the layout puts its controls (with the sizes of this face's pictures).
const Box screen = edges(224, 80, 415, 134);
const Box powerLed = edges(151, 46, 183, 62), powerKey = edges(144, 90, 190, 136);
const Box toast = edges(30, 256, 126, 352);
const Box editToggle = edges(290, 236, 316, 246);
const Box faderTracks[] = {edges(140, 267, 252, 297), edges(271, 267, 383, 297)};
const Box pitchValue = edges(420, 276, 440, 294);
const Box pitchPanel = edges(404, 258, 532, 318); // the value, its arrows and the UP and DOWN keys
const Box upLed = edges(458, 287, 490, 303), downLed = edges(490, 287, 522, 303);
const KnobRow knobs{.lefts = {132, 200, 268, 336, 403, 471}, .top = 177, .size = 64};
const char* knobNames[] = {"GATE", "REVERSE", "FX", "PAN", "PITCH", "ROLL"};
constexpr double handleWidth = 22;

void paintBorder(cairo_t* cr)
{
    cairo_rectangle(cr, 4.5, 4.5, width - 9, height - 9);
    strokePath(cr, withAlpha(legacy::lettering, 0.55), 1);
    cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
    strokePath(cr, rgb(60, 44, 30), 1);
}

// Grooves that the handles slide in, with a scale under each.
void paintFaderTracks(cairo_t* cr)
{
    for (const Box& track : faderTracks)
    {
        const double left = track.x + handleWidth / 2, right = track.right() - handleWidth / 2;
        roundedRect(cr, edges(left - 2, track.centreY() - 2, right + 2, track.centreY() + 2), 2);
        setColour(cr, rgb(70, 52, 36));
        cairo_fill(cr);
        for (int tick = 0; tick <= 10; ++tick)
        {
            const double x = left + (right - left) * tick / 10.0;
            cairo_move_to(cr, x, track.bottom() + 1);
            cairo_line_to(cr, x, track.bottom() + (tick % 5 == 0 ? 5 : 3));
        }
        strokePath(cr, withAlpha(legacy::lettering, 0.7), 1);
    }
}

void paintLegacyLabels(cairo_t* cr)
{
    std::vector<PanelLabel> labels{
        {"POWER", edges(120, 70, 214, 84)},
        {"FREEZE", labelBelow(toast, 2, 10)},
        {"EDIT FX", labelBelow(editToggle, 2, 10)},
        {"SIZE", labelBelow(faderTracks[0], 7, 10)},
        {"AMOUNT", labelBelow(faderTracks[1], 7, 10)},
        // Over the middle of its panel: it is wider than the value window below it.
        {"PITCH RANGE", {pitchPanel.x, pitchValue.y - 13, pitchPanel.width, 10}},
        {"UP", labelBelow(upLed, 2, 10)},
        {"DOWN", labelBelow(downLed, 2, 10)},
    };
    for (int index = 0; index < KnobRow::count; ++index)
        labels.push_back({knobNames[index], labelAbove(knobs.knob(index), 2, 10)});
    paintLabels(cr, labels, {.size = 8.5, .colour = legacy::lettering, .letterSpacing = 0.8}, legacy::labelShadow);
    drawEngravedText(cr, productTitle, edges(22, 12, 260, 42),
                     {.size = 24, .colour = legacy::lettering, .letterSpacing = 3, .family = "DejaVu Serif"},
                     legacy::labelShadow, Align::left);
}

void paintLegacyBackground(cairo_t* cr)
{
    paintPlateFill(cr, {0, 0, width, height}, legacy::panelTop, legacy::panelBottom, 0.035);
    paintBorder(cr);
    const Colour shade = rgb(110, 80, 50, 0.12), edge = rgb(255, 252, 240, 0.6);
    paintRecesses(cr,
                  {edges(122, 40, 212, 146), edges(120, 158, 548, 262), edges(128, 264, 396, 318),
                   pitchPanel, edges(22, 250, 134, 370)},
                  8, shade, edge);
    paintScreen(cr, screen, rgb(74, 58, 44), legacy::glassTop, legacy::glassBottom);
    paintKnobSeats(cr, knobs, 29, rgb(120, 90, 60, 0.12));
    paintFaderTracks(cr);
    paintLegacyLabels(cr);
}

} // namespace

Picture legacyBackground()
{
    return {"background", Scheme::layout, width, height, 1, [](cairo_t* cr, int) { paintLegacyBackground(cr); }};
}

} // namespace artwork
