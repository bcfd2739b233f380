// Widgets made by name in a frame playing scripted mouse gestures, a log of what they tell, film strips.
#pragma once

#include "controls/Button.h"
#include "controls/DropDown2.h"
#include "controls/Fader2.h"
#include "controls/HSlider.h"
#include "controls/Keyboard.h"
#include "controls/Knob.h"
#include "controls/Knob2.h"
#include "controls/LeftLabel.h"
#include "controls/Menu.h"
#include "controls/MiniSlider.h"
#include "controls/PushButton.h"
#include "controls/SimpleDisplay.h"
#include "controls/SpinBox.h"
#include "controls/SpinBox2.h"
#include "controls/Switch.h"
#include "controls/Switch2.h"
#include "controls/VSlider.h"
#include "editor/Vextoria3Editor.h"
#include "offscreen.h"
#include "toolkit/toolkit_test_support.h"
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <iomanip>
#include <optional>
#include <sstream>

namespace WidgetTest {

using namespace VSTGUI;

// A number as the log writes it: four significant digits.
inline std::string shortNumber(double value)
{
    std::ostringstream text;
    text << std::setprecision(4) << value;
    return text.str();
}

// Everything told, in order, as words: "begin", each value ("0.25"), "end", the owner's calls.
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
    void onChange(MiniSlider*) { log.note("owner changed"); }
    void processContextMenu(Menu* menu) override { log.note("owner chose " + std::to_string(menu->hoveredItem)); }
    void keyboardMidi(int status, int note, int velocity) override
    {
        log.note(status == Keyboard::kNoteOn ? "on " + std::to_string(note) + " v" + std::to_string(velocity)
                                             : "off " + std::to_string(note));
    }
};

const CColor kNormal = kRedCColor;
const CColor kHover = kGreenCColor;
const CColor kPressed = kBlueCColor;
const CColor kActive = kWhiteCColor;

// The colour that marks frame `index` of a numbered strip: red counts the frames.
inline CColor frameColour(int index) { return CColor(uint8_t(index), uint8_t(255 - index), 60, 255); }
// The frame index a rendered pixel shows, or -1 when it is no frame colour.
inline int frameIndexOf(const CColor& pixel) { return ToolkitTest::near(pixel, frameColour(pixel.red), 2) ? pixel.red : -1; }

// Loads a new picture of `bands` bands of `bandHeight` rows, band i in frameColour(i / bandsPerFrame).
inline CBitmap* numberedStrip(const ToolkitTest::ResourceFolder& folder, const std::string& name, int width,
                              int bandHeight, int bands, int bandsPerFrame = 1)
{
    std::vector<CColor> colours;
    for (int i = 0; i < bands; ++i)
        colours.push_back(frameColour(i / bandsPerFrame));
    folder.writeBands(name, width, bandHeight * bands, colours);
    return new CBitmap(CResourceDescription(name.c_str()));
}

// The value a control or a push button (a plain view) holds or is given.
inline float valueOf(CView* view)
{
    auto* push = dynamic_cast<PushButton*>(view);
    return push ? push->value : dynamic_cast<CControl&>(*view).getValue();
}
inline void setValueOf(CView* view, float value)
{
    if (auto* push = dynamic_cast<PushButton*>(view))
        return push->setValue(value);
    dynamic_cast<CControl&>(*view).setValue(value);
}

