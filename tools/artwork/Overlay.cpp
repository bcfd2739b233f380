#include "Catalogue.h"
#include "Glyphs.h"
#include "Looks.h"
#include "Strips.h"

namespace artwork {

namespace {

// The overlay is a dark panel in both layouts, so its keys wear the rack's look.
KeyLook roundOverlayKey()
{
    KeyLook look = rack::key;
    look.radius = 13;
    return look;
}

// The mark: the letters cut once across, the lower slice pushed aside and lit, as a slicer
// cuts and shifts a beat.
void paintMark(cairo_t* cr)
{
    const Box area{0, 0, 52, 24};
    TextStyle style{.size = 20, .colour = rgb(232, 236, 242), .letterSpacing = 0.5, .family = "DejaVu Sans"};
    const double cut = 12.5;
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, area.width, cut - 0.6);
    cairo_clip(cr);
    drawText(cr, "VX3", area.moved(-1, 0), style);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 0, cut + 0.6, area.width, area.height - cut);
    cairo_clip(cr);
    style.colour = rack::accent;
    drawText(cr, "VX3", area.moved(1.5, 0), style);
    cairo_restore(cr);
}

void paintCheckmark(cairo_t* cr)
{
    cairo_move_to(cr, 2, 6.5);
    cairo_line_to(cr, 5, 9.5);
    cairo_line_to(cr, 10.5, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    strokePath(cr, rgb(220, 220, 220), 2);
}

} // namespace

std::vector<Picture> overlayPictures()
{
    const KeyLook look = roundOverlayKey();
    const Box keyBox{1, 1, 26, 26};
    return {
        stillKey("quit", Scheme::overlay, 28, 28, keyBox, look, cross()),
        stillKey("quit_pressed", Scheme::overlay, 28, 28, keyBox, look, cross(), true),
        stillKey("help", Scheme::overlay, 28, 28, keyBox, look, label("?", 15)),
        stillKey("help", Scheme::pressedHelp, 28, 28, keyBox, look, label("?", 15), true),
        {"big_logo", Scheme::overlay, 52, 24, 1, [](cairo_t* cr, int) { paintMark(cr); }},
        {"checkmark", Scheme::oneScale, 12, 12, 1, [](cairo_t* cr, int) { paintCheckmark(cr); }},
    };
}

} // namespace artwork
