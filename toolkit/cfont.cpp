#include "cfont.h"

#include <pango/pango.h>

namespace VSTGUI {

CFontDesc::CFontDesc(UTF8StringPtr fontName, CCoord fontSize, int32 fontStyle)
    : name(fontName ? fontName : ""), size(fontSize), style(fontStyle)
{
}

CFontDesc::~CFontDesc() { dropPlatformFont(); }

void CFontDesc::setName(UTF8StringPtr newName)
{
    name = newName ? newName : "";
    dropPlatformFont();
}

void CFontDesc::setSize(CCoord newSize)
{
    if (newSize == size)
        return;
    size = newSize;
    dropPlatformFont();
}

void CFontDesc::setStyle(int32 newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    dropPlatformFont();
}

void CFontDesc::dropPlatformFont()
{
    if (platformFont)
        pango_font_description_free(platformFont);
    platformFont = nullptr;
}

const PangoFontDescription* CFontDesc::getPlatformFont() const
{
    if (platformFont)
        return platformFont;
    platformFont = pango_font_description_new();
    // Sans-serif follows the named family so that a missing family still gets a sans face.
    std::string families = name.empty() ? std::string("sans-serif") : name + ",sans-serif";
    pango_font_description_set_family(platformFont, families.c_str());
    // Sizes are pixels in the drawing's user space, independent of the screen resolution.
    double pixels = size > 0 ? size : 12;
    pango_font_description_set_absolute_size(platformFont, pixels * PANGO_SCALE);
    pango_font_description_set_weight(platformFont, (style & kBoldFace) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(platformFont, (style & kItalicFace) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return platformFont;
}

// The stock fonts live in static storage, so they go with the library when it is
// unloaded; each keeps its first reference for good, so no user can free it.
namespace {
CFontDesc systemFont("sans-serif", 12);
CFontDesc normalFontVeryBig("sans-serif", 18);
CFontDesc normalFontBig("sans-serif", 14);
CFontDesc normalFont("sans-serif", 12);
CFontDesc normalFontSmall("sans-serif", 11);
} // namespace

const CFontRef kSystemFont = &systemFont;
const CFontRef kNormalFontVeryBig = &normalFontVeryBig;
const CFontRef kNormalFontBig = &normalFontBig;
const CFontRef kNormalFont = &normalFont;
const CFontRef kNormalFontSmall = &normalFontSmall;

} // namespace VSTGUI
