#include "LayoutBuilder.h"

#include "MyBitmap.h"
#include "Vextoria3Editor.h"
#include "controls/Button.h"
#include "controls/PushButton.h"

using namespace VSTGUI;

namespace {
constexpr int32 kEditFxIndex = 5; // hidden setting: the FX panel shows
}

LayoutBuilder::LayoutBuilder(Vextoria3Editor& owner) : editor(owner) {}

MyBitmap* LayoutBuilder::picture(const std::string& base)
{
    pictures.push_back(SharedPointer<MyBitmap>::adopt(MyBitmap::fromLayout(base)));
    return pictures.back().get();
}

CRect LayoutBuilder::at(CCoord left, CCoord top, const CBitmap* picture)
{
    return CRect(left, top, left + picture->getWidth(), top + picture->getHeight());
}

Button* LayoutBuilder::button(const CRect& rect, IControlListener* listener, int32 tag, const ButtonPictures& pictures,
                              bool toggle)
{
    auto* made = new Button(rect, listener, tag);
    if (pictures.strip)
        made->setButtonPix(pictures.strip, 2);
    if (pictures.normal)
        made->setNormalPix(pictures.normal);
    if (pictures.pressed)
        made->setPressedPix(pictures.pressed);
    if (pictures.active)
        made->setActivePix(pictures.active);
    made->toggle = toggle;
    return made;
}

void LayoutBuilder::addView(CView* view) { background->addView(view); }

void LayoutBuilder::registerControl(CControl* control)
{
    control->setValue(float(editor.getWrapper()->getParameter(control->getTag())));
    editor.addControl(control);
}

Button* LayoutBuilder::addLed(const CRect& rect, const ButtonPictures& pictures, int id)
{
    Button* led = button(rect, nullptr, 0, pictures, true);
    led->setMouseEnabled(false);
    led->setValue(float(editor.getWrapper()->getParameter(id)));
    background->addView(led);
    return led;
}

Button* LayoutBuilder::addEditFxButton(const CRect& rect, const ButtonPictures& pictures)
{
    Button* editFx = button(rect, editor.getHiddenListener(), kEditFxIndex, pictures, true);
    editFx->setTooltipText("EDIT FX");
    editFx->setValue(float(editor.getWrapper()->getHiddenParameter(kEditFxIndex)));
    editor.hiddenControls[kEditFxIndex] = editFx;
    background->addView(editFx);
    return editFx;
}

void LayoutBuilder::addSettingsButton(const CRect& rect, CBitmap* picture)
{
    auto* settings = new PushButton(rect, &editor, 0);
    settings->setNormalPix(picture);
    settings->setPressedPix(picture);
    settings->pressedCallback = &Vextoria3Editor::showSettings;
    editor.settingsButton = settings;
    background->addView(settings);
}
