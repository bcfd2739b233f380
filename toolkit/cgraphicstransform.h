// An affine transform (scale and translation are what the view tree uses).
#pragma once

#include "crect.h"

namespace VSTGUI {

struct CGraphicsTransform
{
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;

    CGraphicsTransform& translate(double x, double y)
    {
        dx += x;
        dy += y;
        return *this;
    }
    CGraphicsTransform& scale(double sx, double sy)
    {
        m11 *= sx; m12 *= sx; dx *= sx;
        m21 *= sy; m22 *= sy; dy *= sy;
        return *this;
    }
    // This transform followed by `then`.
    CGraphicsTransform concat(const CGraphicsTransform& then) const
    {
        CGraphicsTransform r;
        r.m11 = then.m11 * m11 + then.m12 * m21;
        r.m12 = then.m11 * m12 + then.m12 * m22;
        r.m21 = then.m21 * m11 + then.m22 * m21;
        r.m22 = then.m21 * m12 + then.m22 * m22;
        r.dx = then.m11 * dx + then.m12 * dy + then.dx;
        r.dy = then.m21 * dx + then.m22 * dy + then.dy;
        return r;
    }
    CPoint transform(const CPoint& p) const
    {
        return CPoint(m11 * p.x + m12 * p.y + dx, m21 * p.x + m22 * p.y + dy);
    }
    // Bounding box of the transformed corners.
    CRect transform(const CRect& r) const
    {
        CPoint a = transform(r.getTopLeft());
        CPoint b = transform(r.getBottomRight());
        return CRect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    }
    CGraphicsTransform inverse() const
    {
        double det = m11 * m22 - m12 * m21;
        CGraphicsTransform r;
        if (det == 0)
            return r;
        r.m11 = m22 / det;
        r.m12 = -m12 / det;
        r.m21 = -m21 / det;
        r.m22 = m11 / det;
        r.dx = -(r.m11 * dx + r.m12 * dy);
        r.dy = -(r.m21 * dx + r.m22 * dy);
        return r;
    }
};

} // namespace VSTGUI
