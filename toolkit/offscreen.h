// Renders a view tree into an image without a window: for tests, tools and people who want
// to look at widgets.
#pragma once

#include "ccolor.h"
#include "cview.h"
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class OffscreenImage
{
public:
    // A transparent image of `width` x `height` pixels (at least 1 x 1).
    OffscreenImage(int width, int height);
    ~OffscreenImage();
    OffscreenImage(OffscreenImage&& other) noexcept;
    OffscreenImage(const OffscreenImage&) = delete;
    OffscreenImage& operator=(const OffscreenImage&) = delete;
    OffscreenImage& operator=(OffscreenImage&&) = delete;

    int getWidth() const;
    int getHeight() const;
    // The pixel at (x, y), not premultiplied; transparent black outside the image.
    CColor getPixel(int x, int y) const;
    bool writePng(const std::string& path) const;
    cairo_surface_t* getSurface() const { return surface; }

private:
    cairo_surface_t* surface;
};

// Draws `view` (and, for containers, its children) with its top-left corner at the image's
// origin, scaled by `zoom`. The image is the view's size times the zoom, rounded up.
// A zoom that is not finite and above 0 gives a 1 x 1 empty image.
OffscreenImage renderView(CView& view, double zoom = 1.0);

} // namespace VSTGUI
