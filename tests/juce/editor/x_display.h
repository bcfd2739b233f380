#pragma once
// The test's own connection to the X server: window geometry, screenshots, and a pointer driven
// through the XTest extension as a user's mouse drives it. Message thread only.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

// Xlib's headers stay in the source: their macros (None, Bool, Status) clash with JUCE's and gtest's.
struct _XDisplay;

namespace probe::testing {

using XWindowId = unsigned long;

struct PixelArea {
    int left, top, right, bottom;  // pixels, right and bottom excluded
};

// A window's pixels as 0xRRGGBB, row by row.
struct ScreenPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    size_t colourCount() const { return std::unordered_set<uint32_t>(pixels.begin(), pixels.end()).size(); }
    double meanBrightness() const  // of (R + G + B) / 3, 0..255
    {
        double sum = 0.0;
        for (const uint32_t rgb : pixels)
            sum += ((rgb >> 16) & 0xff) + ((rgb >> 8) & 0xff) + (rgb & 0xff);
        return pixels.empty() ? 0.0 : sum / (3.0 * static_cast<double>(pixels.size()));
    }
    // Share of the area's pixels that differ from other's, 0..1 (1 when the sizes differ).
    double changedShare(const ScreenPicture& other, PixelArea area) const
    {
        if (other.width != width || other.height != height)
            return 1.0;
        size_t changed = 0, count = 0;
        for (int y = std::max(area.top, 0); y < std::min(area.bottom, height); ++y)
            for (int x = std::max(area.left, 0); x < std::min(area.right, width); ++x, ++count)
                changed += pixels[size_t(y * width + x)] != other.pixels[size_t(y * width + x)] ? 1 : 0;
        return count == 0 ? 0.0 : static_cast<double>(changed) / static_cast<double>(count);
    }
};

struct WindowBox {
    int x = 0, y = 0, width = 0, height = 0;  // on the screen, pixels
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
    std::optional<WindowBox> box(XWindowId window) const;  // nothing once it is gone
    // The part on the screen; nothing once the window is gone or unmapped. It must not be covered.
    std::optional<ScreenPicture> capture(XWindowId window) const;
    // Every call reaches the server before it returns.
    void movePointer(int x, int y);
    void setButton(unsigned int button, bool pressed);

    static constexpr unsigned int leftButton = 1, rightButton = 3;

private:
    _XDisplay* display = nullptr;
    bool hasXTest = false;
};

}  // namespace probe::testing
