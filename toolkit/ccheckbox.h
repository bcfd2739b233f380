// A box with a check mark and a title; a click inside toggles between the minimum and the
// maximum value, reported on release.
#pragma once

#include "ccolor.h"
#include "ccontrol.h"
#include "cfont.h"
#include <string>

namespace VSTGUI {

class CCheckBox : public CControl
{
public:
    // `bitmap`, when given, is a strip of two box pictures stacked vertically: off, then on.
    // Style 0, the only one, draws a check mark.
    CCheckBox(const CRect& size, IControlListener* listener = nullptr, int32 tag = -1, UTF8StringPtr title = nullptr,
              CBitmap* bitmap = nullptr, int32 style = 0);

    void setTitle(UTF8StringPtr newTitle);
    const std::string& getTitle() const { return title; }
    void setFont(CFontRef newFont);
    void setFontColor(const CColor& color) { fontColor = color; invalid(); }
    void setBoxFillColor(const CColor& color) { boxFillColor = color; invalid(); }
    void setBoxFrameColor(const CColor& color) { boxFrameColor = color; invalid(); }
    void setCheckMarkColor(const CColor& color) { checkMarkColor = color; invalid(); }
    bool isChecked() const { return value > (vmin + vmax) / 2; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;

private:
    CRect getBoxRect() const;
    void showToggled(bool toggled);

    std::string title;
    SharedPointer<CFontDesc> font;
    CColor fontColor = kWhiteCColor;
    CColor boxFillColor = kWhiteCColor;
    CColor boxFrameColor = kBlackCColor;
    CColor checkMarkColor = kRedCColor;
    float valueAtPress = 0;
    bool tracking = false;
};

} // namespace VSTGUI
