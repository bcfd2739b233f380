// A control that shows one line of text over its background colour or picture.
#pragma once

#include "ccolor.h"
#include "ccontrol.h"
#include "cdrawcontext.h"
#include <string>

namespace VSTGUI {

class CTextLabel : public CControl
{
public:
    explicit CTextLabel(const CRect& size, UTF8StringPtr text = nullptr, CBitmap* background = nullptr);

    void setText(UTF8StringPtr newText);
    const std::string& getText() const { return text; }
    // The font is referenced while held.
    void setFont(CFontRef newFont);
    CFontRef getFont() const { return font.get(); }
    void setFontColor(const CColor& color);
    CColor getFontColor() const { return fontColor; }
    void setBackColor(const CColor& color);
    CColor getBackColor() const { return backColor; }
    void setFrameColor(const CColor& color);
    CColor getFrameColor() const { return frameColor; }
    void setHoriAlign(CHoriTxtAlign align);
    CHoriTxtAlign getHoriAlign() const { return horiAlign; }
    // Space kept free at left and right (x) and at top and bottom (y).
    void setTextInset(const CPoint& inset);
    CPoint getTextInset() const { return textInset; }
    void setAntialias(bool state) { antialias = state; }

    void draw(CDrawContext* context) override;

private:
    std::string text;
    SharedPointer<CFontDesc> font;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CHoriTxtAlign horiAlign = kCenterText;
    CPoint textInset;
    bool antialias = true;
};

} // namespace VSTGUI
