#include "Catalogue.h"
#include "Glyphs.h"
#include "Looks.h"
#include "Strips.h"

namespace artwork {

namespace {

// The fader's grab band is 32 pixels of its 148-pixel frame; the cap is drawn centred in it,
// so the travel of the cap's centre runs from 16 (maximum) to 132 (minimum).
constexpr int faderFrames = 100, faderHeight = 148;
constexpr double bandHalf = 16, travel = faderHeight - 2 * bandHalf;

void paintFaderScale(cairo_t* cr, double centreX)
{
    for (int tick = 0; tick <= 10; ++tick)
    {
        const double y = bandHalf + travel * tick / 10.0;
        const double length = tick % 5 == 0 ? 7 : 4;
        for (double side : {-1.0, 1.0})
        {
            cairo_move_to(cr, centreX + side * 9, y);
            cairo_line_to(cr, centreX + side * (9 + length), y);
        }
    }
    strokePath(cr, withAlpha(rack::labelText, 0.45), 1);
}

void paintFaderFrame(cairo_t* cr, int width, double value)
{
    const double centreX = width / 2.0, capY = bandHalf + (1 - value) * travel;
    paintFaderScale(cr, centreX);
    const Box slot{centreX - 3, bandHalf - 6, 6, travel + 12};
    roundedRect(cr, slot, 3);
    setColour(cr, rgb(8, 9, 11));
    cairo_fill(cr);
    // The slot glows from the bottom up to the cap.
    roundedRect(cr, {centreX - 1.2, capY, 2.4, slot.bottom() - 2 - capY}, 1.2);
    setColour(cr, withAlpha(rack::accent, 0.85));
    cairo_fill(cr);
    const double capWidth = width - 22;
    paintFaderCap(cr, {centreX - capWidth / 2, capY - 11, capWidth, 22}, rack::cap);
}

Picture faderStrip(std::string base, int width)
{
    return {std::move(base), Scheme::layout, width, faderHeight, faderFrames, [width](cairo_t* cr, int frame) {
                paintFaderFrame(cr, width, frameValue(frame, faderFrames));
            }};
}

// The trigger switch shows both modes, the chosen one lit: frame 0 automatic, frame 1 MIDI.
void paintTrigSwitch(cairo_t* cr, int frame)
{
    const Box plate{1, 1, 46, 52};
    roundedRect(cr, plate, 4);
    fillVertical(cr, plate, rgb(14, 16, 20), rgb(6, 8, 12));
    strokePath(cr, rgb(0, 0, 0), 1);
    const char* names[] = {"AUTO TRIG", "MIDI SLICE"};
    for (int row = 0; row < 2; ++row)
    {
        const Box line{3, 3 + row * 24.0, 42, 24};
        const bool chosen = row == frame;
        if (chosen)
        {
            roundedRect(cr, line, 3);
            setColour(cr, withAlpha(rack::accent, 0.18));
            cairo_fill(cr);
        }
        drawText(cr, names[row], line, {.size = 7, .colour = chosen ? rack::accent : rgb(92, 98, 108)});
    }
}

void paintLcdFrame(cairo_t* cr, int number)
{
    const Box glass{1, 1, 68, 30};
    roundedRect(cr, glass.inset(-1), 4);
    setColour(cr, rgb(12, 13, 15));
    cairo_fill(cr);
    roundedRect(cr, glass, 3);
    fillVertical(cr, glass, rack::glassTop, rack::glassBottom);
    cairo_new_path(cr);
    const Box digits{6, 1, 56, 30};
    const TextStyle style{.size = 22, .colour = withAlpha(rack::accent, 0.08), .family = "DejaVu Sans Mono"};
    drawText(cr, "88", digits, style, Align::right);
    TextStyle lit = style;
    lit.colour = rack::accent;
    drawText(cr, std::to_string(number), digits, lit, Align::right);
    drawText(cr, "ST", {8, 14, 20, 14}, {.size = 7, .colour = withAlpha(rack::accent, 0.5)}, Align::left);
}

} // namespace

std::vector<Picture> rackPictures()
{
    const KeyLook& key = rack::key;
    KeyLook roundKey = key;
    roundKey.radius = 16;
    std::vector<Picture> pictures;
    pictures.push_back(rackBackground());
    pictures.push_back(keyStrip("vxp_power", 40, 50, {4, 2, 32, 32}, roundKey, powerSymbol()));
    pictures.push_back({"vxp_switch", Scheme::layout, 48, 54, 2, paintTrigSwitch});
    pictures.push_back(keyStrip("vxp_freeze", 38, 46, {4, 2, 30, 30}, key, snowflake()));
    pictures.push_back(faderStrip("vxp_slider_size", 56));
    pictures.push_back(faderStrip("vxp_slider_amount", 60));
    for (const char* name : {"gate", "reverse", "fx", "pitch", "pan", "roll"})
        pictures.push_back(knobStrip(std::string("vxp_knob_") + name, 54, 127, rack::knob));
    pictures.push_back({"vxp_lcd_screen", Scheme::layout, 70, 32, 13, paintLcdFrame});
    pictures.push_back(keyStrip("vxp_left", 36, 38, {3, 3, 30, 32}, key, arrow(Direction::left)));
    pictures.push_back(keyStrip("vxp_right", 38, 38, {5, 3, 30, 32}, key, arrow(Direction::right)));
    pictures.push_back(keyStrip("vxp_up", 40, 40, {4, 4, 32, 32}, key, arrow(Direction::up)));
    pictures.push_back(keyStrip("vxp_down", 40, 34, {4, 1, 32, 30}, key, arrow(Direction::down)));
    // The layout puts the lamps' pictures at (180, 208) and (180, 252).
    pictures.push_back(lampStrip("vxp_led_up", 16, 32, rack::lampColumn - 180, rack::upRow - 208, 4.5, rack::lamp));
    pictures.push_back(lampStrip("vxp_led_down", 20, 32, rack::lampColumn - 180, rack::downRow - 252, 4.5, rack::lamp));
    pictures.push_back(keyStrip("vxp_push_edit", 46, 20, {2, 2, 42, 16}, key, label("EDIT", 8)));
    pictures.push_back(stillKey("vxp_burger", Scheme::layout, 38, 28, {3, 2, 32, 24}, key, threeBars()));
    return pictures;
}

} // namespace artwork
