#include "cbitmap.h"

#include "cdrawcontext.h"
#include <cairo.h>
#include <cmath>

namespace VSTGUI {

SharedPointer<IPlatformBitmap> IPlatformBitmap::createFromPath(const std::string& path)
{
    if (path.empty())
        return {};
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || cairo_image_surface_get_width(surface) <= 0)
    {
        cairo_surface_destroy(surface);
        return {};
    }
    return SharedPointer<IPlatformBitmap>::adopt(new IPlatformBitmap(surface));
}

IPlatformBitmap::IPlatformBitmap(cairo_surface_t* bitmapSurface) : surface(bitmapSurface) {}

IPlatformBitmap::~IPlatformBitmap() { cairo_surface_destroy(surface); }

CPoint IPlatformBitmap::getSize() const
{
    return CPoint(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
}

namespace {

ResourceFolderFunction& resourceFolderFunction()
{
    static ResourceFolderFunction function;
    return function;
}

bool leavesFolder(const std::string& name)
{
    return name.empty() || name.front() == '/' || name.find("..") != std::string::npos;
}

} // namespace

void setResourceFolderFunction(ResourceFolderFunction function) { resourceFolderFunction() = std::move(function); }

std::string getResourcePath(const std::string& name)
{
    if (leavesFolder(name) || !resourceFolderFunction())
        return {};
    std::string folder = resourceFolderFunction()();
    if (folder.empty())
        return {};
    if (folder.back() != '/')
        folder += '/';
    return folder + name;
}

CBitmap::CBitmap(const CResourceDescription& description)
{
    if (auto platformBitmap = IPlatformBitmap::createFromPath(getResourcePath(description.name)))
        addBitmap(platformBitmap);
}

CBitmap::CBitmap(CCoord width, CCoord height) : size(width, height) {}

IPlatformBitmap* CBitmap::getPlatformBitmap() const { return versions.empty() ? nullptr : versions.front().get(); }

bool CBitmap::addBitmap(const PlatformBitmapPtr& platformBitmap)
{
    if (!platformBitmap)
        return false;
    double scale = platformBitmap->getScaleFactor();
    if (!std::isfinite(scale) || scale <= 0)
        return false;
    CPoint pixels = platformBitmap->getSize();
    CPoint atOneX(pixels.x / scale, pixels.y / scale);
    if (versions.empty() && size == CPoint())
        size = atOneX;
    else if (std::fabs(atOneX.x - size.x) > 1 || std::fabs(atOneX.y - size.y) > 1)
        return false;
    versions.push_back(platformBitmap);
    return true;
}

IPlatformBitmap* CBitmap::getBestPlatformBitmapForScaleFactor(double scaleFactor) const
{
    IPlatformBitmap* best = nullptr;
    for (const auto& version : versions)
    {
        double scale = version->getScaleFactor();
        if (!best)
            best = version.get();
        else if (best->getScaleFactor() < scaleFactor ? scale > best->getScaleFactor()
                                                       : scale >= scaleFactor && scale < best->getScaleFactor())
            best = version.get();
    }
    return best;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
    if (context)
        context->drawBitmap(this, rect, offset, alpha);
}

} // namespace VSTGUI
