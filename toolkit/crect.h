// An axis-aligned rectangle: left and top inclusive, right and bottom exclusive.
#pragma once

#include "cpoint.h"
#include <algorithm>

namespace VSTGUI {

struct CRect
{
    CCoord left = 0;
    CCoord top = 0;
    CCoord right = 0;
    CCoord bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(CCoord l, CCoord t, CCoord r, CCoord b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CRect(const CPoint& origin, const CPoint& size)
        : left(origin.x), top(origin.y), right(origin.x + size.x), bottom(origin.y + size.y) {}

    CCoord getWidth() const { return right - left; }
    CCoord getHeight() const { return bottom - top; }
    CRect& setWidth(CCoord width) { right = left + width; return *this; }
    CRect& setHeight(CCoord height) { bottom = top + height; return *this; }
    CPoint getTopLeft() const { return CPoint(left, top); }
    CPoint getBottomRight() const { return CPoint(right, bottom); }
    CPoint getSize() const { return CPoint(getWidth(), getHeight()); }
    CPoint getCenter() const { return CPoint(left + getWidth() / 2, top + getHeight() / 2); }
    bool isEmpty() const { return right <= left || bottom <= top; }

    CRect& offset(CCoord dx, CCoord dy)
    {
        left += dx; right += dx; top += dy; bottom += dy;
        return *this;
    }
    CRect& offset(const CPoint& delta) { return offset(delta.x, delta.y); }
    // Moves the rectangle so that its top-left corner is at (x, y), keeping its size.
    CRect& moveTo(CCoord x, CCoord y) { return offset(x - left, y - top); }
    CRect& moveTo(const CPoint& where) { return moveTo(where.x, where.y); }
    CRect& inset(CCoord dx, CCoord dy)
    {
        left += dx; right -= dx; top += dy; bottom -= dy;
        return *this;
    }
    CRect& extend(CCoord dx, CCoord dy) { return inset(-dx, -dy); }
    CRect& scale(CCoord factor)
    {
        left *= factor; top *= factor; right *= factor; bottom *= factor;
        return *this;
    }

    bool pointInside(const CPoint& where) const
    {
        return where.x >= left && where.x < right && where.y >= top && where.y < bottom;
    }
    bool rectOverlap(const CRect& other) const
    {
        return right > other.left && left < other.right && bottom > other.top && top < other.bottom;
    }
    // Shrinks this rectangle to its intersection with `other` (empty at other's corner if none).
    CRect& bound(const CRect& other)
    {
        left = std::clamp(left, other.left, other.right);
        right = std::clamp(right, left, other.right);
        top = std::clamp(top, other.top, other.bottom);
        bottom = std::clamp(bottom, top, other.bottom);
        return *this;
    }
    CRect& unite(const CRect& other)
    {
        if (other.isEmpty())
            return *this;
        if (isEmpty())
            return *this = other;
        left = std::min(left, other.left); top = std::min(top, other.top);
        right = std::max(right, other.right); bottom = std::max(bottom, other.bottom);
        return *this;
    }

    bool operator==(const CRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CRect& o) const { return !(*this == o); }
};

} // namespace VSTGUI
