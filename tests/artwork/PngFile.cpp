#include "PngFile.h"

#include <cstdint>

PngFile::PngFile(const std::string& name) : surface_(cairo_image_surface_create_from_png(pathOf(name).c_str()))
{
}

std::string PngFile::pathOf(const std::string& name)
{
    return std::string(VEXTORIA_BUNDLE_RESOURCES) + "/" + name;
}

bool PngFile::decoded() const
{
    return cairo_surface_status(surface_.get()) == CAIRO_STATUS_SUCCESS;
}

int PngFile::width() const
{
    return decoded() ? cairo_image_surface_get_width(surface_.get()) : 0;
}

int PngFile::height() const
{
    return decoded() ? cairo_image_surface_get_height(surface_.get()) : 0;
}

PngFile::Pixel PngFile::at(int x, int y) const
{
    cairo_surface_flush(surface_.get());
    const unsigned char* row =
        cairo_image_surface_get_data(surface_.get()) + y * cairo_image_surface_get_stride(surface_.get());
    const uint32_t argb = reinterpret_cast<const uint32_t*>(row)[x];
    const double alpha = (argb >> 24) / 255.0;
    auto channel = [&](int shift) { return alpha > 0 ? ((argb >> shift) & 0xff) / 255.0 / alpha : 0.0; };
    return {channel(16), channel(8), channel(0), alpha};
}
