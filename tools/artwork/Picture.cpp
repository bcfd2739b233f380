#include "Picture.h"

#include <cmath>

namespace artwork {

std::vector<OutputFile> filesOf(const Picture& picture)
{
    const std::string& base = picture.base;
    switch (picture.scheme)
    {
    case Scheme::layout:
        return {{base + ".png", 1.0}, {base + "_x1.5.png", 1.5}, {base + "_x2.png", 2.0}};
    case Scheme::overlay:
        return {{base + ".png", 1.0}, {base + "_1.5x.png", 1.5}, {base + "_2x.png", 2.0}};
    case Scheme::pressedHelp:
        return {{base + "__1.5x.png", 1.5}, {base + "__2x.png", 2.0}};
    case Scheme::oneScale:
        return {{base + ".png", 1.0}};
    }
    return {};
}

double frameValue(int frame, int frames)
{
    return frames > 1 ? double(frame) / (frames - 1) : 0.0;
}

namespace {

// Scaled sizes must be whole pixels, or the toolkit would see a different ratio or torn frames.
bool wholePixels(double size)
{
    return size == std::floor(size);
}

} // namespace

std::string writePicture(const Picture& picture, const OutputFile& file, const std::string& folder)
{
    const double width = picture.width * file.scale, frameHeight = picture.frameHeight * file.scale;
    if (!wholePixels(width) || !wholePixels(frameHeight))
        return file.name + ": size is not whole pixels at this scale";
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(width), int(frameHeight) * picture.frames);
    cairo_t* cr = cairo_create(surface);
    for (int frame = 0; frame < picture.frames; ++frame)
    {
        cairo_save(cr);
        cairo_translate(cr, 0, frame * frameHeight);
        cairo_rectangle(cr, 0, 0, width, frameHeight);
        cairo_clip(cr);
        cairo_scale(cr, file.scale, file.scale);
        picture.paintFrame(cr, frame);
        cairo_restore(cr);
    }
    std::string error;
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
        error = file.name + ": " + cairo_status_to_string(cairo_status(cr));
    else if (cairo_status_t status = cairo_surface_write_to_png(surface, (folder + "/" + file.name).c_str());
             status != CAIRO_STATUS_SUCCESS)
        error = file.name + ": " + cairo_status_to_string(status);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return error;
}

} // namespace artwork
