#include "Switch.h"

#include "FilmStrip.h"

using namespace VSTGUI;

Switch::Switch(const CRect& size, IControlListener* listener, int32 tag, CBitmap* backgroundPicture,
               CBitmap* handlePicture, int32 positionCount)
    : SteppedSwitch(size, listener, tag, positionCount, false), handle(handlePicture), background(backgroundPicture)
{
    FilmStrip::share(handle);
    FilmStrip::share(background);
}

Switch::Switch(const Switch& other) : SteppedSwitch(other), handle(other.handle), background(other.background)
{
    FilmStrip::share(handle);
    FilmStrip::share(background);
}

Switch::~Switch()
{
    FilmStrip::release(handle);
    FilmStrip::release(background);
}

void Switch::draw(CDrawContext* context)
{
    if (background)
    {
        background->draw(context, size, CPoint(0, 0), 1.f);
    }
    else
    {
        context->setFillColor(CColor(255, 0, 0, 255));
        context->drawRect(CRect(size.left, size.top, size.right - 1, size.bottom - 1), kDrawFilled);
    }
    if (handle)
    {
        // Drawn at the same step that clicks pick, so the handle sits under the pointer.
        const CCoord top = int32(size.top) + handle->getHeight() * index;
        const CCoord left = int32(size.left);
        handle->draw(context, CRect(left, top, left + size.getWidth(), top + handle->getHeight()), CPoint(0, 0), 1.f);
    }
    setDirty(false);
}
