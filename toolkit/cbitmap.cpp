#include "cbitmap.h"

#include "cdrawcontext.h"
#include "pngrowdecoder.h"
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace VSTGUI {

namespace {

// The pixel size in a PNG file's header, read without decoding anything: the signature, then
// the IHDR chunk (length 13, type, big-endian width and height). 0x0 for any other file.
CPoint pngHeaderSize(const std::string& path)
{
    static constexpr unsigned char kStart[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                                                 0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    unsigned char header[24] {};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(header), sizeof header) || std::memcmp(header, kStart, sizeof kStart) != 0)
        return {};
    auto bigEndian = [&header](int at) {
        return uint32_t(header[at]) << 24 | uint32_t(header[at + 1]) << 16 | uint32_t(header[at + 2]) << 8 | header[at + 3];
    };
    const uint32_t width = bigEndian(16), height = bigEndian(20);
    constexpr uint32_t kLargest = 0x7fffffff; // PNG's limit for either side
    if (width == 0 || height == 0 || width > kLargest || height > kLargest)
        return {};
    return CPoint(width, height);
}

} // namespace

SharedPointer<IPlatformBitmap> IPlatformBitmap::createFromPath(const std::string& path)
{
    const CPoint pixels = pngHeaderSize(path);
    if (pixels == CPoint())
        return {};
    return SharedPointer<IPlatformBitmap>::adopt(new IPlatformBitmap(path, pixels));
}

IPlatformBitmap::IPlatformBitmap(std::string filePath, CPoint pixelSize) : path(std::move(filePath)), pixels(pixelSize) {}

IPlatformBitmap::~IPlatformBitmap() = default;

cairo_surface_t* IPlatformBitmap::getSurface(CCoord rows) const
{
    if (!decoder && !undecodable)
        decoder = PngRowDecoder::open(path, pixels);
    if (decoder && decoder->decodeRows(rows))
        return decoder->getSurface();
    decoder.reset();
    undecodable = true;
    return nullptr;
}

int IPlatformBitmap::getDecodedRows() const { return decoder ? decoder->decodedRows() : 0; }

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

IPlatformBitmap* CBitmap::getDecodedPlatformBitmap(double scaleFactor, CCoord bottom)
{
    while (IPlatformBitmap* best = getBestPlatformBitmapForScaleFactor(scaleFactor))
    {
        if (best->getSurface(bottom * best->getScaleFactor()))
            return best;
        std::erase_if(versions, [best](const PlatformBitmapPtr& version) { return version.get() == best; });
    }
    return nullptr;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
    if (context)
        context->drawBitmap(this, rect, offset, alpha);
}

} // namespace VSTGUI
