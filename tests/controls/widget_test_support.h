// Shared helpers of the widget tests: a listener that logs what a widget reports, a frame
// that takes synthetic mouse and wheel events, numbered film strips and pixel counts.
#pragma once

#include "offscreen.h"
#include "toolkit/toolkit_test_support.h"
#include <algorithm>
#include <string>
#include <vector>

namespace WidgetTest {

using namespace VSTGUI;

// Logs values, begin/end edit and the editor's side of the bracket, in order.
struct ListenerLog : IControlListener, VSTGUIEditorInterface
{
    std::vector<float> values;      // every valueChanged, in order
    std::vector<std::string> calls; // "begin", "value", "end"
    void valueChanged(CControl* control) override
    {
        values.push_back(control->getValue());
        calls.push_back("value");
    }
    void controlBeginEdit(CControl*) override { calls.push_back("begin"); }
    void controlEndEdit(CControl*) override { calls.push_back("end"); }
    void beginEdit(int32) override {}
    void endEdit(int32) override {}
    void clear()
    {
        values.clear();
        calls.clear();
    }
    bool logged(const char* call = "begin") const { return std::count(calls.begin(), calls.end(), call) > 0; }
};

// Removes the control that reports, as an owner that rebuilds its views would.
struct RemovingListener : IControlListener
{
    CFrame* frame = nullptr;
    std::vector<float> values;
    void valueChanged(CControl* control) override
    {
        values.push_back(control->getValue());
        frame->removeView(control); // frees it
    }
};

// A frame of 400 x 300 pixels with a manual clock; events are given in window pixels.
struct Scene
{
    ScopedManualRunLoop runLoop;
    ListenerLog log;
    CFrame* frame = new CFrame(CRect(0, 0, 400, 300), &log);

    Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    ~Scene() { frame->forget(); }

    template <typename Widget>
    Widget* add(Widget* widget)
    {
        frame->addView(widget);
        return widget;
    }
    // Each press comes a second after anything before it, so no two presses make a double
    // click unless the test says so.
    CMouseEventResult press(CCoord x, CCoord y, int32 state = kLButton)
    {
        runLoop.advance(1000);
        return frame->platformOnMouseDown(CPoint(x, y), CButtonState(state));
    }
    CMouseEventResult move(CCoord x, CCoord y, int32 state = kLButton)
    {
        return frame->platformOnMouseMoved(CPoint(x, y), CButtonState(state));
    }
    CMouseEventResult release(CCoord x, CCoord y, int32 state = kLButton)
    {
        return frame->platformOnMouseUp(CPoint(x, y), CButtonState(state));
    }
    void click(CCoord x, CCoord y, int32 state = kLButton)
    {
        press(x, y, state);
        release(x, y, state);
    }
    // A vertical drag in one-pixel moves, then the release.
    void drag(CCoord x, CCoord fromY, CCoord toY, int32 state = kLButton)
    {
        press(x, fromY, state & ~kShift);
        const CCoord direction = toY > fromY ? 1 : -1;
        for (CCoord y = fromY + direction; direction > 0 ? y <= toY : y >= toY; y += direction)
            move(x, y, state);
        release(x, toY, state & ~kShift);
    }
    bool wheel(CCoord x, CCoord y, float distance, CMouseWheelAxis axis = kMouseWheelAxisY)
    {
        return frame->platformOnMouseWheel(CPoint(x, y), axis, distance, CButtonState());
    }
};

// The colour that marks frame `index` of a numbered strip: red counts the frames.
inline CColor frameColour(int index) { return CColor(uint8_t(index), uint8_t(255 - index), 60, 255); }

// Writes a strip of `frames` frames of `width` x `frameHeight`, each filled with its colour,
// and loads it; the caller owns the reference.
inline CBitmap* numberedStrip(const ToolkitTest::ResourceFolder& folder, const std::string& name, int width,
                              int frameHeight, int frames)
{
    std::vector<CColor> colours;
    for (int i = 0; i < frames; ++i)
        colours.push_back(frameColour(i));
    folder.writeBands(name, width, frameHeight * frames, colours);
    return new CBitmap(CResourceDescription(name.c_str()));
}

// Writes a picture of one colour and loads it; the caller owns the reference.
inline CBitmap* solidPicture(const ToolkitTest::ResourceFolder& folder, const std::string& name, int width, int height,
                             CColor colour)
{
    folder.writeBands(name, width, height, {colour});
    return new CBitmap(CResourceDescription(name.c_str()));
}

// The colours of a button's normal, hover, pressed and active pictures.
const CColor kNormal = kRedCColor;
const CColor kHover = kGreenCColor;
const CColor kPressed = kBlueCColor;
const CColor kActive = kWhiteCColor;

// Gives a picture button its pictures of `width` x `height`, each of one colour; the button
// keeps its own references.
template <typename Button>
void givePictures(const ToolkitTest::ResourceFolder& folder, Button& button, int width, int height,
                  bool withActive = true)
{
    auto give = [&](void (Button::*setter)(CBitmap*), const char* name, CColor colour) {
        CBitmap* bitmap = solidPicture(folder, name, width, height, colour);
        (button.*setter)(bitmap);
        bitmap->forget();
    };
    give(&Button::setNormalPix, "normal.png", kNormal);
    give(&Button::setHoverPix, "hover.png", kHover);
    give(&Button::setPressedPix, "pressed.png", kPressed);
    if (withActive)
        give(&Button::setActivePix, "active.png", kActive);
}

// The first and last columns holding a pixel that passes the test, and how many pass;
// {width, -1, 0} when none does.
struct Ink
{
    int first, last, count;
};
template <typename Test>
Ink inkWhere(const OffscreenImage& image, Test test)
{
    Ink ink{image.getWidth(), -1, 0};
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (test(image.getPixel(x, y)))
            {
                ink = {std::min(ink.first, x), std::max(ink.last, x), ink.count + 1};
            }
    return ink;
}

inline bool blank(const OffscreenImage& image)
{
    return inkWhere(image, [](const CColor& pixel) { return pixel.alpha != 0; }).count == 0;
}

// The frame index a rendered pixel shows, or -1 when it is no frame colour.
inline int frameIndexOf(const CColor& pixel)
{
    return ToolkitTest::near(pixel, frameColour(pixel.red), 2) ? pixel.red : -1;
}

} // namespace WidgetTest
