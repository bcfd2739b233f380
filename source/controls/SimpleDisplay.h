// A transparent view that shows one line of text, centred: the editor's value read-out.
// It does not answer the mouse.
#pragma once

#include "vstgui.h"
#include <string>

class SimpleDisplay : public VSTGUI::CView
{
public:
    // `control` is only stored.
    SimpleDisplay(const VSTGUI::CRect& size, VSTGUI::CControl* control);

    // Replaces the line and redraws.
    void setText(std::string newText);
    void draw(VSTGUI::CDrawContext* context) override;

    std::string text;
    VSTGUI::CColor textColor{255, 255, 255, 255};
    VSTGUI::CControl* control;       // not owned
    VSTGUI::CFontRef font = nullptr; // null keeps the context's font
};
