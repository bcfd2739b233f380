// A point or a size in toolkit coordinates (pixels, y grows downwards).
#pragma once

#include "vstguibase.h"

namespace VSTGUI {

struct CPoint
{
    CCoord x = 0;
    CCoord y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(CCoord px, CCoord py) : x(px), y(py) {}

    CPoint& offset(CCoord dx, CCoord dy)
    {
        x += dx;
        y += dy;
        return *this;
    }
    CPoint& operator+=(const CPoint& other) { return offset(other.x, other.y); }
    CPoint& operator-=(const CPoint& other) { return offset(-other.x, -other.y); }
    CPoint operator+(const CPoint& other) const { return CPoint(x + other.x, y + other.y); }
    CPoint operator-(const CPoint& other) const { return CPoint(x - other.x, y - other.y); }
    bool operator==(const CPoint& other) const { return x == other.x && y == other.y; }
    bool operator!=(const CPoint& other) const { return !(*this == other); }
};

} // namespace VSTGUI
