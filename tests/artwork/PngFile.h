#pragma once

#include <cairo.h>

#include <memory>
#include <string>

// A decoded PNG from the bundle's resource folder, with per-pixel reads for the checks.
class PngFile
{
public:
    explicit PngFile(const std::string& name);

    bool decoded() const;
    int width() const;
    int height() const;
    cairo_surface_t* surface() const { return surface_.get(); }

    struct Pixel
    {
        double red, green, blue, alpha; // 0..1, colours not premultiplied
    };
    Pixel at(int x, int y) const;

    static std::string pathOf(const std::string& name);

private:
    struct SurfaceDeleter
    {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
};
