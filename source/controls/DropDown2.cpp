#include "DropDown2.h"

#include <algorithm>
#include <cmath>

using namespace VSTGUI;

DropDown2::DropDown2(const CRect& size, IControlListener* listener, int32 tag) : UnfoldingList(size, listener, tag) {}

DropDown2::DropDown2(const DropDown2& other) : UnfoldingList(other), placeholder(other.placeholder)
{
    for (const auto& item : other.items)
        items.push_back(std::make_unique<DropDownItem>(*item));
}

void DropDown2::addItem(const std::string& name, int id)
{
    items.push_back(std::make_unique<DropDownItem>(DropDownItem{name, id}));
    count = int32(items.size());
}

void DropDown2::removeAllItem()
{
    items.clear();
    selected = 0;
    count = 0;
}

DropDownItem* DropDown2::getItem(int index) const
{
    return index >= 0 && index < count ? items[size_t(index)].get() : nullptr;
}

std::string DropDown2::getItemName(int index) const
{
    const DropDownItem* item = getItem(index);
    return item ? item->name : std::string();
}

template <typename Match>
void DropDown2::selectFirst(Match matches)
{
    auto found = std::find_if(items.begin(), items.end(), [&](const auto& item) { return matches(*item); });
    if (found == items.end())
        return;
    const auto index = float(found - items.begin());
    setValue(count > 1 ? index / float(count - 1) : 0.f);
}

void DropDown2::setValueByName(const std::string& name)
{
    selectFirst([&](const DropDownItem& item) { return item.name == name; });
}

void DropDown2::setValueById(int id)
{
    selectFirst([&](const DropDownItem& item) { return item.id == id; });
}

void DropDown2::setValue(float newValue)
{
    if (count == 0 || std::isnan(newValue))
        return;
    const float scaled = float(count - 1) * newValue;
    selected = scaled <= 0.f ? 0 : std::min(int32(std::min(scaled, float(count))), count - 1);
    setDirty(true);
}
