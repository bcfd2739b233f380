#pragma once

#include <cairo.h>

#include <string>

// Drawing primitives shared by every picture. All coordinates are in 1x layout pixels;
// the caller's transformation scales them to the file being drawn.
namespace artwork {

struct Colour
{
    double red = 0, green = 0, blue = 0, alpha = 1; // 0..1 each
};

// Colour from 0..255 channels.
Colour rgb(int red, int green, int blue, double alpha = 1.0);
// Linear blend: t = 0 gives from, t = 1 gives to.
Colour mix(Colour from, Colour to, double t);
Colour withAlpha(Colour colour, double alpha);
void setColour(cairo_t* cr, Colour colour);

struct Box
{
    double x = 0, y = 0, width = 0, height = 0;

    double right() const { return x + width; }
    double bottom() const { return y + height; }
    double centreX() const { return x + width / 2; }
    double centreY() const { return y + height / 2; }
    Box inset(double by) const { return {x + by, y + by, width - 2 * by, height - 2 * by}; }
    Box moved(double dx, double dy) const { return {x + dx, y + dy, width, height}; }
};

// Box from (left, top, right, bottom), the way the layouts write rectangles.
Box edges(double left, double top, double right, double bottom);

void roundedRect(cairo_t* cr, Box box, double radius);
// Fills the current path with a top-to-bottom gradient over box, keeping the path.
void fillVertical(cairo_t* cr, Box box, Colour top, Colour bottom);
// Strokes the current path in colour, width pixels wide, and clears it.
void strokePath(cairo_t* cr, Colour colour, double width);
// A soft radial light, at full strength out to fullRadius and gone at radius.
void glow(cairo_t* cr, double centreX, double centreY, double radius, Colour colour, double fullRadius = 0);

enum class Align { left, centre, right };

struct TextStyle
{
    double size = 9;            // pixels
    bool bold = true;
    Colour colour;
    double letterSpacing = 0;   // pixels between letters
    const char* family = "DejaVu Sans Condensed";
};

// Text vertically centred in box, aligned horizontally as asked.
void drawText(cairo_t* cr, const std::string& text, Box box, const TextStyle& style, Align align = Align::centre);
// Text with a one-pixel shadow below it, as if cut into the panel.
void drawEngravedText(cairo_t* cr, const std::string& text, Box box, const TextStyle& style, Colour shadow,
                      Align align = Align::centre);

} // namespace artwork
