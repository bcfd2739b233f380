// Bitmaps loaded from PNG files in the resource folder, with optional scaled versions.
#pragma once

#include "crect.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CDrawContext;
class PngRowDecoder;

// One picture file and the scale it was made for (2 for a picture of twice the 1x size). Its
// size comes from the file's header; its pixels are decoded as far down as they are first
// drawn, so that versions the frame's zoom never draws cost no time and no memory. UI thread
// only.
class IPlatformBitmap : public NonAtomicReferenceCounted
{
public:
    // The PNG file at `path`, not decoded yet; null when it is missing or does not begin with
    // a PNG header.
    static SharedPointer<IPlatformBitmap> createFromPath(const std::string& path);
    ~IPlatformBitmap() override;
    IPlatformBitmap(const IPlatformBitmap&) = delete;
    IPlatformBitmap& operator=(const IPlatformBitmap&) = delete;

    CPoint getSize() const { return pixels; }
    double getScaleFactor() const { return scaleFactor; }
    void setScaleFactor(double factor) { scaleFactor = factor; }
    // The pixels, with at least the rows above `rows` (pixels) decoded. Null, then and for
    // good, when the file does not decode to the size its header gave.
    cairo_surface_t* getSurface(CCoord rows) const;
    int getDecodedRows() const;

private:
    IPlatformBitmap(std::string filePath, CPoint pixelSize);

    std::string path;
    CPoint pixels;
    double scaleFactor = 1;
    mutable std::unique_ptr<PngRowDecoder> decoder; // made on the first draw
    mutable bool undecodable = false;
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
    // The 1x picture, its header read now and its pixels when drawn; a missing file gives a
    // bitmap of size 0 that draws nothing.
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
    // The best version for `scaleFactor` whose pixels decode, decoded down to `bottom` (1x
    // pixels) now if need be. A version that fails to decode is dropped, as if its file were
    // missing. Null when none is left.
    IPlatformBitmap* getDecodedPlatformBitmap(double scaleFactor, CCoord bottom);

    void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0), float alpha = 1.f);

private:
    CPoint size;
    std::vector<PlatformBitmapPtr> versions;
};

} // namespace VSTGUI
