// What the drop-down lists share: a one-row header that unfolds the control's own view
// downwards by one row per item, rows lit under the pointer, a click that picks a row and
// folds the list, and wheel steps through the items while folded. `List` supplies
// itemName(index) and emptyHeader().
#pragma once

#include "MouseGesture.h"
#include "vstgui.h"
#include <algorithm>
#include <string>

template <typename List>
class UnfoldingList : public VSTGUI::CControl
{
public:
    UnfoldingList(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag)
        : CControl(size, listener, tag), rowHeight(VSTGUI::int32(size.getHeight()))
    {
    }

    // The next draw first clears the view.
    void clear()
    {
        clearPending = true;
        invalid();
    }

    // Closes the list and picks the row at `y` pixels below the view's top: row 0 is the
    // header and picks nothing.
    void fold(int y)
    {
        clear();
        const VSTGUI::CRect header(size.left, size.top, size.right, size.top + rowHeight);
        setViewSize(header, true);
        setMouseableArea(header);
        const int row = y / std::max(rowHeight, 1);
        if (row >= 1 && count > 0)
            pick(std::min(row - 1, count - 1));
        open = false;
        hovered = 0;
        invalid();
    }

    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState&) override
    {
        if (open)
        {
            fold(int(where.y - size.top));
            return VSTGUI::kMouseEventHandled;
        }
        rowHeight = VSTGUI::int32(getHeight());
        if (rowHeight < 1)
            return VSTGUI::kMouseEventHandled; // no room for a row: nothing to unfold
        VSTGUI::CRect unfolded = size;
        unfolded.bottom = size.top + double(rowHeight) * (count + 1);
        setViewSize(unfolded, true);
        setMouseableArea(unfolded);
        open = true;
        invalid();
        return VSTGUI::kMouseEventHandled;
    }

    // The pointer arrives already in layout pixels (the frame undoes the zoom), so the row
    // under it is found without scaling.
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState&) override
    {
        if (!open)
            return VSTGUI::kMouseEventHandled;
        hovered = VSTGUI::int32(where.y - size.top) / std::max(rowHeight, 1);
        if (hovered != lastHovered)
            invalid();
        lastHovered = hovered;
        return VSTGUI::kMouseEventHandled;
    }

    bool onWheel(const VSTGUI::CPoint&, const VSTGUI::CMouseWheelAxis& axis, const float& distance,
                 const VSTGUI::CButtonState&) override
    {
        if (axis != VSTGUI::kMouseWheelAxisY)
            return false;
        if (open || count == 0)
            return true;
        // Wheel up moves towards the first item.
        const int index = std::clamp(selected - MouseGesture::wheelStep(distance), 0, count - 1);
        if (index != selected)
        {
            pick(index);
            invalid();
        }
        return true;
    }

    void draw(VSTGUI::CDrawContext* context) override;

    VSTGUI::int32 selected = 0;         // index of the selected item
    VSTGUI::int32 count = 0;            // number of items
    bool open = false;                  // unfolded
    VSTGUI::int32 rowHeight;            // pixels per row
    VSTGUI::int32 hovered = 0;          // row under the pointer: 0 header, k item k - 1
    VSTGUI::int32 lastHovered = 0;
    VSTGUI::CFontRef font = VSTGUI::kNormalFontBig;
    VSTGUI::CColor headerColor{0, 0, 0, 128};
    VSTGUI::CColor frameColor{127, 127, 127, 255};
    VSTGUI::CColor textColor{255, 166, 0, 255};
    VSTGUI::CColor arrowColor{255, 255, 255, 255};
    bool clearPending = false;
    VSTGUI::int32 rowAlpha = 176;       // alpha of the item rows' fill

protected:
    // Selects item `index` and tells the listener its value.
    void pick(int index)
    {
        selected = index;
        value = count > 1 ? float(index) / float(count - 1) : 0.f;
        valueChanged();
    }
    const List& list() const { return static_cast<const List&>(*this); }

private:
    void drawRoundRect(VSTGUI::CDrawContext* context, const VSTGUI::CRect& rect, VSTGUI::CDrawContext::PathDrawMode mode)
    {
        VSTGUI::CGraphicsPath* path = context->createRoundRectGraphicsPath(rect, 3);
        context->drawGraphicsPath(path, mode);
        path->forget();
    }
    void drawRowText(VSTGUI::CDrawContext* context, const std::string& name, VSTGUI::CRect rect)
    {
        rect.offset(4, 0);
        context->drawString(name.c_str(), rect, VSTGUI::kLeftText, true);
    }
};

template <typename List>
void UnfoldingList<List>::draw(VSTGUI::CDrawContext* context)
{
    using namespace VSTGUI;
    const CCoord left = int32(size.left);
    const CCoord top = int32(size.top);
    const CCoord width = getWidth();
    const CCoord rh = rowHeight;
    const CCoord halfRow = rowHeight / 2; // whole pixels
    context->setDrawMode(kAntiAliasing);
    if (clearPending)
    {
        context->setFillColor(CColor(255, 255, 255, 0));
        context->drawRect(size, kDrawFilled);
        clearPending = false;
    }
    headerColor.alpha = open ? 191 : 255;
    context->setFillColor(headerColor);
    drawRoundRect(context, size, CDrawContext::kPathFilled);
    context->setFont(font);

    const CRect header(left, top, left + width, top + rh);
    context->setFrameColor(frameColor);
    context->setLineWidth(open ? 1 : 2);
    drawRoundRect(context, header, CDrawContext::kPathStroked);
    context->setFontColor(textColor);
    drawRowText(context, count == 0 ? list().emptyHeader() : list().itemName(selected), header);

    if (open)
    {
        for (int32 row = 1; row <= count; ++row)
        {
            const CCoord extra = row < count ? 1 : 0;
            const CRect rect(left, top + rh * row, left + width, top + rh * (row + 1) + extra);
            context->setFillColor(hovered == row ? CColor(0, 170, 255, 192) : CColor(80, 80, 92, uint8_t(std::clamp(rowAlpha, 0, 255))));
            context->drawRect(rect, kDrawFilled);
            context->setFrameColor(CColor(127, 127, 127, 255));
            context->drawRect(rect, kDrawStroked);
            context->setFontColor(textColor);
            drawRowText(context, list().itemName(row - 1), rect);
        }
    }

    context->setFillColor(arrowColor);
    context->drawPolygon({CPoint(left + width - 15, top + halfRow + 1), CPoint(left + width - 9, top + rh - 3),
                          CPoint(left + width - 3, top + halfRow + 1)},
                         kDrawFilled);
    setDirty(false);
}
