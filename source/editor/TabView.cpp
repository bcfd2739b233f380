#include "TabView.h"

#include "EditorFonts.h"
#include "Vextoria3Editor.h"

using namespace VSTGUI;

namespace {
constexpr int32 kSelectedTabSetting = 6; // HiddenParamIndex of the selected FX tab
}

TabView::TabView(const CRect& size, Vextoria3Editor* owner) : CViewContainer(size), editor(owner) {}

void TabView::addTab(CViewContainer* page, const std::string& name, bool hasRandomToggle)
{
    const auto n = double(tabs.size());
    const CCoord left = n >= 1 ? n * (tabWidth - 2) : 0;
    const CCoord top = CCoord(int32(getHeight() - tabHeight));
    auto* tab = new TabButton(CRect(left, top, left + tabWidth, top + tabHeight), this, int32(tabs.size()));
    tab->hasRandomToggle = hasRandomToggle;
    tab->setDirty(true);
    tab->font = editorFont(9);
    tab->label = name;
    tab->tabColor = CColor(176, 176, 176, 255);
    addView(tab);
    addView(page);
    tabs.push_back(tab);
    pages.push_back(page);
}

void TabView::selectTab(int index)
{
    if (index < 0 || index >= int(tabs.size()) || index == selectedTab)
        return;
    for (size_t k = 0; k < tabs.size(); ++k)
    {
        const bool shown = int(k) == index;
        tabs[k]->setValue(shown ? 1.f : 0.f);
        if (k < pages.size())
            pages[k]->setVisible(shown);
    }
    selectedTab = index;
}

void TabView::setRandomFlags(const float* flags)
{
    for (int i = 0; i < kFlagCount && i < int(tabs.size()); ++i)
        tabs[size_t(i)]->randomFlag = flags[i] >= 0.5f;
    setDirty(true);
}

void TabView::chooseTab(int index)
{
    if (index < 0 || index >= int(tabs.size()))
        return;
    selectTab(index);
    if (editor)
        editor->getWrapper()->setHiddenParameter(kSelectedTabSetting, index * 0.25);
}

void TabView::valueChanged(CControl* control)
{
    const int32 tag = control->getTag();
    const float value = control->getValue();
    if (value == 1.f)
        chooseTab(tag);
    else if (value == TabButton::kFlagChanged)
    {
        float flags[kFlagCount] = {};
        for (int i = 0; i < kFlagCount && i < int(tabs.size()); ++i)
            flags[i] = tabs[size_t(i)]->randomFlag ? 1.f : 0.f;
        // Without all four tabs there is no whole set of flags to send.
        if (editor && tabs.size() >= size_t(kFlagCount))
            editor->sendRandomFlags(flags);
    }
    invalid();
}
