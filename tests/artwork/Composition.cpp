#include "Composition.h"

#include "PictureNames.h"

#include <algorithm>
#include <map>
#include <set>

namespace composition {

using layout_tables::LegacyControl;
using layout_tables::Rect;

std::string layoutFile(const std::string& base, int scale)
{
    return picture_names::layoutFiles(base)[scale == 1 ? 0 : 2].name;
}

Rect legacyRect(const LegacyControl& control)
{
    const PngFile picture(layoutFile(control.pictures.front(), 1));
    double width = picture.width(), height = picture.height() / double(control.frames);
    if (control.frames > 1)
        width = height = PngFile(layoutFile("knob_GATE", 1)).width();
    if (control.trackWidth > 0)
        width = control.trackWidth;
    return {control.left, control.top, control.left + width, control.top + height};
}

void drawFrame(cairo_t* cr, const PngFile& strip, int frames, int frame, double x, double y)
{
    const double frameHeight = strip.height() / double(frames);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, strip.width(), frameHeight);
    cairo_clip(cr);
    cairo_set_source_surface(cr, strip.surface(), x, y - frame * frameHeight);
    cairo_paint(cr);
    cairo_restore(cr);
}

namespace {

cairo_surface_t* backgroundCanvas(const std::string& base, int scale, cairo_t** cr)
{
    const PngFile background(layoutFile(base, scale));
    cairo_surface_t* canvas =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, background.width()), std::max(1, background.height()));
    *cr = cairo_create(canvas);
    if (background.decoded())
    {
        cairo_set_source_surface(*cr, background.surface(), 0, 0);
        cairo_paint(*cr);
    }
    return canvas;
}

} // namespace

cairo_surface_t* composeRack(int scale)
{
    cairo_t* cr = nullptr;
    cairo_surface_t* canvas = backgroundCanvas("vxp_background", scale, &cr);
    for (const layout_tables::RackControl& control : layout_tables::rackControls)
        drawFrame(cr, PngFile(layoutFile(control.base, scale)), control.frames, control.shownFrame,
                  control.rect.left * scale, control.rect.top * scale);
    cairo_destroy(cr);
    return canvas;
}

cairo_surface_t* composeLegacy(int scale)
{
    cairo_t* cr = nullptr;
    cairo_surface_t* canvas = backgroundCanvas("background", scale, &cr);
    for (const LegacyControl& control : layout_tables::legacyControls)
    {
        const PngFile picture(layoutFile(control.pictures[control.shownPicture], scale));
        // A fader's handle slides over its track, as the fader moves it.
        const double slide = control.trackWidth > 0 ? (control.trackWidth * scale - picture.width()) * control.handleValue : 0;
        drawFrame(cr, picture, control.frames, control.shownFrame, control.left * scale + slide, control.top * scale);
    }
    cairo_destroy(cr);
    return canvas;
}

namespace {

std::string overlayFile(const std::string& base, int scale)
{
    return picture_names::overlayFiles(base)[scale == 1 ? 0 : 2].name;
}

} // namespace

cairo_surface_t* composeOverlay(bool rack, int scale)
{
    cairo_surface_t* canvas = rack ? composeRack(scale) : composeLegacy(scale);
    cairo_t* cr = cairo_create(canvas);
    const double width = rack ? layout_tables::rackWidth : layout_tables::legacyWidth;
    cairo_set_source_rgba(cr, 0, 0, 0, 0.76);
    cairo_paint(cr);
    const PngFile logo(overlayFile("big_logo", scale));
    drawFrame(cr, PngFile(overlayFile("quit", scale)), 1, 0, (width - 36) * scale, 6 * scale);
    drawFrame(cr, PngFile(overlayFile("help", scale)), 1, 0, 12 * scale, 6 * scale);
    drawFrame(cr, logo, 1, 0, width / 2 * scale - logo.width() / 2.0, 216 * scale);
    // The two push buttons have 1x pictures only, which the toolkit enlarges with the zoom.
    cairo_scale(cr, scale, scale);
    drawFrame(cr, PngFile("toggle.png"), 1, 0, rack ? 24 : 316, rack ? 206 : 336);
    drawFrame(cr, PngFile("toggle_pressed.png"), 1, 0, rack ? 24 : 316, rack ? 236 : 366);
    cairo_destroy(cr);
    return canvas;
}

