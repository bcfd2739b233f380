#include "windowpainter.h"

#include "cdrawcontext.h"
#include "cfont.h"
#include "cframe.h"
#include <algorithm>
#include <cairo-xcb.h>
#include <cmath>

namespace VSTGUI {
namespace X11 {

namespace {
constexpr CCoord kTooltipPadding = 4; // pixels around the text
constexpr CCoord kTooltipGap = 2;     // pixels between the view and the box
constexpr CCoord kTooltipHeight = 18;
const CColor kTooltipFill(255, 255, 225, 255);
const CColor kTooltipText(0, 0, 0, 255);
} // namespace

WindowPainter::WindowPainter(xcb_connection_t* connection, xcb_window_t window, xcb_visualtype_t* visual,
                             int windowWidth, int windowHeight)
    : windowSurface(cairo_xcb_surface_create(connection, window, visual, std::max(windowWidth, 1), std::max(windowHeight, 1))),
      width(windowWidth), height(windowHeight)
{
    resize(windowWidth, windowHeight);
}

WindowPainter::~WindowPainter()
{
    // cairo keeps state per X connection; it must end with the surfaces, before the connection
    // closes, or a later connection at the same address would inherit it.
    cairo_device_t* device = cairo_device_reference(cairo_surface_get_device(windowSurface));
    cairo_surface_destroy(backBuffer);
    cairo_surface_destroy(windowSurface);
    cairo_device_finish(device);
    cairo_device_destroy(device);
}

void WindowPainter::resize(int newWidth, int newHeight)
{
    width = std::max(newWidth, 1);
    height = std::max(newHeight, 1);
    cairo_xcb_surface_set_size(windowSurface, width, height);
    cairo_surface_destroy(backBuffer);
    backBuffer = cairo_surface_create_similar(windowSurface, CAIRO_CONTENT_COLOR_ALPHA, width, height);
    backBufferDirty = windowBounds();
    exposed = windowBounds();
}

void WindowPainter::addExposed(const CRect& rect)
{
    CRect area = rect;
    area.bound(windowBounds());
    if (!area.isEmpty())
        exposed.unite(area);
}

bool WindowPainter::needsPaint(const CFrame& frame) const
{
    return !backBufferDirty.isEmpty() || !exposed.isEmpty() || !frame.getDirtyRect().isEmpty();
}

void WindowPainter::paint(CFrame& frame)
{
    CRect redraw = backBufferDirty;
    redraw.unite(frame.takeDirtyRect());
    redraw.bound(windowBounds());
    backBufferDirty = CRect();
    if (!redraw.isEmpty())
    {
        CDrawContext context(backBuffer);
        context.setClipRect(redraw);
        cairo_t* cr = context.getCairo();
        cairo_save(cr); // the window has no background of its own: start from opaque black
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        cairo_rectangle(cr, redraw.left, redraw.top, redraw.getWidth(), redraw.getHeight());
        cairo_fill(cr);
        cairo_restore(cr);
        frame.drawRect(&context, redraw);
        if (tooltipBox.rectOverlap(redraw))
            drawTooltip(context);
    }
    CRect copy = exposed;
    copy.unite(redraw);
    exposed = CRect();
    if (!copy.isEmpty())
        copyToWindow(copy);
}

void WindowPainter::copyToWindow(const CRect& rect)
{
    cairo_surface_flush(backBuffer);
    cairo_t* cr = cairo_create(windowSurface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, backBuffer, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(windowSurface);
}

void WindowPainter::showTooltip(const CRect& anchor, const std::string& text)
{
    hideTooltip();
    if (text.empty())
        return;
    CDrawContext measure(backBuffer);
    measure.setFont(kNormalFont);
    const CCoord boxWidth = std::min<CCoord>(measure.getStringWidth(text.c_str()) + 2 * kTooltipPadding, width);
    CCoord top = anchor.bottom + kTooltipGap;
    if (top + kTooltipHeight > height)
        top = anchor.top - kTooltipGap - kTooltipHeight;
    const CCoord left = std::clamp<CCoord>(anchor.left, 0, std::max<CCoord>(width - boxWidth, 0));
    tooltipBox = CRect(left, std::max<CCoord>(top, 0), left + boxWidth, std::max<CCoord>(top, 0) + kTooltipHeight);
    tooltipBox = CRect(std::floor(tooltipBox.left), std::floor(tooltipBox.top), std::ceil(tooltipBox.right),
                       std::ceil(tooltipBox.bottom));
    tooltipText = text;
    backBufferDirty.unite(tooltipBox);
}

void WindowPainter::hideTooltip()
{
    if (tooltipBox.isEmpty())
        return;
    backBufferDirty.unite(tooltipBox);
    tooltipBox = CRect();
    tooltipText.clear();
}

void WindowPainter::drawTooltip(CDrawContext& context) const
{
    context.saveGlobalState();
    context.setClipRect(tooltipBox);
    context.setFillColor(kTooltipFill);
    context.setFrameColor(kTooltipText);
    context.setLineWidth(1);
    context.drawRect(tooltipBox, kDrawFilledAndStroked);
    context.setFont(kNormalFont);
    context.setFontColor(kTooltipText);
    CRect textArea = tooltipBox;
    textArea.inset(kTooltipPadding, 0);
    context.drawString(tooltipText.c_str(), textArea, kLeftText);
    context.restoreGlobalState();
}

} // namespace X11
} // namespace VSTGUI
