// The FX panel's tab row and pages: shows exactly one page, reports the selection as hidden
// setting 6 (index * 0.25) and the tabs' random flags as parameters 28..31, both through the
// editor. UI thread only.
#pragma once

#include "TabButton.h"
#include "vstgui.h"
#include <string>
#include <vector>

class Vextoria3Editor;

class TabView : public VSTGUI::CViewContainer, public VSTGUI::IControlListener
{
public:
    static constexpr int kFlagCount = 4; // the random-flag operations address tabs 0..3

    // `editor` may be null: selections and flags then stay in the view.
    TabView(const VSTGUI::CRect& size, Vextoria3Editor* editor);

    // Appends a header along the bottom edge (overlapping its left neighbour by 2 pixels) and
    // its page above it; the view owns both.
    void addTab(VSTGUI::CViewContainer* page, const std::string& name, bool hasRandomToggle);
    // Shows the page of `index`; nothing for an index outside the tabs or the one shown.
    void selectTab(int index);
    // The user chose tab `index` (its header or the editor's effect menu): shows its page and
    // records it as hidden setting 6, so that the next tick keeps it.
    void chooseTab(int index);
    // Flag i is on when flags[i] >= 0.5; nobody is told.
    void setRandomFlags(const float* flags);

    void valueChanged(VSTGUI::CControl* control) override;

    double tabWidth = 64;
    double tabHeight = 20;
    std::vector<TabButton*> tabs;                 // index = tag
    std::vector<VSTGUI::CViewContainer*> pages;   // shown by the header of the same index
    VSTGUI::int32 selectedTab = -1;
    Vextoria3Editor* editor;                      // not owned
};
