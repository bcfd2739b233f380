// The older drop-down list: plain names held by value, values outside 0..1 ignored.
#pragma once

#include "UnfoldingList.h"
#include <string>
#include <vector>

class DropDown : public UnfoldingList<DropDown>
{
public:
    DropDown(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag);

    void addItem(const std::string& name);
    // "" out of range.
    std::string getItemName(int index) const;

    // Moves only the selection; ignored outside 0..1 and for an empty list.
    void setValue(float newValue) override;
    VSTGUI::CView* newCopy() const override { return new DropDown(*this); }

    std::string itemName(int index) const { return getItemName(index); }
    std::string emptyHeader() const { return "empty"; }

    std::vector<std::string> items;
};
