#include "Glyphs.h"

#include <algorithm>
#include <cmath>

namespace artwork {

namespace {

constexpr double pi = 3.14159265358979323846;

double shortSide(Box box)
{
    return std::min(box.width, box.height);
}

void strokeRound(cairo_t* cr, Colour colour, double width)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    strokePath(cr, colour, width);
}

} // namespace

Glyph powerSymbol()
{
    return [](cairo_t* cr, Box box, Colour colour) {
        const double radius = shortSide(box) * 0.26;
        cairo_new_path(cr);
        cairo_arc(cr, box.centreX(), box.centreY(), radius, -pi / 2 + 0.7, -pi / 2 - 0.7 + 2 * pi);
        cairo_move_to(cr, box.centreX(), box.centreY() - radius * 1.25);
        cairo_line_to(cr, box.centreX(), box.centreY() - radius * 0.2);
        strokeRound(cr, colour, std::max(1.6, radius * 0.28));
    };
}

Glyph snowflake()
{
    return [](cairo_t* cr, Box box, Colour colour) {
        const double arm = shortSide(box) * 0.3;
        cairo_new_path(cr);
        for (int spoke = 0; spoke < 6; ++spoke)
        {
            const double angle = spoke * pi / 3 - pi / 2;
            const double dx = std::cos(angle), dy = std::sin(angle);
            cairo_move_to(cr, box.centreX(), box.centreY());
            cairo_line_to(cr, box.centreX() + dx * arm, box.centreY() + dy * arm);
            // A small vee two thirds out along each spoke.
            const double bx = box.centreX() + dx * arm * 0.6, by = box.centreY() + dy * arm * 0.6;
            for (double side : {-1.0, 1.0})
            {
                const double twig = angle + side * pi / 4;
                cairo_move_to(cr, bx, by);
                cairo_line_to(cr, bx + std::cos(twig) * arm * 0.35, by + std::sin(twig) * arm * 0.35);
            }
        }
        strokeRound(cr, colour, 1.3);
    };
}

void paintArrowhead(cairo_t* cr, Box box, Direction direction, Colour colour)
{
    struct Point
    {
        double x, y;
    };
    // The tip, then the two corners of the base.
    Point corners[3];
    switch (direction)
    {
    case Direction::up:
        corners[0] = {box.centreX(), box.y}, corners[1] = {box.right(), box.bottom()}, corners[2] = {box.x, box.bottom()};
        break;
    case Direction::down:
        corners[0] = {box.centreX(), box.bottom()}, corners[1] = {box.right(), box.y}, corners[2] = {box.x, box.y};
        break;
    case Direction::left:
        corners[0] = {box.x, box.centreY()}, corners[1] = {box.right(), box.y}, corners[2] = {box.right(), box.bottom()};
        break;
    case Direction::right:
        corners[0] = {box.right(), box.centreY()}, corners[1] = {box.x, box.y}, corners[2] = {box.x, box.bottom()};
        break;
    }
    cairo_new_path(cr);
    for (const Point& corner : corners)
        cairo_line_to(cr, corner.x, corner.y);
    cairo_close_path(cr);
    setColour(cr, colour);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 1);
    cairo_fill_preserve(cr);
    cairo_stroke(cr);
}

Glyph arrow(Direction direction)
{
    return [direction](cairo_t* cr, Box box, Colour colour) {
        const double size = shortSide(box) * 0.36;
        const bool pointsSideways = direction == Direction::left || direction == Direction::right;
        const double width = pointsSideways ? size * 0.85 : size, height = pointsSideways ? size : size * 0.85;
        paintArrowhead(cr, {box.centreX() - width / 2, box.centreY() - height / 2, width, height}, direction, colour);
    };
}

Glyph threeBars()
{
    return [](cairo_t* cr, Box box, Colour colour) {
        const double half = shortSide(box) * 0.34, gap = shortSide(box) * 0.2;
        cairo_new_path(cr);
        for (double offset : {-gap, 0.0, gap})
        {
            cairo_move_to(cr, box.centreX() - half, box.centreY() + offset);
            cairo_line_to(cr, box.centreX() + half, box.centreY() + offset);
        }
        strokeRound(cr, colour, std::max(1.5, shortSide(box) * 0.09));
    };
}

Glyph cross()
{
    return [](cairo_t* cr, Box box, Colour colour) {
        const double half = shortSide(box) * 0.2;
        cairo_new_path(cr);
        cairo_move_to(cr, box.centreX() - half, box.centreY() - half);
        cairo_line_to(cr, box.centreX() + half, box.centreY() + half);
        cairo_move_to(cr, box.centreX() + half, box.centreY() - half);
        cairo_line_to(cr, box.centreX() - half, box.centreY() + half);
        strokeRound(cr, colour, 2.2);
    };
}

Glyph label(std::string text, double size)
{
    return [text, size](cairo_t* cr, Box box, Colour colour) {
        drawText(cr, text, box, {.size = size, .bold = true, .colour = colour, .letterSpacing = 0.3});
    };
}

Glyph indicatorBar()
{
    return [](cairo_t* cr, Box box, Colour colour) {
        cairo_new_path(cr);
        cairo_move_to(cr, box.centreX() - box.width * 0.25, box.centreY());
        cairo_line_to(cr, box.centreX() + box.width * 0.25, box.centreY());
        strokeRound(cr, colour, 2);
    };
}

} // namespace artwork
