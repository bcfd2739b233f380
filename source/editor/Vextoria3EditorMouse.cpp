// The editor as the frame's mouse observer: right clicks open the scope-style, trigger-mode
// and effect menus, left clicks close them and the FX panel, and a menu's pick sets its
// setting. UI thread only.
#include "Vextoria3Editor.h"

#include "FxView.h"
#include "Oscilloscope.h"
#include "TabView.h"
#include "controls/Knob.h"
#include "controls/Menu.h"
#include "controls/MouseGesture.h"
#include <algorithm>
#include <initializer_list>

using namespace VSTGUI;

namespace {

// What a context menu shows and where it goes when there is no room below the press.
struct MenuRows
{
    const char* title;
    std::initializer_list<const char*> names;
    bool flipsUp; // true: opens upwards at the bottom edge; false: moved up just enough
};
// By ContextMenu.
const MenuRows kMenuRows[] = {
    {"OscMode", {"SquaryScope", "Waveform", "Smoothy"}, false},
    {"Trig Mode", {"Auto Mode", "Midi Slice"}, true},
    {"FX Select", {"Reverb", "Bit Crusher", "HP Filter", "Pitch FX", "Random"}, true},
};
constexpr CCoord kMenuWidth = 100;
constexpr CCoord kRowHeight = 20;
constexpr CCoord kMenuMargin = 8;
const CColor kRowTextColor(220, 220, 220, 255);
constexpr int kScopeStyle = 2; // hidden settings
constexpr int kEditFx = 5;
constexpr int kTrigMode = 14; // parameters
constexpr int kFxSelect = 16;
constexpr int kFxAmtKnob = 2;       // mainKnobs index of tag 3
constexpr int kRandomEffect = 4;    // the FX Select row that picks per slice
constexpr CCoord kCloseSquare = 10; // the FX panel's close square at the scope's top-right

bool showing(const CView* view) { return view && view->isShowing(); }

// The toolkit's hit test of `view`, with `where` in frame coordinates.
bool hits(CView* view, const CPoint& where)
{
    CViewContainer* parent = view ? view->getParentView() : nullptr;
    return parent && view->hitTest(parent->frameToLocal(where));
}

// The menu's rectangle for a press at `where` in a window of `width` x `height`: inside it,
// flipped up or moved up at the bottom edge.
CRect menuPlace(const MenuRows& rows, const CPoint& where, CCoord width, CCoord height)
{
    const CCoord menuHeight = CCoord(rows.names.size()) * kRowHeight + kMenuMargin;
    CCoord top = where.y;
    if (top + menuHeight > height)
        top = rows.flipsUp ? top - menuHeight : height - menuHeight;
    const CCoord left = std::max(std::min(where.x, width - kMenuWidth), CCoord(0));
    top = std::max(top, CCoord(0));
    return CRect(left, top, left + kMenuWidth, top + menuHeight);
}

} // namespace

CMouseEventResult Vextoria3Editor::onMouseDown(CFrame*, const CPoint& where, const CButtonState& buttons)
{
    if (!windowOpen)
        return kMouseEventHandled;
    // The settings overlay covers the scope, the toast and the knobs: a press there is the
    // overlay's alone.
    if (showing(settingsView))
        return kMouseEventNotHandled;
    if (MouseGesture::isLeftAlone(buttons))
        leftPress(where);
    else if (MouseGesture::isRightAlone(buttons))
        rightPress(where);
    return kMouseEventNotHandled;
}

void Vextoria3Editor::leftPress(const CPoint& where)
{
    hideMenus(&where);
    if (!scopeView || !showing(fxPanel))
        return;
    const CRect scope = scopeView->getViewSize();
    const CPoint corner = scopeView->getParentView()->frameToLocal(where);
    if (corner.x >= scope.right - kCloseSquare && corner.x < scope.right && corner.y >= scope.top &&
        corner.y < scope.top + kCloseSquare)
        wrapper->setHiddenParameter(kEditFx, 0.0);
}

void Vextoria3Editor::rightPress(const CPoint& where)
{
    hideMenus(nullptr);
    if (hits(scopeView, where) && int(wrapper->getParameter(kTrigMode)) == 0 && !showing(fxPanel))
        openMenu(kOscModeMenu, where, int(wrapper->getHiddenParameter(kScopeStyle) * 2.0));
    if (hits(toastButton, where))
        openMenu(kTrigModeMenu, where, int(wrapper->getParameter(kTrigMode)));
    if (hits(mainKnobs[kFxAmtKnob], where))
        openMenu(kFxSelectMenu, where, int(wrapper->getParameter(kFxSelect) * 4.0));
}

void Vextoria3Editor::hideMenus(const CPoint* where)
{
    for (Menu* menu : {oscModeMenu, trigModeMenu, fxSelectMenu})
        if (showing(menu) && !(where && hits(menu, *where)))
            menu->setVisible(false);
}

void Vextoria3Editor::openMenu(ContextMenu kind, const CPoint& where, int checkedRow)
{
    const MenuRows& rows = kMenuRows[kind];
    Menu*& menu = kind == kOscModeMenu ? oscModeMenu : kind == kTrigModeMenu ? trigModeMenu : fxSelectMenu;
    const CRect place = menuPlace(rows, where, baseWidth(), baseHeight());
    if (!menu)
    {
        menu = new Menu(place, this);
        menu->title = rows.title;
        for (const char* name : rows.names)
            menu->addItem(name);
        menu->textColor = kRowTextColor;
        frame->addView(menu);
    }
    else
    {
        menu->setVisible(false);
        menu->setViewSize(place);
        menu->setVisible(true);
    }
    for (int row = 0; row < menu->itemCount; ++row)
        menu->getItem(row)->checked = row == checkedRow;
    menu->invalid();
}

void Vextoria3Editor::processContextMenu(Menu* menu)
{
    if (!menu)
        return;
    const int row = std::clamp(menu->hoveredItem, 0, std::max(menu->itemCount - 1, 0));
    if (menu == oscModeMenu)
        wrapper->setHiddenParameter(kScopeStyle, row * 0.5);
    // A pick is a whole gesture: the host hears begin, perform and end, as from a control.
    else if (menu == trigModeMenu)
        editParameter(kTrigMode, row);
    else if (menu == fxSelectMenu)
    {
        editParameter(kFxSelect, row * 0.25);
        if (row != kRandomEffect && showing(fxPanel) && fxPanel->tabView)
            fxPanel->tabView->chooseTab(row);
    }
    menu->setVisible(false);
}
