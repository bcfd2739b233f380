// A picture in up to three scales (1x, 1.5x, 2x) from the bundle's resource folder, so that
// the toolkit draws the sharpest one for the frame's zoom. Only the files' headers are read
// here: each scale is decoded when drawn, as far down as it is drawn. UI thread only.
#pragma once

#include "vstgui.h"
#include <string>

class MyBitmap : public VSTGUI::CBitmap
{
public:
    // Loads the 1x picture; a missing file gives a bitmap that draws nothing.
    explicit MyBitmap(const VSTGUI::CResourceDescription& description);

    // Adds a larger picture; its scale is its width over the 1x width. False, adding nothing,
    // when the file does not load, the 1x picture did not load, or the sizes disagree.
    bool addScaledBitmap(const char* name);

    // The layouts' picture `base`: base.png, base_x1.5.png, base_x2.png. Caller owns it.
    static MyBitmap* fromLayout(const std::string& base);
    // The settings overlay's picture `base`: base.png, base_1.5x.png, base_2x.png.
    static MyBitmap* fromOverlay(const std::string& base);
};
