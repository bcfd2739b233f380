#include "editor/x_display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <bit>

namespace probe::testing {

namespace {

// The 8 bits of one channel, for the masks of a true-colour image.
uint32_t channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const auto shift = std::countr_zero(mask);
    const auto bits = std::popcount(mask);
    const auto value = static_cast<uint32_t>((pixel & mask) >> shift);
    return bits >= 8 ? value >> (bits - 8) : value << (8 - bits);
}

// Asked before each request that may name a window already gone: the error is expected, not fatal.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

class IgnoredErrors {
public:
    explicit IgnoredErrors(Display* display) : display(display)
    {
        XSync(display, False);
        previous = XSetErrorHandler(ignoreErrors);
    }
    ~IgnoredErrors()
    {
        XSync(display, False);
        XSetErrorHandler(previous);
    }

private:
    Display* display;
    XErrorHandler previous = nullptr;
};

}  // namespace

XDisplay::XDisplay() : display(XOpenDisplay(nullptr))
{
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    hasXTest = display != nullptr && XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor);
}

XDisplay::~XDisplay()
{
    if (display != nullptr)
        XCloseDisplay(display);
}

std::vector<XWindowId> XDisplay::children(XWindowId parent) const
{
    IgnoredErrors guard(display);
    Window root = 0, parentOfParent = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    std::vector<XWindowId> found;
    if (XQueryTree(display, parent, &root, &parentOfParent, &list, &count) != 0)
        found.assign(list, list + count);
    if (list != nullptr)
        XFree(list);
    return found;
}

std::optional<WindowBox> XDisplay::box(XWindowId window) const
{
    IgnoredErrors guard(display);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return std::nullopt;
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child))
        return std::nullopt;
    return WindowBox{x, y, attributes.width, attributes.height};
}

std::optional<ScreenPicture> XDisplay::capture(XWindowId window) const
{
    const auto size = box(window);
    if (!size)
        return std::nullopt;
    // The server hands out only what lies on the screen: a 200 % window may reach past its edge.
    const int width = std::min(size->width, DisplayWidth(display, DefaultScreen(display)) - size->x);
    const int height = std::min(size->height, DisplayHeight(display, DefaultScreen(display)) - size->y);
    if (size->x < 0 || size->y < 0 || width <= 0 || height <= 0)
        return std::nullopt;
    IgnoredErrors guard(display);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (image == nullptr)
        return std::nullopt;
    ScreenPicture picture(image->width, image->height);
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            picture.set(x, y, channel(pixel, image->red_mask) << 16 | channel(pixel, image->green_mask) << 8
                                  | channel(pixel, image->blue_mask));
        }
    XDestroyImage(image);
    return picture;
}

void XDisplay::movePointer(int x, int y)
{
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

void XDisplay::pressButton(unsigned int button)
{
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XSync(display, False);
}

void XDisplay::releaseButton(unsigned int button)
{
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XSync(display, False);
}

}  // namespace probe::testing