// A frame of 400 x 300 pixels with a manual clock and its own resource folder.
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

    // Adds a widget of `kind` where the comments say, or with its top left corner at `at`.
    CView* make(const std::string& kind, std::optional<CPoint> at = {})
    {
        auto has = [&kind](const char* word) { return kind.find(word) != std::string::npos; };
        auto box = [&at](CRect home) { return at ? home.moveTo(*at) : home; };
        auto load = [this](const std::string& name) {
            return hold(new CBitmap(CResourceDescription((brokenPicture.empty() ? name : brokenPicture).c_str())));
        };
        auto strip = [&](int width, int frameHeight, int frames) {
            const std::string name = "strip" + std::to_string(held.size()) + ".png";
            numberedStrip(folder, name, width, frameHeight, frames)->forget();
            return load(name);
        };
        auto picture = [&](int width, int height, CColor colour) {
            const std::string name = "picture" + std::to_string(held.size()) + ".png";
            folder.writeBands(name, width, height, {colour});
            return load(name);
        };
        auto givePictures = [&](auto& button) {
            button.setNormalPix(picture(40, 20, kNormal));
            button.setHoverPix(picture(40, 20, kHover));
            button.setPressedPix(picture(40, 20, kPressed));
            button.setActivePix(picture(40, 20, kActive));
        };
        int first = 0, last = 0;

        if (kind == "knob") // 20 x 20 at (0, 0), a strip of 127 frames
            return add(new Knob(box({0, 0, 20, 20}), &log, 1, strip(20, 20, 127), 127));
        if (has("vector knob")) // 100 x 100 at (0, 0)
            return add(new Knob2(box({0, 0, 100, 100}), &log, 2, nullptr), [](Knob2& knob) { knob.unit = "%"; });
        if (kind == "fader") // 20 x 200 at (10, 50), a strip of 100 frames, a band of 32 pixels
            return add(new Fader2(box({10, 50, 30, 250}), &log, 7, nullptr), [&](Fader2& fader) {
                fader.setFaderPix(strip(20, 200, 100), 100);
                fader.style = Fader2::kVertical;
            });
        if (kind == "handle fader") // 110 x 20 at (0, 0), a red handle 10 pixels wide
            return add(new Fader2(box({0, 0, 110, 20}), &log, 8, nullptr),
                       [&](Fader2& fader) { fader.setHandle(picture(10, 20, kRedCColor)); });
        if (has("bar slider")) // 100 x 20 at (100, 10) growing to the right
            return add(new VSlider(box({100, 10, 200, 30}), &log, 7), [&](VSlider& slider) {
                slider.orientation = 1;
                slider.unit = "%";
            });
        if (has("mini slider")) // 106 x 10 at (100, 10), a handle 6 pixels wide, the owner told
            return add(new MiniSlider(box({100, 10, 206, 20}), &owner, 33), [&](MiniSlider& slider) {
                slider.changeCallback = static_cast<MiniSlider::ChangeCallback>(&EditorSpy::onChange);
            });
        if (kind == "picture slider") // 110 x 20 at (100, 10), a blue handle 10 pixels wide
            return add(new HSlider(box({100, 10, 210, 30}), &log, 1),
                       [&](HSlider& slider) { slider.setHandle(picture(10, 20, kBlueCColor)); });

        // Buttons: 40 x 20 at (10, 10) with a picture of each colour, or a strip of 3 frames.
        const CRect buttonBox = box({10, 10, 50, 30});
        if (has("frame toggle"))
            return add(new Button(buttonBox, &log, 3), [&](Button& button) {
                button.setButtonPix(strip(40, 20, 3), 3);
                button.toggle = true;
                button.text = "CAPTION";
                button.textColor = kBlackCColor;
            });
        if (has("button") && !has("push")) // a picture button, a toggle unless "momentary", tag 3
            return add(new Button(buttonBox, &log, 3), [&](Button& button) {
                givePictures(button);
                button.toggle = !has("momentary");
            });
        if (has("push button")) // calls its owner back, tag 3
            return add(new PushButton(buttonBox, &owner, 3), [&](PushButton& button) {
                button.valueChangedCallback = static_cast<PushButton::ValueChangedCallback>(&EditorSpy::onValue);
                button.pressedCallback = static_cast<PushButton::PressedCallback>(&EditorSpy::onPressed);
                givePictures(button);
                button.toggle = has("toggle");
                button.disabled = has("disabled");
                button.slideMode = has("slide");
            });

        if (kind == "horizontal switch") // 90 x 20 at (100, 10), three positions
            return add(new Switch2(box({100, 10, 190, 30}), &log, 32, 3, Switch2::kHorizontal));
        if (kind == "strip switch") // 30 x 40 at (0, 0), two positions shown by a strip
            return add(new Switch2(box({0, 0, 30, 40}), &log, 14, 2, Switch2::kVertical),
                       [&](Switch2& control) { control.setStrip(strip(30, 40, 2)); });
        if (has("handle switch")) // 20 x 30 at (10, 10), three positions, a blue handle 10 high
            return add(new Switch(box({10, 10, 30, 40}), &log, 4, nullptr, picture(20, 10, kBlueCColor), 3));
        if (kind == "arrow spin box") // 50 x 20 at (10, 10), 0..12; arrows 20 x 20 at (70, 10) and (100, 10)
            return add(new SpinBox2(CRect(10, 10, 60, 30), &log, 9, nullptr), [&](SpinBox2& spin) {
                spin.maximum = 12;
                for (int32 arrowTag : {SpinBox2::kDownArrowTag, SpinBox2::kUpArrowTag})
                    add(new Button(CRect(70 + 30 * arrowTag, 10, 90 + 30 * arrowTag, 30), &spin, arrowTag));
            });
        if (has("strip spin box")) // 40 x 20 at (0, 0), 0..12 or "from" another minimum, a frame per number
        {
            std::sscanf(kind.c_str() + kind.find("box"), "box from %d", &first);
            return add(new SpinBox2(box({0, 0, 40, 20}), &log, 9, strip(40, 20, std::max(13 - first, 1))),
                       [&](SpinBox2& spin) {
                           spin.minimum = first;
                           spin.maximum = 12;
                           spin.textMode = has("text");
                           spin.fontColor = kRedCColor;
                       });
        }
        if (has("spin box")) // 50 x 30 at (10, 10), 0..10 or as the kind says: "spin box -5..20"
        {
            std::sscanf(kind.c_str(), "spin box %d..%d", &first, &last);
            return add(new SpinBox(box({10, 10, 60, 40}), &log, 2, nullptr), [&](SpinBox& spin) {
                spin.setMinimum(first);
                spin.setMaximum(last > first ? last : 10);
                spin.enabled = !has("disabled");
            });
        }

        if (has("list")) // 100 x 20 at (10, 10), rows of 20 pixels, items "Item i" with ids 100 + i
            return add(new DropDown2(box({10, 10, 110, 30}), &log, 5), [&](DropDown2& list) {
                for (int i = 0; i < (std::sscanf(kind.c_str(), "%d-item", &last) == 1 ? last : 4); ++i)
                    list.addItem("Item " + std::to_string(i), 100 + i);
            });
        folder.writeBands("checkmark.png", 12, 12, {kGreenCColor}); // the menu's, and the keyboard's keys
        folder.writeBands("white.png", 10, 80, {kWhiteCColor, kRedCColor});
        folder.writeBands("black.png", 6, 50, {kBlackCColor, kBlueCColor});
        if (kind == "menu") // 100 x 80 at (100, 50), rows of 20 pixels
            return add(new Menu(box({100, 50, 200, 130}), &owner), [](Menu& menu) {
                for (const char* name : {"Lines", "Dots", "Bars"})
                    menu.addItem(name);
            });
        if (has("keyboard")) // 350 x 40 at (0, 0): white keys 10 x 40 (white, red when down), black 6 x 25 (black, blue)
            return add(new Keyboard(box({0, 0, 350, 40}), &log, 0, &owner, load("white.png"), load("black.png")),
                       [&](Keyboard& keyboard) { keyboard.baseNote = has("high") ? 120 : keyboard.baseNote; });
        if (has("label")) // 60 x 20 at (0, 0), green
            return add(new LeftLabel(box({0, 0, 60, 20}), ""), [](LeftLabel& label) { label.fillColor = kGreenCColor; });
        // "display: TEXT" shows TEXT, 200 x 40 at (0, 0); "red display: TEXT" in bold red at alpha 0.8
        EXPECT_TRUE(has("display:")) << "unknown kind " << kind;
        return add(new SimpleDisplay(box({0, 0, 200, 40}), nullptr), [&](SimpleDisplay& display) {
            display.setText(kind.substr(std::min(kind.find(':') + 2, kind.size())));
            if (!has("red"))
                return;
            display.textColor = kRedCColor;
            display.font = hold(new CFontDesc("Tahoma", 20, kBoldFace));
            display.setAlphaValue(0.8f);
        });
    }

    // Plays ';'-separated steps (press, move, release, click, drag, wheel, wait, zoom, value, draw, ...).
    void play(CView* view, const std::string& script)
    {
        std::istringstream steps(script);
        for (std::string step; std::getline(steps, step, ';');)
        {
            std::istringstream words(step);
            std::string verb, word;
            words >> verb;
            std::vector<double> n;
            int32 buttons = kLButton, modifiers = 0;
            bool sideways = false, soon = false;
            while (verb != "say" && words >> word)
            {
                char* end = nullptr;
                const double number = std::strtod(word.c_str(), &end);
                if (*end == 0)
                    n.push_back(number);
                else if (word == "sideways" || word == "soon")
                    (word == "soon" ? soon : sideways) = true;
                else if (word == "ctrl" || word == "shift" || word == "double")
                    modifiers |= word == "ctrl" ? kControl : word == "shift" ? kShift : kDoubleClick;
                else if (word == "none" || word == "right" || word == "middle" || word == "both")
                    buttons = word == "none" ? 0 : word == "right" ? kRButton : word == "middle" ? kMButton : kLButton | kRButton;
                else
                    ADD_FAILURE() << "unknown word " << word;
            }
            const int32 state = buttons | modifiers;
            auto press = [&](CCoord x, CCoord y, int32 pressed) {
                runLoop.advance(soon ? 400 : 1000);
                if (frame->platformOnMouseDown(CPoint(x, y), CButtonState(pressed)) == kMouseEventNotHandled)
                    log.note("declined");
            };
            auto release = [&](CCoord x, CCoord y, int32 released) {
                frame->platformOnMouseUp(CPoint(x, y), CButtonState(released));
            };
            if (verb == "press" || verb == "click")
                press(n.at(0), n.at(1), state);
            if (verb == "release" || verb == "click")
                release(n.at(0), n.at(1), state);
            else if (verb == "move")
                frame->platformOnMouseMoved(CPoint(n.at(0), n.at(1)), CButtonState(state));
            else if (verb == "drag")
            {
                press(n.at(0), n.at(1), state & ~kShift);
                const CCoord direction = n.at(2) > n.at(1) ? 1 : -1;
                for (CCoord y = n.at(1) + direction; y * direction <= n.at(2) * direction; y += direction)
                    frame->platformOnMouseMoved(CPoint(n.at(0), y), CButtonState(state));
                release(n.at(0), n.at(2), state & ~kShift);
            }
            else if (verb == "wheel")
                frame->platformOnMouseWheel(CPoint(n.at(0), n.at(1)), sideways ? kMouseWheelAxisX : kMouseWheelAxisY,
                                            float(n.at(2)), CButtonState());
            else if (verb == "wait")
                runLoop.advance(uint64_t(n.at(0)));
            else if (verb == "cancel")
                frame->platformOnMouseCancel();
            else if (verb == "zoom")
                frame->setZoom(n.at(0));
            else if (verb == "set")
                setValueOf(view, float(n.at(0)));
            else if (verb == "default")
                dynamic_cast<CControl&>(*view).setDefaultValue(float(n.at(0)));
            else if (verb == "say" && words >> word)
                log.note(word);
            else if (verb == "value")
                log.note("=" + shortNumber(valueOf(view)));
            else if (verb == "seen")
                log.note(view->isVisible() ? "shown" : "hidden");
            else if (verb == "draw")
                renderView(*view);
            else if (verb == "shows")
                log.note(shown(*view));
            else if (verb == "look" && !frame->takeDirtyRect().isEmpty())
                log.note("redraw");
            else if (verb != "press" && verb != "look")
                ADD_FAILURE() << "unknown step " << step;
        }
    }

    // What the middle of `view` shows, the same at zoom 1 and 2 ("?" when they differ).
    static std::string shown(CView& view)
    {
        const CRect& size = view.getViewSize();
        const CColor atOne = renderView(view).getPixel(int(size.getWidth() / 2), int(size.getHeight() / 2));
        const CColor atTwo = renderView(view, 2).getPixel(int(size.getWidth()), int(size.getHeight()));
        std::string name = frameIndexOf(atOne) >= 0 ? "frame " + std::to_string(frameIndexOf(atOne)) : "?";
        for (const auto& [colour, colourName] : {std::pair{kNormal, "normal"}, {kHover, "hover"}, {kPressed, "pressed"},
                                                 {kActive, "active"}, {CColor(0, 0, 0, 0), "nothing"}})
            name = atOne == colour ? colourName : name;
        return atOne == atTwo ? name : "?";
    }
};

// A widget of `kind` told `script`: the story ("..." first: its end only) and the end value (NaN: unchecked).
struct Case
{
    const char* kind;
    const char* script;
    std::string story;
    float value = std::nanf("");
};

inline void playCases(const std::vector<Case>& cases)
{
    for (const Case& each : cases)
    {
        SCOPED_TRACE(std::string(each.kind) + ": " + each.script);
        Scene scene;
        CView* view = scene.make(each.kind);
        scene.play(view, each.script);
        const std::string told = scene.log.told(), ending = each.story.starts_with("...") ? each.story.substr(3) : "";
        EXPECT_TRUE(ending.empty() ? told == each.story : told.ends_with(ending)) << told << "\nnot: " << each.story;
        if (!std::isnan(each.value))
            EXPECT_NEAR(valueOf(view), each.value, 1e-6);
    }
}

using ToolkitTest::Ink, ToolkitTest::inkWhere;
inline bool opaque(const CColor& pixel) { return pixel.alpha != 0; }
inline bool blank(const OffscreenImage& image) { return inkWhere(image, opaque).count == 0; }

} // namespace WidgetTest
