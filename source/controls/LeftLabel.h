// A label shaped like a tag pointing right, with its text at the left.
#pragma once

#include "vstgui.h"
#include <string>

class LeftLabel : public VSTGUI::CView
{
public:
    static constexpr VSTGUI::CCoord kPointLength = 10; // pixels of the pointed end

    LeftLabel(const VSTGUI::CRect& size, const std::string& labelText);
    ~LeftLabel() override = default;

    void draw(VSTGUI::CDrawContext* context) override;

    std::string text;
    VSTGUI::CColor fillColor{255, 255, 255, 255};
    VSTGUI::CFontRef font = VSTGUI::kNormalFont;
    VSTGUI::CColor fontColor{255, 255, 255, 255};
};
