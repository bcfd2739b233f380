// Toolkit test helpers: a recording view, PNGs made on the fly in a private folder, ink bounds.
#pragma once

#include "manualrunloop.h"
#include "offscreen.h"
#include "vstgui.h"
#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace VSTGUI {
// Readable colours in test failures.
inline void PrintTo(const CColor& c, std::ostream* os)
{
    *os << "(" << int(c.red) << "," << int(c.green) << "," << int(c.blue) << "," << int(c.alpha) << ")";
}
} // namespace VSTGUI

namespace ToolkitTest {

using namespace VSTGUI;

// Records every mouse call as "<name>:<event>" into a shared log and answers as configured.
class RecordingView : public CView
{
public:
    RecordingView(const CRect& size, std::string viewName, std::vector<std::string>& eventLog,
                  CMouseEventResult downAnswer = kMouseEventHandled)
        : CView(size), name(std::move(viewName)), log(eventLog), answer(downAnswer)
    {
    }

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override
    {
        lastButtons = buttons;
        return note("down", where, answer);
    }
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState&) override { return note("up", where); }
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState&) override { return note("moved", where); }
    CMouseEventResult onMouseCancel() override { return note("cancel", lastPoint); }
    CMouseEventResult onMouseEntered(CPoint&, const CButtonState&) override { return note("entered", lastPoint); }
    CMouseEventResult onMouseExited(CPoint&, const CButtonState&) override { return note("exited", lastPoint); }
    bool onWheel(const CPoint&, const CMouseWheelAxis& axis, const float& distance, const CButtonState&) override
    {
        lastDistance = distance;
        note(axis == kMouseWheelAxisY ? "wheelY" : "wheelX", lastPoint);
        return takesWheel;
    }

    std::string name;
    std::vector<std::string>& log;
    CMouseEventResult answer;
    bool takesWheel = true;
    CPoint lastPoint;
    CButtonState lastButtons;
    float lastDistance = 0;

private:
    CMouseEventResult note(const char* event, const CPoint& where, CMouseEventResult result = kMouseEventHandled)
    {
        lastPoint = where;
        log.push_back(name + ":" + event);
        return result;
    }
};

// A temporary resource folder, installed as the toolkit's, removed afterwards.
class ResourceFolder
{
public:
    ResourceFolder()
    {
        std::filesystem::create_directories(path);
        setResourceFolderFunction([folder = path.string()] { return folder; });
    }
    ~ResourceFolder()
    {
        setResourceFolderFunction({});
        std::filesystem::remove_all(path);
    }

    // A PNG of horizontal bands, band i colours[i]; colour type by `format` (gray for A8/A1, RGB if opaque).
    void writeBands(const std::string& name, int width, int height, const std::vector<CColor>& colours,
                    cairo_format_t format = CAIRO_FORMAT_ARGB32) const
    {
        cairo_surface_t* surface = cairo_image_surface_create(format, width, height);
        cairo_t* cr = cairo_create(surface);
        const double bandHeight = double(height) / double(colours.size());
        for (size_t i = 0; i < colours.size(); ++i)
        {
            const CColor& c = colours[i];
            cairo_set_source_rgba(cr, c.getNormRed(), c.getNormGreen(), c.getNormBlue(), c.getNormAlpha());
            cairo_rectangle(cr, 0, bandHeight * double(i), width, bandHeight);
            cairo_fill(cr);
        }
        cairo_destroy(cr);
        cairo_surface_write_to_png(surface, (path / name).c_str());
        cairo_surface_destroy(surface);
    }

private:
    static inline int counter = 0;
    const std::filesystem::path path = std::filesystem::path(VEXTORIA_TEST_OUTPUT)
                                       / ("toolkit-resources-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
};

// Bounds in `area` (empty: all) of pixels passing the test, and their count; {width, -1, 0, height, -1} if none.
struct Ink
{
    int first, last, count, top, bottom;
};
template <typename Test>
Ink inkWhere(const OffscreenImage& image, Test test, CRect area = {})
{
    area = area.isEmpty() ? CRect(0, 0, image.getWidth(), image.getHeight()) : area;
    Ink ink{image.getWidth(), -1, 0, image.getHeight(), -1};
    for (int y = int(area.top); y < int(area.bottom); ++y)
        for (int x = int(area.left); x < int(area.right); ++x)
            if (test(image.getPixel(x, y)))
                ink = {std::min(ink.first, x), std::max(ink.last, x), ink.count + 1, std::min(ink.top, y), y};
    return ink;
}

// Channels within `tolerance` of each other.
inline bool near(const CColor& a, const CColor& b, int tolerance = 3)
{
    auto close = [tolerance](int x, int y) { return std::abs(x - y) <= tolerance; };
    return close(a.red, b.red) && close(a.green, b.green) && close(a.blue, b.blue) && close(a.alpha, b.alpha);
}

} // namespace ToolkitTest
