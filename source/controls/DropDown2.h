// The drop-down list that unfolds in place; its value is the selected index scaled to 0..1.
#pragma once

#include "DropDownItem.h"
#include "UnfoldingList.h"
#include <memory>
#include <vector>

class DropDown2 : public UnfoldingList<DropDown2>
{
public:
    DropDown2(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag);
    // The copy has items of its own with the same names and ids.
    DropDown2(const DropDown2& other);

    void addItem(const std::string& name, int id);
    void removeAllItem();
    // Null when the list is empty or `index` is out of range.
    DropDownItem* getCurrentItem() const { return getItem(selected); }
    DropDownItem* getItem(int index) const;
    // "" out of range.
    std::string getItemName(int index) const;
    // Select the first item with that name or id; nothing when none matches.
    void setValueByName(const std::string& name);
    void setValueById(int id);

    // Moves only the selection (kept within the list); the stored value and the listener are
    // left alone.
    void setValue(float newValue) override;
    VSTGUI::CView* newCopy() const override { return new DropDown2(*this); }

    std::string itemName(int index) const { return getItemName(index); }
    std::string emptyHeader() const { return placeholder; }

    std::vector<std::unique_ptr<DropDownItem>> items; // in insertion order
    std::string placeholder = "Empty";                // header text of an empty list

private:
    template <typename Match>
    void selectFirst(Match matches);
};
