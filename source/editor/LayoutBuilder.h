// What building a face of the editor needs again and again: pictures held until the build
// ends, rectangles from a corner and a picture's size, picture buttons, and controls that
// start at the controller's value and go into the editor's tables. One per build; UI thread
// only.
#pragma once

#include "vstgui.h"
#include <string>
#include <vector>

class Button;
class MyBitmap;
class Vextoria3Editor;

class LayoutBuilder
{
public:
    // A button's pictures: a two-frame strip, or single pictures.
    struct ButtonPictures
    {
        VSTGUI::CBitmap* strip = nullptr;
        VSTGUI::CBitmap* normal = nullptr;
        VSTGUI::CBitmap* pressed = nullptr;
        VSTGUI::CBitmap* active = nullptr;
    };

    explicit LayoutBuilder(Vextoria3Editor& editor);
    LayoutBuilder(const LayoutBuilder&) = delete;
    LayoutBuilder& operator=(const LayoutBuilder&) = delete;
    // The builder's references to its pictures go with it; the views keep theirs.

    // A new picture `base` in the layout scheme (base.png, base_x1.5.png, base_x2.png).
    MyBitmap* picture(const std::string& base);
    // The rectangle with top-left corner (`left`, `top`) and the 1x size of `picture`.
    static VSTGUI::CRect at(VSTGUI::CCoord left, VSTGUI::CCoord top, const VSTGUI::CBitmap* picture);
    // A button with `pictures`; toggle or momentary.
    static Button* button(const VSTGUI::CRect& rect, VSTGUI::IControlListener* listener, VSTGUI::int32 tag,
                          const ButtonPictures& pictures, bool toggle);

    // Sets the control to its parameter's value (the tag) and enters it in the editor's table.
    void registerControl(VSTGUI::CControl* control);
    // The same, then adds it to the background.
    template <typename Control>
    Control* addParameterControl(Control* control)
    {
        registerControl(control);
        background->addView(control);
        return control;
    }
    // Adds a view that has no value of its own (arrows, the settings button).
    void addView(VSTGUI::CView* view);
    // A light that shows parameter `id` and takes no mouse.
    Button* addLed(const VSTGUI::CRect& rect, const ButtonPictures& pictures, int id);
    // The EDIT FX toggle: shows hidden setting 5 and reports to the editor's hidden listener.
    Button* addEditFxButton(const VSTGUI::CRect& rect, const ButtonPictures& pictures);
    // The burger button that opens the settings overlay.
    void addSettingsButton(const VSTGUI::CRect& rect, VSTGUI::CBitmap* picture);

    Vextoria3Editor& editor;
    VSTGUI::CViewContainer* background = nullptr; // where the controls go; set before any is added

private:
    std::vector<VSTGUI::SharedPointer<MyBitmap>> pictures;
};
