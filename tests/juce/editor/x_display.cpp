#include "editor/x_display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace probe::testing {

namespace {
// A request may name a window already gone: the error is expected, not fatal (as under JUCE's handler).
int ignoreErrors(Display*, XErrorEvent*) { return 0; }
}  // namespace

XDisplay::XDisplay() : display(XOpenDisplay(nullptr))
{
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    hasXTest = display != nullptr && XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor);
    XSetErrorHandler(ignoreErrors);
}

XDisplay::~XDisplay()
{
    if (display != nullptr)
        XCloseDisplay(display);
}

std::vector<XWindowId> XDisplay::children(XWindowId parent) const
{
    Window root = 0, parentOfParent = 0, *list = nullptr;
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
    XWindowAttributes attributes{};
    int x = 0, y = 0;
    Window child = 0;
    if (XGetWindowAttributes(display, window, &attributes) == 0
        || !XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child))
        return std::nullopt;
    return WindowBox{x, y, attributes.width, attributes.height};
}

std::optional<ScreenPicture> XDisplay::capture(XWindowId window) const
{
    const auto size = box(window);
    if (!size || size->x < 0 || size->y < 0)
        return std::nullopt;
    // The server hands out only what lies on the screen: a 200 % window may reach past its edge.
    const int width = std::min(size->width, DisplayWidth(display, DefaultScreen(display)) - size->x);
    const int height = std::min(size->height, DisplayHeight(display, DefaultScreen(display)) - size->y);
    if (width <= 0 || height <= 0)
        return std::nullopt;
    XImage* image = XGetImage(display, window, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return std::nullopt;
    std::optional<ScreenPicture> picture;
    // Read as 8 bits a channel, red highest, as on the tests' own 24-bit true-colour screen.
    if (image->red_mask == 0xff0000 && image->green_mask == 0xff00 && image->blue_mask == 0xff) {
        picture = ScreenPicture{image->width, image->height, {}};
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x)
                picture->pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xffffff));
    }
    XDestroyImage(image);
    return picture;
}

void XDisplay::movePointer(int x, int y)
{
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

void XDisplay::setButton(unsigned int button, bool pressed)
{
    XTestFakeButtonEvent(display, button, pressed ? True : False, CurrentTime);
    XSync(display, False);
}

}  // namespace probe::testing
