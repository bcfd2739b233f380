#pragma once

#include "LayoutTables.h"
#include "PngFile.h"

#include <cairo.h>

#include <string>

// Plain compositions of the pictures: each layout's background with its controls at their
// rectangles, and a sheet of every picture, for people to look at.
namespace composition {

// The layout-scheme file of base at scale 1 or 2.
std::string layoutFile(const std::string& base, int scale);

// A LEGACY control's rectangle at 1x, sized by its pictures as the layout sizes it.
layout_tables::Rect legacyRect(const layout_tables::LegacyControl& control);

// Draws one frame of a vertical strip with its top-left corner at (x, y) in device pixels.
void drawFrame(cairo_t* cr, const PngFile& strip, int frames, int frame, double x, double y);

cairo_surface_t* composeRack(int scale);
cairo_surface_t* composeLegacy(int scale);
// The settings overlay's pictures at their places over the dimmed layout (rack: true for RACK).
cairo_surface_t* composeOverlay(bool rack, int scale);
// Every file of that scale (1x files with the 1x-only ones), strips as their first, middle and last frames.
cairo_surface_t* composePictureSheet(int scale);

} // namespace composition
