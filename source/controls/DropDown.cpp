#include "DropDown.h"

#include <algorithm>

using namespace VSTGUI;

DropDown::DropDown(const CRect& size, IControlListener* listener, int32 tag) : UnfoldingList(size, listener, tag) {}

void DropDown::addItem(const std::string& name)
{
    items.push_back(name);
    count = int32(items.size());
}

std::string DropDown::getItemName(int index) const
{
    return index >= 0 && index < count ? items[size_t(index)] : std::string();
}

void DropDown::setValue(float newValue)
{
    if (count == 0 || !(newValue >= 0.f && newValue <= 1.f))
        return;
    selected = std::min(int32(float(count - 1) * newValue), count - 1);
    setDirty(true);
}
