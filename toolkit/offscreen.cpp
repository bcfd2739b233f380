#include "offscreen.h"

#include "cdrawcontext.h"
#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace VSTGUI {

OffscreenImage::OffscreenImage(int width, int height)
    : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, width), std::max(1, height)))
{
}

OffscreenImage::~OffscreenImage()
{
    if (surface)
        cairo_surface_destroy(surface);
}

OffscreenImage::OffscreenImage(OffscreenImage&& other) noexcept : surface(std::exchange(other.surface, nullptr)) {}

int OffscreenImage::getWidth() const { return cairo_image_surface_get_width(surface); }

int OffscreenImage::getHeight() const { return cairo_image_surface_get_height(surface); }

CColor OffscreenImage::getPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= getWidth() || y >= getHeight())
        return CColor(0, 0, 0, 0);
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t argb;
    std::copy_n(row + x * 4, 4, reinterpret_cast<unsigned char*>(&argb));
    auto alpha = uint8_t(argb >> 24);
    auto unpremultiply = [alpha](uint32_t channel) {
        return alpha == 0 ? uint8_t(0) : uint8_t(std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha));
    };
    return CColor(unpremultiply((argb >> 16) & 0xff), unpremultiply((argb >> 8) & 0xff), unpremultiply(argb & 0xff),
                  alpha);
}

bool OffscreenImage::writePng(const std::string& path) const
{
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

OffscreenImage renderView(CView& view, double zoom)
{
    if (!std::isfinite(zoom) || zoom <= 0)
        return OffscreenImage(1, 1);
    const CRect& size = view.getViewSize();
    OffscreenImage image(int(std::ceil(size.getWidth() * zoom)), int(std::ceil(size.getHeight() * zoom)));
    if (!view.isShowing())
        return image;
    CDrawContext context(image.getSurface());
    CDrawContext::Transform placement(context,
                                      CGraphicsTransform().translate(-size.left, -size.top).scale(zoom, zoom));
    context.setGlobalAlpha(view.getAlphaValue());
    context.setClipRect(size);
    view.drawRect(&context, size);
    return image;
}

} // namespace VSTGUI
