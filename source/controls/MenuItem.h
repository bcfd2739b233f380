// One row of a pop-up menu.
#pragma once

#include <string>
#include <utility>

struct MenuItem
{
    MenuItem(std::string itemName, bool isChecked) : name(std::move(itemName)), checked(isChecked) {}

    std::string name; // text of the row
    bool checked;     // the row shows the checkmark
};
