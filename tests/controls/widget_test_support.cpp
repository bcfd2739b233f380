// Every widget kind the tests use, where the cases aim at it, and the script player.
#include "widget_test_support.h"
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
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <optional>

namespace WidgetTest {

std::string shortNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

void EditorSpy::processContextMenu(Menu* menu) { log.note("owner chose " + std::to_string(menu->hoveredItem)); }

void EditorSpy::keyboardMidi(int status, int note, int velocity)
{
    log.note((status == Keyboard::kNoteOn ? "on " : "off ") + std::to_string(note) +
             (status == Keyboard::kNoteOn ? " v" + std::to_string(velocity) : ""));
}

CBitmap* numberedStrip(const ToolkitTest::ResourceFolder& folder, const std::string& name, int width,
                       int bandHeight, int bands, int bandsPerFrame)
{
    std::vector<CColor> colours;
    for (int i = 0; i < bands; ++i)
        colours.push_back(frameColour(i / bandsPerFrame));
    folder.writeBands(name, width, bandHeight * bands, colours);
    return new CBitmap(CResourceDescription(name.c_str()));
}

float valueOf(CView* view)
{
    auto* push = dynamic_cast<PushButton*>(view);
    return push ? push->value : dynamic_cast<CControl&>(*view).getValue();
}

void setValueOf(CView* view, float value)
{
    if (auto* push = dynamic_cast<PushButton*>(view))
        push->setValue(value);
    else
        dynamic_cast<CControl&>(*view).setValue(value);
}

CView* Scene::make(const std::string& kind, std::optional<CPoint> at)
{
    auto has = [&kind](const char* word) { return kind.find(word) != std::string::npos; };
    auto box = [&at](CRect home) { return at ? home.moveTo(*at) : home; };
    // Pictures written on the fly, or the broken one when the scene says so.
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
    int first = 0, last = 0;

    // Dials
    if (kind == "knob") // 20 x 20 at (0, 0), a strip of 127 frames
        return add(new Knob(box({0, 0, 20, 20}), &log, 1, strip(20, 20, 127), 127));
    if (has("vector knob")) // 100 x 100 at (0, 0)
        return add(new Knob2(box({0, 0, 100, 100}), &log, 2, nullptr), [&](Knob2& knob) {
            knob.unit = "%";
            knob.setAccelerator(has("slow") ? 256 : 128);
        });
    if (kind == "fader") // 20 x 200 at (10, 50), a strip of 100 frames, a band of 32 pixels
        return add(new Fader2(box({10, 50, 30, 250}), &log, 7, nullptr), [&](Fader2& fader) {
            fader.setFaderPix(strip(20, 200, 100), 100);
            fader.style = Fader2::kVertical;
        });
    if (kind == "handle fader") // 110 x 20 at (0, 0), a red handle 10 pixels wide
        return add(new Fader2(box({0, 0, 110, 20}), &log, 8, nullptr),
                   [&](Fader2& fader) { fader.setHandle(picture(10, 20, kRedCColor)); });
    if (has("bar slider")) // 100 x 20 at (100, 10) growing to the right, or 20 x 100 at (10, 100) rising
        return add(new VSlider(box(has("rising") ? CRect(10, 100, 30, 200) : CRect(100, 10, 200, 30)), &log, 7),
                   [&](VSlider& slider) {
                       slider.orientation = has("rising") ? 0 : 1;
                       slider.unit = "%";
                   });
    if (has("mini slider")) // 106 x 10 at (100, 10), a handle 6 pixels wide, the owner told
        return add(new MiniSlider(box({100, 10, 206, 20}), &owner, 33), [&](MiniSlider& slider) {
            slider.changeCallback = static_cast<MiniSlider::ChangeCallback>(&EditorSpy::onChange);
            slider.handleColor = has("black") ? kBlackCColor : slider.handleColor;
        });
    if (kind == "picture slider") // 110 x 20 at (100, 10), a blue handle 10 pixels wide
        return add(new HSlider(box({100, 10, 210, 30}), &log, 1),
                   [&](HSlider& slider) { slider.setHandle(picture(10, 20, kBlueCColor)); });

    // Buttons: 40 x 20 at (10, 10), with a picture of each colour or a strip of 2 or 3 frames
    auto givePictures = [&](auto& button, bool withActive) {
        button.setNormalPix(picture(40, 20, kNormal));
        button.setHoverPix(picture(40, 20, kHover));
        button.setPressedPix(picture(40, 20, kPressed));
        button.setActivePix(withActive ? picture(40, 20, kActive) : nullptr);
    };
    const CRect buttonBox = box({10, 10, 50, 30});
    if (has("frame toggle")) // with a caption the strip never shows
        return add(new Button(buttonBox, &log, 3), [&](Button& button) {
            button.setButtonPix(strip(40, 20, has("3") ? 3 : 2), has("3") ? 3 : 2);
            button.toggle = true;
            button.text = "CAPTION";
            button.textColor = kBlackCColor;
        });
    if (kind == "toggle button" || kind == "momentary button") // reports to the log
        return add(new Button(buttonBox, &log, 3), [&](Button& button) {
            givePictures(button, true);
            button.toggle = has("toggle");
        });
    if (has("owned button") || kind == "ownerless button") // a toggle that calls its owner back, tag 9
        return add(new Button(buttonBox, has("owned") ? &owner : nullptr, 9), [&](Button& button) {
            givePictures(button, true);
            button.toggle = true;
            button.disabled = has("disabled");
            button.rightClickCallback = static_cast<Button::RightClickCallback>(&EditorSpy::onRightClick);
            button.releaseClickCallback = static_cast<Button::ReleaseClickCallback>(&EditorSpy::onRelease);
        });
    if (has("push button")) // calls its owner back, tag 3; "bare": no pictures; "caption": 120 x 30, black
        return add(new PushButton(has("caption") ? box({0, 0, 120, 30}) : buttonBox, has("ownerless") ? nullptr : &owner, 3),
                   [&](PushButton& button) {
                       if (!has("without value callback"))
                           button.valueChangedCallback = static_cast<PushButton::ValueChangedCallback>(&EditorSpy::onValue);
                       button.pressedCallback = static_cast<PushButton::PressedCallback>(&EditorSpy::onPressed);
                       if (has("caption"))
                       {
                           button.setNormalPix(picture(120, 30, kBlackCColor));
                           button.setPressedPix(picture(120, 30, kBlackCColor));
                           button.text = "OFF";
                           button.activeText = "ONNNNNNN"; // wider, so its ink reaches further right
                       }
                       else if (!has("bare"))
                           givePictures(button, !has("without active picture"));
                       button.toggle = has("toggle") || has("keeping") || has("caption");
                       button.keepStateOnUp = has("keeping");
                       button.disabled = has("disabled");
                       button.locked = has("locked");
                       button.dimmed = has("dimmed");
                   });

    // Switches and spin boxes
    if (has("horizontal switch")) // 90 x 20 at (100, 10), three positions
        return add(new Switch2(box({100, 10, 190, 30}), &log, 32, 3, Switch2::kHorizontal));
    if (kind == "vertical switch") // 20 x 90 at (100, 10), three positions
        return add(new Switch2(box({100, 10, 120, 100}), &log, 32, 3, Switch2::kVertical));
    if (kind == "strip switch") // 30 x 40 at (0, 0), two positions shown by a strip
        return add(new Switch2(box({0, 0, 30, 40}), &log, 14, 2, Switch2::kVertical),
                   [&](Switch2& control) { control.setStrip(strip(30, 40, 2)); });
    if (has("handle switch")) // 20 x 30 at (10, 10), three positions, a blue handle 10 high unless "no"
        return add(new Switch(box({10, 10, 30, 40}), &log, 4, nullptr, has("no") ? nullptr : picture(20, 10, kBlueCColor), 3));
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
            spin.setUpPix(has("pictured") ? picture(8, 8, kGreenCColor) : nullptr);
            spin.setDownPix(has("pictured") ? picture(8, 8, kBlueCColor) : nullptr);
        });
    }

    // Lists, the menu, the keyboard
    if (has("list")) // 100 x 20 at (10, 10), rows of 20 pixels, items "Item i" with ids 100 + i
        return add(new DropDown2(box({10, 10, 110, 30}), &log, 5), [&](DropDown2& list) {
            for (int i = 0; i < (std::sscanf(kind.c_str(), "%d-item", &last) == 1 ? last : 4); ++i)
                list.addItem("Item " + std::to_string(i), 100 + i);
        });
    if (kind == "menu") // 100 x 80 at (100, 50), rows of 20 pixels
    {
        folder.writeBands("checkmark.png", 12, 12, {kGreenCColor});
        return add(new Menu(box({100, 50, 200, 130}), &owner), [](Menu& menu) {
            for (const char* name : {"Lines", "Dots", "Bars"})
                menu.addItem(name);
        });
    }
    if (has("keyboard")) // 350 x 40 at (0, 0): white keys 10 x 40, white and red; black 6 x 25, black and blue
    {
        folder.writeBands("white.png", 10, 80, {kWhiteCColor, kRedCColor});
        folder.writeBands("black.png", 6, 50, {kBlackCColor, kBlueCColor});
        const bool pictures = !has("without pictures");
        return add(new Keyboard(box({0, 0, 350, 40}), &log, 0, &owner, pictures ? load("white.png") : nullptr,
                                pictures ? load("black.png") : nullptr),
                   [&](Keyboard& keyboard) { keyboard.baseNote = has("high") ? 120 : 36; });
    }

    // Views that show without taking values
    if (has("label")) // 60 x 20 at (0, 0), green with black text
        return add(new LeftLabel(box({0, 0, 60, 20}), has("tag") ? "Tag" : ""), [](LeftLabel& label) {
            label.fillColor = kGreenCColor;
            label.fontColor = kBlackCColor;
        });
    // "display: TEXT" shows TEXT, 200 x 40 at (0, 0); "red display: TEXT" in bold red at alpha 0.8
    EXPECT_TRUE(has("display")) << "unknown kind " << kind;
    return add(new SimpleDisplay(box({0, 0, 200, 40}), nullptr), [&](SimpleDisplay& display) {
        if (has("red"))
        {
            display.textColor = kRedCColor;
            display.font = hold(new CFontDesc("Tahoma", 20, kBoldFace));
            display.setAlphaValue(0.8f);
        }
        display.setText(kind.substr(std::min(kind.find(':') + 2, kind.size())));
    });
}

