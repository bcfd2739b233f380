#include "FilmStrip.h"

#include <algorithm>

using namespace VSTGUI;

namespace FilmStrip {

int32 frameHeight(const CBitmap* strip, int32 frames)
{
    if (!strip || frames < 1 || strip->getWidth() < 1)
        return 0;
    return int32(strip->getHeight()) / frames;
}

void drawFrame(CDrawContext* context, CBitmap* strip, const CRect& dest, int32 height, int32 index)
{
    if (!context || !strip || height <= 0 || index < 0)
        return;
    if (double(height) * (double(index) + 1) > strip->getHeight())
        return;
    // A rectangle taller than a frame shows this frame only, never the top of the next one.
    const CRect frame(dest.left, dest.top, dest.right, dest.top + std::min<double>(dest.getHeight(), height));
    strip->draw(context, frame, CPoint(0, double(height) * index), 1.f);
}

void hold(CBitmap*& slot, CBitmap* picture)
{
    if (picture)
        picture->remember();
    release(slot);
    slot = picture;
}

void release(CBitmap*& slot)
{
    if (CBitmap* old = std::exchange(slot, nullptr))
        old->forget();
}

void share(CBitmap* picture)
{
    if (picture)
        picture->remember();
}

} // namespace FilmStrip
