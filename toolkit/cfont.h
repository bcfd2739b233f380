// Font descriptions: family name, size in pixels and style; text is laid out by pango.
#pragma once

#include "vstguibase.h"
#include <string>

typedef struct _PangoFontDescription PangoFontDescription;

namespace VSTGUI {

enum CTxtFace : int32
{
    kNormalFace = 0,
    kBoldFace = 1 << 1,
    kItalicFace = 1 << 2,
};

// A font description. Families that the system does not have (for example "Tahoma") fall back
// to what fontconfig offers. The pango description is made on first use and kept until the
// name, size or style changes.
class CFontDesc : public CBaseObject
{
public:
    explicit CFontDesc(UTF8StringPtr name = "", CCoord size = 0, int32 style = kNormalFace);
    ~CFontDesc() override;
    CFontDesc(const CFontDesc&) = delete;
    CFontDesc& operator=(const CFontDesc&) = delete;

    const std::string& getName() const { return name; }
    CCoord getSize() const { return size; }
    int32 getStyle() const { return style; }
    void setName(UTF8StringPtr newName);
    void setSize(CCoord newSize);
    void setStyle(int32 newStyle);

    // The pango description for this font (owned by the font).
    const PangoFontDescription* getPlatformFont() const;

private:
    void dropPlatformFont();

    std::string name;
    CCoord size; // pixels
    int32 style; // CTxtFace bits
    mutable PangoFontDescription* platformFont = nullptr;
};

using CFontRef = CFontDesc*;

// Stock fonts; they live as long as the library.
extern const CFontRef kSystemFont;
extern const CFontRef kNormalFontVeryBig;
extern const CFontRef kNormalFontBig;
extern const CFontRef kNormalFont;
extern const CFontRef kNormalFontSmall;

} // namespace VSTGUI
