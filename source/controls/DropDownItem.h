// One entry of a drop-down list: the text shown and the owner's id for it.
#pragma once

#include <string>

struct DropDownItem
{
    std::string name;
    int id = 0;
};
