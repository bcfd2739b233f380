// A vector path of sub-paths (lines, arcs, rectangles), filled or stroked by a draw context.
#pragma once

#include "crect.h"
#include <vector>

typedef struct _cairo cairo_t;

namespace VSTGUI {

class CGraphicsPath : public CBaseObject
{
public:
    void beginSubpath(const CPoint& start);
    void addLine(const CPoint& to);
    // Arc of the ellipse inside `rect`, angles in degrees, 0 at three o'clock, clockwise.
    void addArc(const CRect& rect, double startAngle, double endAngle, bool clockwise);
    void addEllipse(const CRect& rect);
    void addRect(const CRect& rect);
    void addRoundRect(const CRect& rect, CCoord radius);
    void closeSubpath();
    bool isEmpty() const { return elements.empty(); }

    // Replays the path into cairo's current path (user coordinates).
    void appendTo(cairo_t* cr) const;

private:
    enum class Kind { begin, line, arc, ellipse, rect, roundRect, close };
    struct Element
    {
        Kind kind;
        CRect rect;      // begin/line: left and top hold the point
        double start = 0; // degrees, or the corner radius of a round rectangle
        double end = 0;   // degrees
        bool clockwise = true;
    };
    std::vector<Element> elements;
};

} // namespace VSTGUI
