#include "cgraphicspath.h"

#include <cairo.h>
#include <cmath>

namespace VSTGUI {

namespace {

double radians(double degrees) { return degrees * M_PI / 180.0; }

// Arc of the ellipse inscribed in `rect`; cairo's angles grow clockwise on screen, as ours do.
void appendArc(cairo_t* cr, const CRect& rect, double startDeg, double endDeg, bool clockwise)
{
    if (rect.getWidth() <= 0 || rect.getHeight() <= 0)
        return;
    cairo_matrix_t saved;
    cairo_get_matrix(cr, &saved);
    CPoint centre = rect.getCenter();
    cairo_translate(cr, centre.x, centre.y);
    cairo_scale(cr, rect.getWidth() / 2, rect.getHeight() / 2);
    if (clockwise)
        cairo_arc(cr, 0, 0, 1, radians(startDeg), radians(endDeg));
    else
        cairo_arc_negative(cr, 0, 0, 1, radians(startDeg), radians(endDeg));
    cairo_set_matrix(cr, &saved);
}

void appendRoundRect(cairo_t* cr, const CRect& r, double radius)
{
    radius = std::min({radius, r.getWidth() / 2, r.getHeight() / 2});
    if (radius <= 0)
    {
        cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, r.right - radius, r.top + radius, radius, radians(-90), 0);
    cairo_arc(cr, r.right - radius, r.bottom - radius, radius, 0, radians(90));
    cairo_arc(cr, r.left + radius, r.bottom - radius, radius, radians(90), radians(180));
    cairo_arc(cr, r.left + radius, r.top + radius, radius, radians(180), radians(270));
    cairo_close_path(cr);
}

} // namespace

void CGraphicsPath::beginSubpath(const CPoint& start)
{
    elements.push_back({Kind::begin, CRect(start.x, start.y, start.x, start.y)});
}

void CGraphicsPath::addLine(const CPoint& to)
{
    elements.push_back({Kind::line, CRect(to.x, to.y, to.x, to.y)});
}

void CGraphicsPath::addArc(const CRect& rect, double startAngle, double endAngle, bool clockwise)
{
    elements.push_back({Kind::arc, rect, startAngle, endAngle, clockwise});
}

void CGraphicsPath::addEllipse(const CRect& rect) { elements.push_back({Kind::ellipse, rect}); }

void CGraphicsPath::addRect(const CRect& rect) { elements.push_back({Kind::rect, rect}); }

void CGraphicsPath::addRoundRect(const CRect& rect, CCoord radius)
{
    elements.push_back({Kind::roundRect, rect, radius});
}

void CGraphicsPath::closeSubpath() { elements.push_back({Kind::close, {}}); }

void CGraphicsPath::appendTo(cairo_t* cr) const
{
    for (const Element& e : elements)
    {
        switch (e.kind)
        {
        case Kind::begin: cairo_move_to(cr, e.rect.left, e.rect.top); break;
        case Kind::line: cairo_line_to(cr, e.rect.left, e.rect.top); break;
        case Kind::arc: appendArc(cr, e.rect, e.start, e.end, e.clockwise); break;
        case Kind::ellipse:
            cairo_new_sub_path(cr);
            appendArc(cr, e.rect, 0, 360, true);
            cairo_close_path(cr);
            break;
        case Kind::rect: cairo_rectangle(cr, e.rect.left, e.rect.top, e.rect.getWidth(), e.rect.getHeight()); break;
        case Kind::roundRect: appendRoundRect(cr, e.rect, e.start); break;
        case Kind::close: cairo_close_path(cr); break;
        }
    }
}

} // namespace VSTGUI
