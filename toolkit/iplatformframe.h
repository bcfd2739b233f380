// The window behind a frame, as the frame sees it. Rectangles are in window pixels.
#pragma once

#include "crect.h"
#include <string>

namespace VSTGUI {

class IPlatformFrame
{
public:
    virtual ~IPlatformFrame() = default;
    virtual void invalidRect(const CRect& rect) = 0;
    virtual void setSize(const CRect& rect) = 0;
    virtual void showTooltip(const CRect& rect, const std::string& text) = 0;
    virtual void hideTooltip() = 0;
};

} // namespace VSTGUI
