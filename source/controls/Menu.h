// The editor's pop-up list: a translucent rounded panel of text rows with a checkmark beside
// checked rows and a highlight under the pointer. A left click hands the menu back to the
// editor, which reads hoveredItem as the choice; leaving the menu hides it 300 ms later
// unless the pointer comes back.
#pragma once

#include "MenuItem.h"
#include "vstgui.h"
#include <string>
#include <vector>

class Vextoria3Editor;

class Menu : public VSTGUI::CView
{
public:
    static constexpr VSTGUI::uint32 kHideDelay = 300; // ms after the pointer leaves

    Menu(const VSTGUI::CRect& size, Vextoria3Editor* owner);
    Menu(const Menu& other);
    ~Menu() override;

    // Append a row; always succeed.
    bool addItem(const MenuItem& item);
    bool addItem(std::string name);
    // The row at `index`, or a placeholder "Out Of Range" row that is not one of the menu's.
    MenuItem* getItem(int index);
    // Shown again, the menu highlights its first row until the pointer moves; a pending hide
    // is dropped.
    void setVisible(bool state) override;

    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;
    VSTGUI::CView* newCopy() const override { return new Menu(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    void removed(VSTGUI::CViewContainer* oldParent) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

    VSTGUI::int32 itemCount = 0;   // always items.size()
    VSTGUI::int32 hoveredItem = 0; // row under the pointer: the owner's choice
    bool hoverActive = false;      // the pointer has moved over the menu at least once
    VSTGUI::int32 rowHeight = 20;  // pixels
    std::string title;             // the owner's name for the menu; not drawn
    std::vector<MenuItem> items;
    VSTGUI::CBitmap* checkmark;    // owned reference
    VSTGUI::CFontRef font = VSTGUI::kNormalFont;
    VSTGUI::CColor textColor{0, 143, 214, 254};
    VSTGUI::CVSTGUITimer* timer;   // hides the menu after the pointer left; owned
    Vextoria3Editor* owner;        // not owned

private:
    void drawRows(VSTGUI::CDrawContext* context, VSTGUI::CCoord left, VSTGUI::CCoord top, VSTGUI::CCoord right);

    MenuItem outOfRange{"Out Of Range", false};
};
