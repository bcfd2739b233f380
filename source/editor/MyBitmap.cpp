#include "MyBitmap.h"

using namespace VSTGUI;

MyBitmap::MyBitmap(const CResourceDescription& description) : CBitmap(description) {}

bool MyBitmap::addScaledBitmap(const char* name)
{
    // Without a 1x picture there is no width to scale against.
    if (!name || getWidth() <= 0)
        return false;
    PlatformBitmapPtr scaled = IPlatformBitmap::createFromPath(getResourcePath(name));
    if (!scaled)
        return false;
    scaled->setScaleFactor(scaled->getSize().x / getWidth());
    return addBitmap(scaled);
}

MyBitmap* MyBitmap::fromLayout(const std::string& base)
{
    auto* bitmap = new MyBitmap((base + ".png").c_str());
    bitmap->addScaledBitmap((base + "_x1.5.png").c_str());
    bitmap->addScaledBitmap((base + "_x2.png").c_str());
    return bitmap;
}

MyBitmap* MyBitmap::fromOverlay(const std::string& base)
{
    auto* bitmap = new MyBitmap((base + ".png").c_str());
    bitmap->addScaledBitmap((base + "_1.5x.png").c_str());
    bitmap->addScaledBitmap((base + "_2x.png").c_str());
    return bitmap;
}
