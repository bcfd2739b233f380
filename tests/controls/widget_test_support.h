// Shared helpers of the widget tests: every widget kind the tests use, made by name in a frame
// that plays scripted mouse gestures; a log of what widgets and their owner are told;
// numbered film strips and pixel counts.
#pragma once

#include "controls/KeyboardListener.h"
#include "editor/Vextoria3Editor.h"
#include "offscreen.h"
#include "toolkit/toolkit_test_support.h"
#include <cmath>
#include <optional>
#include <string>
#include <vector>

class MiniSlider;

namespace WidgetTest {

using namespace VSTGUI;

// A number as the log writes it: four significant digits.
std::string shortNumber(double value);

// Everything told, in order, as words: "begin", each value reported ("0.25"), "end"; the
// owner's callbacks add theirs. told() hands the story over and starts a new one.
struct ListenerLog : IControlListener, VSTGUIEditorInterface
{
    std::string story;
    void note(const std::string& word) { story += (story.empty() ? "" : " ") + word; }
    std::string told() { return std::exchange(story, {}); }
    void valueChanged(CControl* control) override { note(shortNumber(control->getValue())); }
    void controlBeginEdit(CControl*) override { note("begin"); }
    void controlEndEdit(CControl*) override { note("end"); }
    void beginEdit(int32) override {}
    void endEdit(int32) override {}
};

// The editor as the widgets' owner and the keyboard's note listener, telling the same log.
struct EditorSpy : Vextoria3Editor, KeyboardListener
{
    explicit EditorSpy(ListenerLog& log) : Vextoria3Editor(nullptr, nullptr), log(log) {}
    ListenerLog& log;
    void valueChanged(CControl* control) override { log.valueChanged(control); }
    void controlBeginEdit(CControl* control) override { log.controlBeginEdit(control); }
    void controlEndEdit(CControl* control) override { log.controlEndEdit(control); }
    void onValue(int tag, float value) { log.note("owner " + std::to_string(tag) + "=" + shortNumber(value)); }
    void onPressed() { log.note("owner pressed"); }
    void onRightClick(int tag, CPoint& where) { log.note("owner right " + std::to_string(tag) + " at " + shortNumber(where.x)); }
    void onRelease() { log.note("owner released"); }
    void onChange(MiniSlider*) { log.note("owner changed"); }
    void processContextMenu(Menu* menu) override;
    void keyboardMidi(int status, int note, int velocity) override;
};

// Removes the control that reports, as an owner that rebuilds its views would.
struct RemovingListener : IControlListener
{
    CFrame* frame = nullptr;
    int reports = 0;
    void valueChanged(CControl* control) override
    {
        ++reports;
        frame->removeView(control); // frees it
    }
};

// The colours of a picture button's normal, hover, pressed and active pictures.
const CColor kNormal = kRedCColor;
const CColor kHover = kGreenCColor;
const CColor kPressed = kBlueCColor;
const CColor kActive = kWhiteCColor;

// A frame of 400 x 300 pixels with a manual clock and its own resource folder; events are
// given in window pixels.
struct Scene
{
    ToolkitTest::ResourceFolder folder;
    ScopedManualRunLoop runLoop;
    ListenerLog log;
    EditorSpy owner{log};
    CFrame* frame = new CFrame(CRect(0, 0, 400, 300), &log);
    std::vector<SharedPointer<CBaseObject>> held; // pictures and fonts the widgets share
    std::string brokenPicture;                    // when set, every widget's picture is this file

    ~Scene() { frame->forget(); }

    // Adds a widget of `kind` where the cases aim at it, or with its top left corner at `at`
    // (see widget_test_support.cpp for the kinds).
    CView* make(const std::string& kind, std::optional<CPoint> at = {});
    // Adds `widget` to the frame, after `setUp` configured it.
    template <typename Widget, typename SetUp = void (*)(Widget&)>
    Widget* add(Widget* widget, SetUp setUp = [](Widget&) {})
    {
        setUp(*widget);
        frame->addView(widget);
        return widget;
    }
    template <typename Object>
    Object* hold(Object* object)
    {
        held.push_back(SharedPointer<CBaseObject>::adopt(object));
        return object;
    }
    // Each press comes a second after anything before it, so no two presses make a double
    // click unless the script says so.
    CMouseEventResult press(CCoord x, CCoord y, int32 state = kLButton)
    {
        runLoop.advance(1000);
        return frame->platformOnMouseDown(CPoint(x, y), CButtonState(state));
    }

    // Plays a script of steps separated by ';', each a verb, its numbers and button words:
    //   press, move, release, click x y   with the left button unless told: none, right, middle,
    //                                     both (left and right), ctrl, shift, double; a press
    //                                     the widgets decline notes "declined"
    //   drag x fromY toY                  one-pixel moves between a press and a release
    //   wheel x y distance [sideways]     wait ms     cancel (the press is taken away)
    //   zoom factor                       the frame's zoom; events stay in window pixels
    //   set value, default value          pushed into the control by its owner
    //   value, seen                       notes "=" and its value; "shown" or "hidden"
    //   draw                              renders the view, as a redraw would
    //   shows                             notes what its middle shows at zoom 1 and 2 alike:
    //                                     "frame N", normal, hover, pressed, active, nothing, ?
    //   look                              notes "redraw" when anything waits to be redrawn
    //   say word                          notes the word, to mark a moment in the story
    void play(CView* view, const std::string& script);
};

// One scripted case: what a widget of `kind` is told, the story then told and the value it
// ends at (NaN: not checked). A story starting with "..." is checked at its end only.
struct Case
{
    const char* kind;
    const char* script;
    std::string story;
    float value = std::nanf("");
};

// The value a control or a push button holds, and one pushed in by the owner.
float valueOf(CView* view);
void setValueOf(CView* view, float value);

// Plays each case in a new scene on a new widget of its kind.
void playCases(const std::vector<Case>& cases);

// The colour that marks frame `index` of a numbered strip: red counts the frames.
inline CColor frameColour(int index) { return CColor(uint8_t(index), uint8_t(255 - index), 60, 255); }

// Writes a picture of `width` x `bandHeight * bands` in bands of `bandHeight` rows, band i
// filled with frameColour(i / bandsPerFrame), and loads it; the caller owns the reference.
CBitmap* numberedStrip(const ToolkitTest::ResourceFolder& folder, const std::string& name, int width,
                       int bandHeight, int bands, int bandsPerFrame = 1);

// The first and last columns of `area` (device pixels; the whole image when empty) holding a
// pixel that passes the test, and how many pass; {width, -1, 0} when none does.
struct Ink
{
    int first, last, count;
};
template <typename Test>
Ink inkWhere(const OffscreenImage& image, Test test, CRect area = {})
{
    if (area.isEmpty())
        area = CRect(0, 0, image.getWidth(), image.getHeight());
    Ink ink{image.getWidth(), -1, 0};
    for (int y = int(area.top); y < int(area.bottom); ++y)
        for (int x = int(area.left); x < int(area.right); ++x)
            if (test(image.getPixel(x, y)))
                ink = {std::min(ink.first, x), std::max(ink.last, x), ink.count + 1};
    return ink;
}

inline bool opaque(const CColor& pixel) { return pixel.alpha != 0; }
inline bool blank(const OffscreenImage& image) { return inkWhere(image, opaque).count == 0; }

// The frame index a rendered pixel shows, or -1 when it is no frame colour.
inline int frameIndexOf(const CColor& pixel)
{
    return ToolkitTest::near(pixel, frameColour(pixel.red), 2) ? pixel.red : -1;
}

} // namespace WidgetTest
