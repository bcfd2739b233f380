// Paints a frame into its X window through cairo: the views go into a back buffer, and only
// the merged dirty area is copied to the window, so an expose costs one copy and no redraw.
#pragma once

#include "crect.h"
#include <string>
#include <xcb/xcb.h>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CDrawContext;
class CFrame;

namespace X11 {

class WindowPainter
{
public:
    WindowPainter(xcb_connection_t* connection, xcb_window_t window, xcb_visualtype_t* visual, int width, int height);
    ~WindowPainter();
    WindowPainter(const WindowPainter&) = delete;
    WindowPainter& operator=(const WindowPainter&) = delete;

    // Window pixels; the whole window needs painting afterwards.
    void resize(int width, int height);
    // An area of the window that the server lost (expose): copied again from the back buffer.
    void addExposed(const CRect& rect);
    // Draws the frame's dirty area and the tooltip into the back buffer, then copies what
    // changed or was exposed to the window. UI thread only.
    void paint(CFrame& frame);
    bool needsPaint(const CFrame& frame) const;

    // The tooltip box below (or above) `anchor`, kept inside the window; window pixels.
    void showTooltip(const CRect& anchor, const std::string& text);
    void hideTooltip();

private:
    void drawTooltip(CDrawContext& context) const;
    void copyToWindow(const CRect& rect);
    CRect windowBounds() const { return CRect(0, 0, width, height); }

    cairo_surface_t* windowSurface;
    cairo_surface_t* backBuffer = nullptr;
    int width, height;     // window pixels
    CRect backBufferDirty; // to redraw from the views
    CRect exposed;         // to copy again
    CRect tooltipBox;      // empty while no tooltip shows
    std::string tooltipText;
};

} // namespace X11
} // namespace VSTGUI