void Scene::play(CView* view, const std::string& script)
{
    std::istringstream steps(script);
    for (std::string step; std::getline(steps, step, ';');)
    {
        std::istringstream words(step);
        std::string verb, word;
        words >> verb;
        if (verb == "say" && words >> word)
        {
            log.note(word);
            continue;
        }
        std::vector<double> n;
        int32 buttons = kLButton, modifiers = 0;
        bool sideways = false;
        while (words >> word)
        {
            char* end = nullptr;
            const double number = std::strtod(word.c_str(), &end);
            if (*end == 0)
                n.push_back(number);
            else if (word == "sideways")
                sideways = true;
            else if (word == "ctrl" || word == "shift" || word == "double")
                modifiers |= word == "ctrl" ? kControl : word == "shift" ? kShift : kDoubleClick;
            else if (word == "none" || word == "right" || word == "middle" || word == "both")
                buttons = word == "none" ? 0 : word == "right" ? kRButton : word == "middle" ? kMButton : kLButton | kRButton;
            else
                ADD_FAILURE() << "unknown word " << word;
        }
        const int32 state = buttons | modifiers;
        auto down = [&](CCoord x, CCoord y, int32 pressed) {
            if (press(x, y, pressed) == kMouseEventNotHandled)
                log.note("declined");
        };
        auto up = [&](CCoord x, CCoord y, int32 released) {
            frame->platformOnMouseUp(CPoint(x, y), CButtonState(released));
        };
        if (verb == "press")
            down(n.at(0), n.at(1), state);
        else if (verb == "release")
            up(n.at(0), n.at(1), state);
        else if (verb == "click")
        {
            down(n.at(0), n.at(1), state);
            up(n.at(0), n.at(1), state);
        }
        else if (verb == "move")
            frame->platformOnMouseMoved(CPoint(n.at(0), n.at(1)), CButtonState(state));
        else if (verb == "drag")
        {
            down(n.at(0), n.at(1), state & ~kShift);
            const CCoord direction = n.at(2) > n.at(1) ? 1 : -1;
            for (CCoord y = n.at(1) + direction; y * direction <= n.at(2) * direction; y += direction)
                frame->platformOnMouseMoved(CPoint(n.at(0), y), CButtonState(state));
            up(n.at(0), n.at(2), state & ~kShift);
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
        else if (verb == "value")
            log.note("=" + shortNumber(valueOf(view)));
        else if (verb == "seen")
            log.note(view->isVisible() ? "shown" : "hidden");
        else if (verb == "draw")
            renderView(*view);
        else if (verb == "shows")
        {
            const CRect& size = view->getViewSize();
            const CColor atOne = renderView(*view).getPixel(int(size.getWidth() / 2), int(size.getHeight() / 2));
            const CColor atTwo = renderView(*view, 2).getPixel(int(size.getWidth()), int(size.getHeight()));
            const std::vector<std::pair<CColor, const char*>> names{
                {kNormal, "normal"}, {kHover, "hover"}, {kPressed, "pressed"}, {kActive, "active"}, {{0, 0, 0, 0}, "nothing"}};
            std::string shown = frameIndexOf(atOne) >= 0 ? "frame " + std::to_string(frameIndexOf(atOne)) : "?";
            for (const auto& [colour, name] : names)
                shown = atOne == colour ? name : shown;
            log.note(atOne == atTwo ? shown : "?");
        }
        else if (verb == "look")
        {
            if (!frame->takeDirtyRect().isEmpty())
                log.note("redraw");
        }
        else
            ADD_FAILURE() << "unknown step " << step;
    }
}

void playCases(const std::vector<Case>& cases)
{
    for (const Case& each : cases)
    {
        SCOPED_TRACE(std::string(each.kind) + ": " + each.script);
        Scene scene;
        CView* view = scene.make(each.kind);
        scene.play(view, each.script);
        const std::string told = scene.log.told();
        const std::string& story = each.story;
        if (story.rfind("...", 0) == 0)
            EXPECT_TRUE(told.size() >= story.size() - 3 && told.substr(told.size() - (story.size() - 3)) == story.substr(3))
                << "told: " << told;
        else
            EXPECT_EQ(told, story);
        if (!std::isnan(each.value))
            EXPECT_NEAR(valueOf(view), each.value, 1e-6);
    }
}

} // namespace WidgetTest