namespace {

struct SheetEntry
{
    std::string name;
    int frames;
};

std::map<std::string, int> stripFrameCounts()
{
    std::map<std::string, int> counts;
    for (const layout_tables::RackControl& control : layout_tables::rackControls)
        counts[control.base] = control.frames;
    for (const LegacyControl& control : layout_tables::legacyControls)
        counts[control.pictures.front()] = control.frames;
    return counts;
}

std::vector<SheetEntry> sheetEntries(int scale)
{
    const std::map<std::string, int> frames = stripFrameCounts();
    std::vector<SheetEntry> entries;
    std::set<std::string> seen; // help.png is the 1x file of two sets
    for (const auto& set : picture_names::allSets())
        for (const picture_names::Scaled& file : set)
            if (file.scale == scale && seen.insert(file.name).second)
            {
                const std::string base = set.front().name.substr(0, set.front().name.size() - 4);
                const auto found = frames.find(base);
                entries.push_back({file.name, found == frames.end() ? 1 : found->second});
            }
    return entries;
}

// The frames a sheet shows of a strip: all of a short one, else first, middle and last.
std::vector<int> firstMiddleLast(int frames)
{
    if (frames <= 3)
    {
        std::vector<int> all(size_t(frames), 0);
        for (int frame = 0; frame < frames; ++frame)
            all[size_t(frame)] = frame;
        return all;
    }
    return {0, frames / 2, frames - 1};
}

void setCaptionFont(cairo_t* cr)
{
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 11);
}

double captionWidth(const std::string& text)
{
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    setCaptionFont(cr);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    return extents.x_advance;
}

void caption(cairo_t* cr, const std::string& text, double x, double y)
{
    cairo_set_source_rgb(cr, 0.92, 0.92, 0.92);
    setCaptionFont(cr);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

} // namespace

cairo_surface_t* composePictureSheet(int scale)
{
    const double sheetWidth = 1900 * scale, gap = 14, captionHeight = 16;
    const std::vector<SheetEntry> entries = sheetEntries(scale);
    // First pass finds the height, second pass draws.
    cairo_surface_t* canvas = nullptr;
    for (int pass = 0; pass < 2; ++pass)
    {
        cairo_t* cr = canvas ? cairo_create(canvas) : nullptr;
        if (cr)
        {
            cairo_set_source_rgb(cr, 0.36, 0.37, 0.39);
            cairo_paint(cr);
        }
        double x = gap, y = gap, rowHeight = 0;
        for (const SheetEntry& entry : entries)
        {
            const PngFile picture(entry.name);
            const std::vector<int> shown = firstMiddleLast(entry.frames);
            const double frameHeight = picture.height() / double(entry.frames);
            const double cellWidth = std::max(shown.size() * (picture.width() + 4.0), captionWidth(entry.name));
            if (x + cellWidth > sheetWidth)
                x = gap, y += rowHeight + gap, rowHeight = 0;
            if (cr)
            {
                caption(cr, entry.name, x, y + 11);
                for (size_t index = 0; index < shown.size(); ++index)
                    drawFrame(cr, picture, entry.frames, shown[index], x + index * (picture.width() + 4.0), y + captionHeight);
            }
            rowHeight = std::max(rowHeight, frameHeight + captionHeight);
            x += cellWidth + gap;
        }
        if (cr)
            cairo_destroy(cr);
        else
            canvas = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(sheetWidth), int(y + rowHeight + gap));
    }
    return canvas;
}

} // namespace composition
