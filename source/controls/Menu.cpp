#include "Menu.h"

#include "FilmStrip.h"
#include "MouseGesture.h"
#include "editor/Vextoria3Editor.h"
#include <cmath>

using namespace VSTGUI;

namespace {

const CColor kShadow(0, 0, 0, 128);
const CColor kPanel(64, 64, 72, 176);
const CColor kOutline(0, 0, 0, 255);
const CColor kHighlight(0, 143, 214, 254);

} // namespace

Menu::Menu(const CRect& size, Vextoria3Editor* menuOwner)
    : CView(size), checkmark(new CBitmap(CResourceDescription("checkmark.png"))),
      timer(new CVSTGUITimer(this, 100, false)), owner(menuOwner)
{
}

Menu::Menu(const Menu& other)
    : CView(other), itemCount(other.itemCount), hoveredItem(other.hoveredItem), hoverActive(other.hoverActive),
      rowHeight(other.rowHeight), title(other.title), items(other.items), checkmark(other.checkmark),
      font(other.font), textColor(other.textColor), timer(new CVSTGUITimer(this, 100, false)), owner(other.owner)
{
    FilmStrip::share(checkmark);
}

Menu::~Menu()
{
    timer->stop();
    timer->forget();
    FilmStrip::release(checkmark);
}

bool Menu::addItem(const MenuItem& item)
{
    items.push_back(item);
    itemCount = int32(items.size());
    return true;
}

bool Menu::addItem(std::string name) { return addItem(MenuItem(std::move(name), false)); }

MenuItem* Menu::getItem(int index)
{
    // Compared unsigned, so a negative index is out of range too.
    if (size_t(unsigned(index)) < items.size())
        return &items[size_t(index)];
    outOfRange = MenuItem("Out Of Range", false);
    return &outOfRange;
}

void Menu::setVisible(bool state)
{
    hoveredItem = 0;
    // A hide pending from an earlier showing must not close the menu the owner opens again.
    timer->stop();
    CView::setVisible(state);
}

void Menu::removed(CViewContainer* oldParent)
{
    // A hide must never fire on a menu that is no longer shown anywhere.
    timer->stop();
    CView::removed(oldParent);
}

CMessageResult Menu::notify(CBaseObject* sender, IdStringPtr message)
{
    if (message == kMsgTimer && sender == timer)
    {
        setVisible(false);
        timer->stop();
    }
    return kMessageUnknown;
}

CMouseEventResult Menu::onMouseMoved(CPoint& where, const CButtonState&)
{
    if (rowHeight > 0)
    {
        const int32 row = int32(where.y - size.top) / rowHeight;
        hoveredItem = row < itemCount ? row : itemCount - 1;
    }
    invalid();
    hoverActive = true;
    return kMouseEventHandled;
}

CMouseEventResult Menu::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (MouseGesture::isLeftAlone(buttons))
    {
        if (owner)
            owner->processContextMenu(this);
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult Menu::onMouseUp(CPoint&, const CButtonState& buttons)
{
    if (MouseGesture::isLeftAlone(buttons))
        invalid();
    return kMouseEventHandled;
}

CMouseEventResult Menu::onMouseEntered(CPoint&, const CButtonState&)
{
    timer->stop();
    return kMouseEventHandled;
}

CMouseEventResult Menu::onMouseExited(CPoint&, const CButtonState&)
{
    timer->setFireTime(kHideDelay);
    timer->start();
    return kMouseEventHandled;
}

void Menu::draw(CDrawContext* context)
{
    const CCoord left = std::trunc(size.left);
    const CCoord top = std::trunc(size.top);
    const CCoord right = std::trunc(size.right);
    const CRect panel(left + 1, top + 1, right - 1, top + CCoord(itemCount) * rowHeight + 3);
    CGraphicsPath* path = context->createRoundRectGraphicsPath(panel, 4);
    context->setDrawMode(kAntiAliasing);
    // A dark layer under the tinted one keeps the panel readable over bright pictures.
    for (const CColor& fill : {kShadow, kPanel})
    {
        context->setFillColor(fill);
        context->drawGraphicsPath(path, CDrawContext::kPathFilled);
    }
    context->setFrameColor(kOutline);
    context->drawGraphicsPath(path, CDrawContext::kPathStroked);
    path->forget();
    if (hoverActive && itemCount != 0)
    {
        const CCoord rowTop = top + CCoord(hoveredItem) * rowHeight + 2;
        context->setFillColor(kHighlight);
        context->drawRect(CRect(left + 2, rowTop, right - 2, rowTop + rowHeight), kDrawFilled);
    }
    drawRows(context, left, top, right);
    setDirty(false);
}

void Menu::drawRows(CDrawContext* context, CCoord left, CCoord top, CCoord right)
{
    context->setFontColor(textColor);
    context->setFont(font);
    for (size_t i = 0; i < items.size(); ++i)
    {
        const CCoord rowTop = top + CCoord(i) * rowHeight;
        context->drawString(items[i].name.c_str(), CRect(left + 20, rowTop + 2, right - 2, rowTop + 2 + rowHeight),
                            kLeftText, true);
        if (items[i].checked)
            checkmark->draw(context, CRect(left + 4, rowTop + 4, left + 16, rowTop + 16), CPoint(0, 0), 1.f);
    }
}
