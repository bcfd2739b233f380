#pragma once

#include "Picture.h"

#include <vector>

namespace artwork {

std::vector<Picture> rackPictures();    // the RACK layout, "vxp_" names
std::vector<Picture> legacyPictures();  // the LEGACY layout
std::vector<Picture> overlayPictures(); // settings overlay and menus, both layouts

// Panel backgrounds, each with the labels of its controls.
Picture rackBackground();
Picture legacyBackground();

} // namespace artwork
