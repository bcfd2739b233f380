// Bitmaps loaded from PNG files in the resource folder, with optional scaled versions.
#pragma once

#include "crect.h"
#include <functional>
#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CDrawContext;

// One decoded picture and the scale it was made for (2 for a picture of twice the 1x size).
class IPlatformBitmap : public NonAtomicReferenceCounted
{
public:
    // Decodes a PNG file; null when it is missing or not a PNG.
    static SharedPointer<IPlatformBitmap> createFromPath(const std::string& path);
    // Takes over one reference to `surface`.
    explicit IPlatformBitmap(cairo_surface_t* surface);
    ~IPlatformBitmap() override;
    IPlatformBitmap(const IPlatformBitmap&) = delete;
    IPlatformBitmap& operator=(const IPlatformBitmap&) = delete;

    CPoint getSize() const; // pixels
    double getScaleFactor() const { return scaleFactor; }
    void setScaleFactor(double factor) { scaleFactor = factor; }
    cairo_surface_t* getSurface() const { return surface; }

private:
    cairo_surface_t* surface;
    double scaleFactor = 1;
};

using PlatformBitmapPtr = SharedPointer<IPlatformBitmap>;

// Names a resource file inside the resource folder.
struct CResourceDescription
{
    CResourceDescription(UTF8StringPtr resourceName) : name(resourceName ? resourceName : "") {}
    std::string name;
};

// Where resource files are found; the module sets it to its bundle's resource folder.
using ResourceFolderFunction = std::function<std::string()>;
void setResourceFolderFunction(ResourceFolderFunction function);
// The file path of a resource name; "" while no folder is set and for names that would
// leave the folder.
std::string getResourcePath(const std::string& name);

class CBitmap : public CBaseObject
{
public:
    // Loads the 1x picture; a missing file gives a bitmap of size 0 that draws nothing.
    explicit CBitmap(const CResourceDescription& description);
    // An empty bitmap of the given 1x size.
    CBitmap(CCoord width = 0, CCoord height = 0);

    CCoord getWidth() const { return size.x; }
    CCoord getHeight() const { return size.y; }
    CPoint getSize() const { return size; }

    // The first (1x) version, or null.
    IPlatformBitmap* getPlatformBitmap() const;
    // Adds a version; refused when its size at its scale factor differs from the 1x size by
    // more than a pixel. The first version added to an empty bitmap sets the size.
    bool addBitmap(const PlatformBitmapPtr& platformBitmap);
    // The version with the smallest scale at or above `scaleFactor`, else the largest.
    IPlatformBitmap* getBestPlatformBitmapForScaleFactor(double scaleFactor) const;

    void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0), float alpha = 1.f);

private:
    CPoint size;
    std::vector<PlatformBitmapPtr> versions;
};

} // namespace VSTGUI
