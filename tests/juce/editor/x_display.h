#pragma once
// The test's own connection to the X server: window geometry, screenshots and a pointer driven
// through the XTest extension, as a user's mouse would drive it. Message thread only.

#include "editor/screen_picture.h"

#include <optional>
#include <vector>

// Xlib's headers stay in the source: their macros (None, Bool, Status) clash with JUCE's and gtest's.
struct _XDisplay;

namespace probe::testing {

using XWindowId = unsigned long;

struct WindowBox {
    int x = 0, y = 0;           // top-left corner on the screen, pixels
    int width = 0, height = 0;  // pixels
};

class XDisplay {
public:
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // False without a display or without the XTest extension.
    bool usable() const { return display != nullptr && hasXTest; }

    std::vector<XWindowId> children(XWindowId parent) const;
    // Where the window lies on the screen; nothing once it is gone.
    std::optional<WindowBox> box(XWindowId window) const;
    // The window's pixels as the server holds them, as far as they lie on the screen; nothing
    // once it is gone or unmapped. The window must not be covered by another.
    std::optional<ScreenPicture> capture(XWindowId window) const;

    // The pointer, in screen pixels; every call reaches the server before it returns.
    void movePointer(int x, int y);
    void pressButton(unsigned int button);
    void releaseButton(unsigned int button);

    static constexpr unsigned int leftButton = 1;
    static constexpr unsigned int rightButton = 3;

private:
    _XDisplay* display = nullptr;
    bool hasXTest = false;
};

}  // namespace probe::testing
